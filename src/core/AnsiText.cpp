#include "core/AnsiText.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qor {

char AsciiUpperChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameNameAscii(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiUpperChar(x) == AsciiUpperChar(y); });
}

bool SameTextAnsi(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiUpperCase(a) == AnsiUpperCase(b);
}

#ifdef _WIN32

std::string AnsiUpperCase(std::string text)
{
    if (!text.empty())
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string AnsiLowerCase(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

char AnsiUpperChar(char c)
{
    CharUpperBuffA(&c, 1);
    return c;
}

char AnsiLowerChar(char c)
{
    CharLowerBuffA(&c, 1);
    return c;
}

char DecimalSeparator()
{
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 1)
        return buffer[0];
    return '.';
}

#else

namespace {

// Windows-1252: ASCII letters, the accented letters 0xC0-0xDE (without the
// multiplication sign 0xD7) against 0xE0-0xFE (without the division sign 0xF7),
// and the pairs S/Z caron, OE and Y diaeresis.
unsigned char UpperByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

unsigned char LowerByte(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

} // namespace

char AnsiUpperChar(char c)
{
    return static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
}

char AnsiLowerChar(char c)
{
    return static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
}

std::string AnsiUpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), AnsiUpperChar);
    return text;
}

std::string AnsiLowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), AnsiLowerChar);
    return text;
}

char DecimalSeparator()
{
    return '.';
}

#endif

} // namespace qor
