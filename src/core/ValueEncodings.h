#pragma once
// Text forms of the values that action parameters and host variables carry:
// font specs, colours, whole numbers, flags and the escapes that keep multi-line
// text in a one-line parameter. Failures throw ScriptError with the message the
// script author sees.
#include <array>
#include <cstdint>
#include <string>

namespace qor {

// Colour values: red + 256*green + 65536*blue for plain colours,
// 0xFF000000 + index for system colours, and two special values.
constexpr int32_t ColorNone = 0x1FFFFFFF;
constexpr int32_t ColorDefault = 0x20000000;
constexpr int32_t RgbColor(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}
constexpr int32_t SystemColor(int index)
{
    return static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(index));
}

struct NamedColor {
    const char* name;
    int32_t value;
};

// The 52 colour names in lookup order.
const std::array<NamedColor, 52>& ColorNames();

// The first name with this value, else "$" and eight upper-case hex digits.
std::string ColorToText(int32_t color);
// A colour name (A-Z case ignored), else a whole number.
int32_t TextToColor(const std::string& text);

struct FontSpec {
    std::string faceName;
    int32_t size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int32_t color = 0;
};

// "'Arial', 10, (Bold|Italic), (clBlack)".
std::string FontToSpec(const FontSpec& font);
// Reads a spec strictly by position into `font`. Fields are set in the order
// face name, size, colour, styles; a failure leaves the ones already set changed.
void SpecToFont(const std::string& spec, FontSpec& font);

// Whole numbers: leading blanks, optional sign, decimal digits or a hex number
// after "$", "x", "X", "0x" or "0X"; nothing after the last digit.
bool TryTextToInt(const std::string& text, int32_t& value);
int32_t TextToInt(const std::string& text);
// A window handle as a text: the whole-number rule, and besides it unsigned
// decimals up to 4294967295 (handles carry a reuse counter in their high bits
// and are written either way). Other texts fail with the integer message.
uint32_t TextToHandleValue(const std::string& text);

// Flags: a number (non-zero is true), else "True"/"False" in any letter case.
// The number is [blanks][sign]digits[separator digits][e[sign]digits][blanks]
// with the system's decimal separator; at least one mantissa digit is needed.
bool TextToFlag(const std::string& text);
std::string FlagToText(bool value);

// CR LF <-> "[#13][#10]", '"' <-> "[#34]", two blanks <-> "[#9]", in this order.
std::string EscapeParamText(const std::string& text);
std::string UnescapeParamText(const std::string& text);
// Only CR LF <-> "[#13][#10]".
std::string EscapeLineBreaks(const std::string& text);
std::string UnescapeLineBreaks(const std::string& text);

// Replaces the first (or every) non-overlapping occurrence of `pattern`, searching
// left to right; `ignoreCase` compares under the ANSI upper-case mapping.
std::string ReplaceText(const std::string& text, const std::string& pattern,
                        const std::string& replacement, bool all, bool ignoreCase);

} // namespace qor
