#include "core/ValueEncodings.h"

#include "core/AnsiText.h"
#include "core/ScriptError.h"

#include <cstdio>

namespace qor {

namespace {

const std::array<NamedColor, 52> kColorNames = {{
    {"clBlack", RgbColor(0, 0, 0)},
    {"clMaroon", RgbColor(128, 0, 0)},
    {"clGreen", RgbColor(0, 128, 0)},
    {"clOlive", RgbColor(128, 128, 0)},
    {"clNavy", RgbColor(0, 0, 128)},
    {"clPurple", RgbColor(128, 0, 128)},
    {"clTeal", RgbColor(0, 128, 128)},
    {"clGray", RgbColor(128, 128, 128)},
    {"clSilver", RgbColor(192, 192, 192)},
    {"clRed", RgbColor(255, 0, 0)},
    {"clLime", RgbColor(0, 255, 0)},
    {"clYellow", RgbColor(255, 255, 0)},
    {"clBlue", RgbColor(0, 0, 255)},
    {"clFuchsia", RgbColor(255, 0, 255)},
    {"clAqua", RgbColor(0, 255, 255)},
    {"clWhite", RgbColor(255, 255, 255)},
    {"clMoneyGreen", RgbColor(192, 220, 192)},
    {"clSkyBlue", RgbColor(166, 202, 240)},
    {"clCream", RgbColor(255, 251, 240)},
    {"clMedGray", RgbColor(160, 160, 164)},
    {"clActiveBorder", SystemColor(10)},
    {"clActiveCaption", SystemColor(2)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clBackground", SystemColor(1)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnHighlight", SystemColor(20)},
    {"clBtnShadow", SystemColor(16)},
    {"clBtnText", SystemColor(18)},
    {"clCaptionText", SystemColor(9)},
    {"clDefault", ColorDefault},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clGrayText", SystemColor(17)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clHotLight", SystemColor(26)},
    {"clInactiveBorder", SystemColor(11)},
    {"clInactiveCaption", SystemColor(3)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clInfoBk", SystemColor(24)},
    {"clInfoText", SystemColor(23)},
    {"clMenu", SystemColor(4)},
    {"clMenuBar", SystemColor(30)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuText", SystemColor(7)},
    {"clNone", ColorNone},
    {"clScrollBar", SystemColor(0)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clWindowText", SystemColor(8)},
}};

[[noreturn]] void ThrowInvalid(const std::string& text, const char* kind)
{
    throw ScriptError("'" + text + "' is not a valid " + kind + " value");
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

size_t SkipBlanks(const std::string& text, size_t pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return pos;
}

// Skips an optional sign; returns true for "-".
bool ReadSign(const std::string& text, size_t& pos)
{
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        return text[pos++] == '-';
    return false;
}

// Length of the hexadecimal prefix at `pos` ("$", "x", "X", "0x", "0X"), 0 if none.
size_t HexPrefixLength(const std::string& text, size_t pos)
{
    if (pos >= text.size())
        return 0;
    const char c = text[pos];
    if (c == '$' || c == 'x' || c == 'X')
        return 1;
    if (c == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X'))
        return 2;
    return 0;
}

// Hex digits from `pos` to the end; at most eight significant digits.
bool ReadHexToEnd(const std::string& text, size_t pos, uint32_t& value)
{
    if (pos >= text.size())
        return false;
    value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = HexDigitValue(text[pos]);
        if (digit < 0 || (value >> 28) != 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

// Decimal digits from `pos` to the end, value not above `limit`.
bool ReadDecimalToEnd(const std::string& text, size_t pos, uint32_t limit, uint32_t& value)
{
    if (pos >= text.size())
        return false;
    uint64_t sum = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos]))
            return false;
        sum = sum * 10 + static_cast<uint64_t>(text[pos] - '0');
        if (sum > limit)
            return false;
    }
    value = static_cast<uint32_t>(sum);
    return true;
}

// Counts the digits from `pos` on; returns whether any of them is not zero.
bool ScanDigits(const std::string& text, size_t& pos, size_t& count)
{
    bool nonZero = false;
    const size_t start = pos;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        nonZero = nonZero || text[pos] != '0';
    count = pos - start;
    return nonZero;
}

bool ReadExponent(const std::string& text, size_t& pos)
{
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E'))
        return true;
    ++pos;
    ReadSign(text, pos);
    size_t count = 0;
    ScanDigits(text, pos, count);
    return count > 0;
}

// Decimal floating-point text; `nonZero` tells whether its value differs from zero.
bool ReadFloatText(const std::string& text, char separator, bool& nonZero)
{
    size_t pos = SkipBlanks(text, 0);
    ReadSign(text, pos);
    size_t whole = 0;
    size_t fraction = 0;
    nonZero = ScanDigits(text, pos, whole);
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        nonZero = ScanDigits(text, pos, fraction) || nonZero;
    }
    if (whole + fraction == 0 || !ReadExponent(text, pos))
        return false;
    return SkipBlanks(text, pos) == text.size();
}

// Takes the piece before the first comma off `rest`, comma included. Without a
// comma the piece is empty and `rest` is left as it is.
std::string TakeField(std::string& rest)
{
    const size_t comma = rest.find(',');
    if (comma == std::string::npos)
        return std::string();
    std::string piece = rest.substr(0, comma);
    rest.erase(0, comma + 1);
    return piece;
}

// `piece` without `head` leading and `tail` trailing characters.
std::string Inner(const std::string& piece, size_t head, size_t tail)
{
    if (piece.size() <= head + tail)
        return std::string();
    return piece.substr(head, piece.size() - head - tail);
}

void ReadStyles(const std::string& styleText, FontSpec& font)
{
    const std::string styles = "|" + styleText;
    const auto has = [&styles](const char* word) { return styles.find(word) != std::string::npos; };
    font.bold = has("|Bold");
    font.italic = has("|Italic");
    font.underline = has("|Underline");
    font.strikeout = has("|Strikeout");
}

std::string WriteStyles(const FontSpec& font)
{
    std::string styles;
    if (font.bold)
        styles += "|Bold";
    if (font.italic)
        styles += "|Italic";
    if (font.underline)
        styles += "|Underline";
    if (font.strikeout)
        styles += "|Strikeout";
    return styles.empty() ? styles : styles.substr(1);
}

struct EscapeCode {
    const char* plain;
    const char* code;
};

const EscapeCode kEscapeCodes[] = {
    {"\r\n", "[#13][#10]"},
    {"\"", "[#34]"},
    {"  ", "[#9]"},
};
constexpr size_t kAllEscapes = sizeof kEscapeCodes / sizeof kEscapeCodes[0];
constexpr size_t kLineBreakEscapes = 1;

std::string Encode(std::string text, size_t rows)
{
    for (size_t row = 0; row < rows; ++row)
        text = ReplaceText(text, kEscapeCodes[row].plain, kEscapeCodes[row].code, true, true);
    return text;
}

std::string Decode(std::string text, size_t rows)
{
    for (size_t row = 0; row < rows; ++row)
        text = ReplaceText(text, kEscapeCodes[row].code, kEscapeCodes[row].plain, true, true);
    return text;
}

} // namespace

const std::array<NamedColor, 52>& ColorNames()
{
    return kColorNames;
}

std::string ColorToText(int32_t color)
{
    for (const NamedColor& entry : kColorNames)
        if (entry.value == color)
            return entry.name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(static_cast<uint32_t>(color)));
    return hex;
}

int32_t TextToColor(const std::string& text)
{
    for (const NamedColor& entry : kColorNames)
        if (SameNameAscii(text, entry.name))
            return entry.value;
    return TextToInt(text);
}

std::string FontToSpec(const FontSpec& font)
{
    return "'" + font.faceName + "', " + std::to_string(font.size) + ", (" + WriteStyles(font)
        + "), (" + ColorToText(font.color) + ")";
}

void SpecToFont(const std::string& spec, FontSpec& font)
{
    std::string rest = spec;
    font.faceName = Inner(TakeField(rest), 1, 1);   // quotes
    font.size = TextToInt(Inner(TakeField(rest), 1, 0));   // blank
    const std::string styleText = Inner(TakeField(rest), 2, 1);   // blank, parentheses
    font.color = TextToColor(Inner(rest, 2, 1));   // blank, parentheses
    ReadStyles(styleText, font);
}

bool TryTextToInt(const std::string& text, int32_t& value)
{
    size_t pos = SkipBlanks(text, 0);
    const bool negative = ReadSign(text, pos);
    const size_t prefix = HexPrefixLength(text, pos);
    uint32_t magnitude = 0;
    const bool read = prefix > 0
        ? ReadHexToEnd(text, pos + prefix, magnitude)
        : ReadDecimalToEnd(text, pos, negative ? 0x80000000u : 0x7FFFFFFFu, magnitude);
    if (!read)
        return false;
    value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
    return true;
}

int32_t TextToInt(const std::string& text)
{
    int32_t value = 0;
    if (!TryTextToInt(text, value))
        ThrowInvalid(text, "integer");
    return value;
}

uint32_t TextToHandleValue(const std::string& text)
{
    int32_t value = 0;
    if (TryTextToInt(text, value))
        return static_cast<uint32_t>(value);
    // Above the signed range: an unsigned decimal up to the 32-bit maximum.
    size_t pos = SkipBlanks(text, 0);
    if (pos < text.size() && text[pos] == '+')
        ++pos;
    uint32_t magnitude = 0;
    if (!ReadDecimalToEnd(text, pos, 0xFFFFFFFFu, magnitude))
        ThrowInvalid(text, "integer");
    return magnitude;
}

bool TextToFlag(const std::string& text)
{
    bool nonZero = false;
    if (ReadFloatText(text, DecimalSeparator(), nonZero))
        return nonZero;
    if (SameNameAscii(text, "True"))
        return true;
    if (SameNameAscii(text, "False"))
        return false;
    ThrowInvalid(text, "boolean");
}

std::string FlagToText(bool value)
{
    return value ? "True" : "False";
}

std::string EscapeParamText(const std::string& text)
{
    return Encode(text, kAllEscapes);
}

std::string UnescapeParamText(const std::string& text)
{
    return Decode(text, kAllEscapes);
}

std::string EscapeLineBreaks(const std::string& text)
{
    return Encode(text, kLineBreakEscapes);
}

std::string UnescapeLineBreaks(const std::string& text)
{
    return Decode(text, kLineBreakEscapes);
}

std::string ReplaceText(const std::string& text, const std::string& pattern,
                        const std::string& replacement, bool all, bool ignoreCase)
{
    if (pattern.empty())
        return text;
    const std::string haystack = ignoreCase ? AnsiUpperCase(text) : text;
    const std::string needle = ignoreCase ? AnsiUpperCase(pattern) : pattern;
    std::string result;
    size_t from = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, from)) {
        result.append(text, from, at - from).append(replacement);
        from = at + needle.size();
        if (!all)
            break;
    }
    return result.append(text, from, std::string::npos);
}

} // namespace qor
