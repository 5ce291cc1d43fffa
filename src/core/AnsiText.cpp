#include "core/AnsiText.h"

#include <algorithm>
#include <utility>

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

namespace {

// The system's mapping of every byte, read once. It is exact only for
// single-byte code pages; with a double-byte one a byte may be half of a
// character, so whole texts then go to the system as they are.
struct CaseTables {
    bool singleByte = false;
    char upper[256] = {};
    char lower[256] = {};
};

const CaseTables& Tables()
{
    static const CaseTables tables = [] {
        CaseTables t;
        CPINFO info{};
        t.singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
        for (int b = 0; b < 256; ++b) {
            char up = static_cast<char>(b), low = static_cast<char>(b);
            if (b != 0) {
                CharUpperBuffA(&up, 1);
                CharLowerBuffA(&low, 1);
            }
            t.upper[b] = up;
            t.lower[b] = low;
        }
        return t;
    }();
    return tables;
}

bool MapsPerByte()
{
    return Tables().singleByte;
}

std::string MapText(std::string text, const char (&table)[256], DWORD (WINAPI *system)(LPSTR, DWORD))
{
    if (text.empty())
        return text;
    if (Tables().singleByte) {
        for (char& c : text)
            c = table[static_cast<unsigned char>(c)];
    } else {
        system(&text[0], static_cast<DWORD>(text.size()));
    }
    return text;
}

} // namespace

std::string AnsiUpperCase(std::string text)
{
    return MapText(std::move(text), Tables().upper, CharUpperBuffA);
}

std::string AnsiLowerCase(std::string text)
{
    return MapText(std::move(text), Tables().lower, CharLowerBuffA);
}

char AnsiUpperChar(char c)
{
    return Tables().upper[static_cast<unsigned char>(c)];
}

char AnsiLowerChar(char c)
{
    return Tables().lower[static_cast<unsigned char>(c)];
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

namespace {

bool MapsPerByte()
{
    return true;
}

} // namespace

#endif

bool LowersTo(std::string_view text, std::string_view lowered)
{
    if (text.size() != lowered.size())
        return false;
    if (!MapsPerByte())
        return AnsiLowerCase(std::string(text)) == lowered;
    return std::equal(text.begin(), text.end(), lowered.begin(),
                      [](char a, char b) { return AnsiLowerChar(a) == b; });
}

bool RaisedContains(std::string_view text, std::string_view raised)
{
    if (raised.empty())
        return true;
    if (!MapsPerByte())
        return AnsiUpperCase(std::string(text)).find(raised) != std::string::npos;
    return std::search(text.begin(), text.end(), raised.begin(), raised.end(),
                       [](char a, char b) { return AnsiUpperChar(a) == b; })
        != text.end();
}

} // namespace qor
