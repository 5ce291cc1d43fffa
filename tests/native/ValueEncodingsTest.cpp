#include "core/ScriptError.h"
#include "core/ValueEncodings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <set>

namespace qor {
namespace {

const size_t kMegabyte = 1024 * 1024;

// The message of the ScriptError that `action` throws; fails the test if none.
std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ScriptError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no ScriptError thrown";
    return std::string();
}

std::string IntegerError(const std::string& text)
{
    return ErrorOf([&] { TextToInt(text); });
}

std::string FlagError(const std::string& text)
{
    return ErrorOf([&] { TextToFlag(text); });
}

FontSpec Font(const std::string& face, int32_t size, int32_t color,
              bool bold = false, bool italic = false, bool underline = false, bool strikeout = false)
{
    FontSpec font;
    font.faceName = face;
    font.size = size;
    font.color = color;
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
    font.strikeout = strikeout;
    return font;
}

FontSpec ReadSpec(const std::string& spec)
{
    FontSpec font;
    SpecToFont(spec, font);
    return font;
}

void ExpectSameFont(const FontSpec& actual, const FontSpec& expected)
{
    EXPECT_EQ(actual.faceName, expected.faceName);
    EXPECT_EQ(actual.size, expected.size);
    EXPECT_EQ(actual.bold, expected.bold);
    EXPECT_EQ(actual.italic, expected.italic);
    EXPECT_EQ(actual.underline, expected.underline);
    EXPECT_EQ(actual.strikeout, expected.strikeout);
    EXPECT_EQ(actual.color, expected.color);
}

// ---------------------------------------------------------------- whole numbers

TEST(WholeNumberReading, PlainDecimal)
{
    EXPECT_EQ(TextToInt("0"), 0);
    EXPECT_EQ(TextToInt("42"), 42);
    EXPECT_EQ(TextToInt("-42"), -42);
    EXPECT_EQ(TextToInt("+42"), 42);
    EXPECT_EQ(TextToInt("-0"), 0);
    EXPECT_EQ(TextToInt("007"), 7);
}

TEST(WholeNumberReading, LeadingBlanksOnly)
{
    EXPECT_EQ(TextToInt("   12"), 12);
    EXPECT_EQ(TextToInt(" -12"), -12);
    EXPECT_EQ(TextToInt("  $10"), 16);
    EXPECT_EQ(IntegerError("12 "), "'12 ' is not a valid integer value");
    EXPECT_EQ(IntegerError("\t12"), "'\t12' is not a valid integer value");
    EXPECT_EQ(IntegerError("- 12"), "'- 12' is not a valid integer value");
    EXPECT_EQ(IntegerError("1 2"), "'1 2' is not a valid integer value");
}

TEST(WholeNumberReading, DecimalRange)
{
    EXPECT_EQ(TextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("+2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TextToInt("00000000000000000002147483647"), 2147483647);
    EXPECT_EQ(IntegerError("2147483648"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(IntegerError("-2147483649"), "'-2147483649' is not a valid integer value");
    EXPECT_EQ(IntegerError("99999999999999999999"), "'99999999999999999999' is not a valid integer value");
}

TEST(WholeNumberReading, WindowHandlesReadTheWholeUnsignedRangeToo)
{
    const struct {
        const char* text;
        uint32_t value;
    } reads[] = {
        {"0", 0u},           {"65562", 65562u},          {"2147483647", 0x7FFFFFFFu},
        {"2147483648", 0x80000000u}, {"4294901786", 0xFFFF001Au}, {"4294967295", 0xFFFFFFFFu},
        {"+4294967295", 0xFFFFFFFFu}, {"  3000000000", 3000000000u}, {"-1", 0xFFFFFFFFu},
        {"-2147483648", 0x80000000u}, {"$FFFF001A", 0xFFFF001Au},   {"0000004294967295", 0xFFFFFFFFu},
    };
    for (const auto& read : reads) EXPECT_EQ(TextToHandleValue(read.text), read.value) << read.text;
    for (const std::string text : {"4294967296", "-2147483649", "99999999999999999999", "", "12a", "- 1",
                                   "4294967295 ", "1.0", "+-4294967295"}) {
        EXPECT_EQ(ErrorOf([&] { TextToHandleValue(text); }), "'" + text + "' is not a valid integer value");
    }
}

TEST(WholeNumberReading, HexadecimalPrefixes)
{
    EXPECT_EQ(TextToInt("$FF"), 255);
    EXPECT_EQ(TextToInt("$ff"), 255);
    EXPECT_EQ(TextToInt("xFF"), 255);
    EXPECT_EQ(TextToInt("XfF"), 255);
    EXPECT_EQ(TextToInt("0xFF"), 255);
    EXPECT_EQ(TextToInt("0XaB"), 171);
    EXPECT_EQ(TextToInt("-$10"), -16);
    EXPECT_EQ(TextToInt("+0x10"), 16);
    EXPECT_EQ(TextToInt("$0"), 0);
}

TEST(WholeNumberReading, HexadecimalIsTwosComplementOfEightSignificantDigits)
{
    EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TextToInt("$80000000"), -2147483647 - 1);
    EXPECT_EQ(TextToInt("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(TextToInt("$00000000FFFFFFFF"), -1);
    EXPECT_EQ(TextToInt("0x000000000000000000001"), 1);
    EXPECT_EQ(TextToInt("-$FFFFFFFF"), 1);
    EXPECT_EQ(TextToInt("-$80000000"), -2147483647 - 1);
    EXPECT_EQ(IntegerError("$100000000"), "'$100000000' is not a valid integer value");
    EXPECT_EQ(IntegerError("$FFFFFFFFF"), "'$FFFFFFFFF' is not a valid integer value");
}

TEST(WholeNumberReading, MalformedTextsFail)
{
    for (const std::string text : {"", " ", "+", "-", "$", "x", "0x", "0X", "$G", "0xG", "12a",
                                   "a12", "--1", "+-1", "1.0", "1e3", "$-1", "0x-1", "$ 1", "00x1",
                                   "1,000", "\xB2", "١"}) {
        EXPECT_EQ(IntegerError(text), "'" + text + "' is not a valid integer value");
    }
}

TEST(WholeNumberReading, TextAfterAnEmbeddedZeroFails)
{
    int32_t value = 5;
    EXPECT_FALSE(TryTextToInt(std::string("12\0", 3), value));
    EXPECT_FALSE(TryTextToInt(std::string("\0" "12", 3), value));
    EXPECT_EQ(value, 5);
}

TEST(WholeNumberReading, TryReadingLeavesTheValueOnFailure)
{
    int32_t value = 77;
    EXPECT_FALSE(TryTextToInt("nope", value));
    EXPECT_EQ(value, 77);
    EXPECT_TRUE(TryTextToInt("-5", value));
    EXPECT_EQ(value, -5);
}

TEST(WholeNumberReading, MegabyteTexts)
{
    EXPECT_EQ(TextToInt(std::string(kMegabyte, ' ') + "7"), 7);
    EXPECT_EQ(TextToInt(std::string(kMegabyte, '0') + "42"), 42);
    EXPECT_EQ(TextToInt("$" + std::string(kMegabyte, '0') + "ABCDEF01"), static_cast<int32_t>(0xABCDEF01u));
    const std::string nines(kMegabyte, '9');
    EXPECT_EQ(IntegerError(nines), "'" + nines + "' is not a valid integer value");
}

// ---------------------------------------------------------------- flags

TEST(FlagReading, NumbersAreTrueWhenNotZero)
{
    EXPECT_TRUE(TextToFlag("1"));
    EXPECT_TRUE(TextToFlag("-1"));
    EXPECT_TRUE(TextToFlag("2"));
    EXPECT_TRUE(TextToFlag("0.5"));
    EXPECT_TRUE(TextToFlag(".5"));
    EXPECT_TRUE(TextToFlag("5."));
    EXPECT_TRUE(TextToFlag("1e-400"));
    EXPECT_TRUE(TextToFlag(" +3E2 "));
    EXPECT_FALSE(TextToFlag("0"));
    EXPECT_FALSE(TextToFlag("-0"));
    EXPECT_FALSE(TextToFlag("0.000"));
    EXPECT_FALSE(TextToFlag("00e99"));
    EXPECT_FALSE(TextToFlag("  0  "));
}

TEST(FlagReading, TrueAndFalseInAnyLetterCase)
{
    EXPECT_TRUE(TextToFlag("True"));
    EXPECT_TRUE(TextToFlag("TRUE"));
    EXPECT_TRUE(TextToFlag("tRuE"));
    EXPECT_FALSE(TextToFlag("False"));
    EXPECT_FALSE(TextToFlag("false"));
    EXPECT_FALSE(TextToFlag("FALSE"));
}

TEST(FlagReading, OtherTextsFail)
{
    for (const std::string text : {"", " ", "yes", "no", "T", "F", "True ", " False", "Tru", "Truee",
                                   ".", "-", "1,5", "1e", "1e+", "$1", "0x1", "1 0", "e5",
                                   "TR\xDC" "E"}) {
        EXPECT_EQ(FlagError(text), "'" + text + "' is not a valid boolean value");
    }
}

TEST(FlagReading, MegabyteTexts)
{
    EXPECT_TRUE(TextToFlag(std::string(kMegabyte, '0') + "1"));
    EXPECT_FALSE(TextToFlag("0." + std::string(kMegabyte, '0')));
    const std::string junk(kMegabyte, 'T');
    EXPECT_EQ(FlagError(junk), "'" + junk + "' is not a valid boolean value");
}

TEST(FlagWriting, TrueAndFalse)
{
    EXPECT_EQ(FlagToText(true), "True");
    EXPECT_EQ(FlagToText(false), "False");
    EXPECT_TRUE(TextToFlag(FlagToText(true)));
    EXPECT_FALSE(TextToFlag(FlagToText(false)));
}

// ---------------------------------------------------------------- colours

TEST(ColorNames, TableOrderAndValues)
{
    const auto& names = ColorNames();
    ASSERT_EQ(names.size(), 52u);
    EXPECT_STREQ(names[0].name, "clBlack");
    EXPECT_STREQ(names[19].name, "clMedGray");
    EXPECT_EQ(names[19].value, 0xA4A0A0);
    EXPECT_STREQ(names[25].name, "clBtnHighlight");
    EXPECT_STREQ(names[26].name, "clBtnShadow");
    EXPECT_STREQ(names[51].name, "clWindowText");
    std::set<int32_t> values;
    std::set<std::string> upperNames;
    for (const NamedColor& entry : names) {
        values.insert(entry.value);
        std::string upper(entry.name);
        for (char& c : upper)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        upperNames.insert(upper);
    }
    EXPECT_EQ(values.size(), 52u);
    EXPECT_EQ(upperNames.size(), 52u);
}

TEST(ColorToText, NamesForTableValues)
{
    EXPECT_EQ(ColorToText(0), "clBlack");
    EXPECT_EQ(ColorToText(0x0000FF), "clRed");
    EXPECT_EQ(ColorToText(0x00FF00), "clLime");
    EXPECT_EQ(ColorToText(0xFF0000), "clBlue");
    EXPECT_EQ(ColorToText(0xF0CAA6), "clSkyBlue");
    EXPECT_EQ(ColorToText(0xF0FBFF), "clCream");
    EXPECT_EQ(ColorToText(0xC0DCC0), "clMoneyGreen");
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF000000u)), "clScrollBar");
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF00000Fu)), "clBtnFace");
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF000008u)), "clWindowText");
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF00001Eu)), "clMenuBar");
    EXPECT_EQ(ColorToText(0x1FFFFFFF), "clNone");
    EXPECT_EQ(ColorToText(0x20000000), "clDefault");
}

TEST(ColorToText, EightHexDigitsOtherwise)
{
    EXPECT_EQ(ColorToText(1), "$00000001");
    EXPECT_EQ(ColorToText(0x123456), "$00123456");
    EXPECT_EQ(ColorToText(0xABCDEF), "$00ABCDEF");
    EXPECT_EQ(ColorToText(-1), "$FFFFFFFF");
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF000019u)), "$FF000019");   // no index 25 name
    EXPECT_EQ(ColorToText(static_cast<int32_t>(0xFF00001Fu)), "$FF00001F");
    EXPECT_EQ(ColorToText(-2147483647 - 1), "$80000000");
}

TEST(TextToColor, NamesIgnoreAsciiLetterCase)
{
    EXPECT_EQ(TextToColor("clRed"), 0xFF);
    EXPECT_EQ(TextToColor("CLRED"), 0xFF);
    EXPECT_EQ(TextToColor("clred"), 0xFF);
    EXPECT_EQ(TextToColor("cl3ddkshadow"), static_cast<int32_t>(0xFF000015u));
    EXPECT_EQ(TextToColor("clNone"), 0x1FFFFFFF);
    EXPECT_EQ(TextToColor("CLDEFAULT"), 0x20000000);
}

TEST(TextToColor, NumbersOtherwise)
{
    EXPECT_EQ(TextToColor("$000000FF"), 0xFF);
    EXPECT_EQ(TextToColor("255"), 0xFF);
    EXPECT_EQ(TextToColor("$FFFFFFFF"), -1);
    EXPECT_EQ(TextToColor("-16777201"), static_cast<int32_t>(0xFF00000Fu));
}

TEST(TextToColor, UnknownTextsFailAsIntegers)
{
    for (const std::string text : {"", "Red", "clRed ", " clRed", "clRe", "clPink", "cl\xD2" "ed", "$1000000000"})
        EXPECT_EQ(ErrorOf([&] { TextToColor(text); }), "'" + text + "' is not a valid integer value");
}

TEST(ColorText, EveryTableEntryAndSampleValuesRoundTrip)
{
    for (const NamedColor& entry : ColorNames()) {
        EXPECT_EQ(ColorToText(entry.value), entry.name);
        EXPECT_EQ(TextToColor(ColorToText(entry.value)), entry.value);
    }
    for (int32_t value : {1, 0x123456, 0x7FFFFFFF, -1, -2147483647 - 1, static_cast<int32_t>(0xFF000019u)})
        EXPECT_EQ(TextToColor(ColorToText(value)), value) << value;
}

// ---------------------------------------------------------------- font spec

TEST(FontSpecWriting, LayoutAndStyleOrder)
{
    EXPECT_EQ(FontToSpec(Font("Arial", 10, 0)), "'Arial', 10, (), (clBlack)");
    EXPECT_EQ(FontToSpec(Font("Arial", 10, 0, true, true)), "'Arial', 10, (Bold|Italic), (clBlack)");
    EXPECT_EQ(FontToSpec(Font("Times New Roman", -12, 0xFF, true, true, true, true)),
              "'Times New Roman', -12, (Bold|Italic|Underline|Strikeout), (clRed)");
    EXPECT_EQ(FontToSpec(Font("Arial", 8, 0x123456, false, false, true, false)),
              "'Arial', 8, (Underline), ($00123456)");
    EXPECT_EQ(FontToSpec(Font("", 0, 0x1FFFFFFF, false, false, false, true)), "'', 0, (Strikeout), (clNone)");
    EXPECT_EQ(FontToSpec(Font("It's", 9, 0)), "'It's', 9, (), (clBlack)");
}

TEST(FontSpecReading, DefaultSpec)
{
    const FontSpec font = ReadSpec("'Arial', 10, (), (clBlack)");
    ExpectSameFont(font, Font("Arial", 10, 0));
    EXPECT_EQ(FontToSpec(font), "'Arial', 10, (), (clBlack)");
}

TEST(FontSpecReading, StylesAreSubstringTestsWithCase)
{
    const FontSpec font = ReadSpec("'Arial', 10, (Italic|Bold), (clBlack)");
    ExpectSameFont(font, Font("Arial", 10, 0, true, true));
    EXPECT_EQ(FontToSpec(font), "'Arial', 10, (Bold|Italic), (clBlack)");

    ExpectSameFont(ReadSpec("'Arial', 10, (bold), (clBlack)"), Font("Arial", 10, 0));
    ExpectSameFont(ReadSpec("'Arial', 10, (Boldface|Underlined), (clBlack)"),
                   Font("Arial", 10, 0, true, false, true));
    ExpectSameFont(ReadSpec("'Arial', 10, (xBold|Strikeout), (clBlack)"),
                   Font("Arial", 10, 0, false, false, false, true));
    ExpectSameFont(ReadSpec("'Arial', 10, (Bold Italic), (clBlack)"), Font("Arial", 10, 0, true));
}

TEST(FontSpecReading, ReadingClearsStylesThatAreNotListed)
{
    FontSpec font = Font("Old", 1, 1, true, true, true, true);
    SpecToFont("'Arial', 10, (Underline), (clRed)", font);
    ExpectSameFont(font, Font("Arial", 10, 0xFF, false, false, true));
}

TEST(FontSpecReading, ColourForms)
{
    const FontSpec hex = ReadSpec("'Arial', 10, (), ($00ABCDEF)");
    EXPECT_EQ(hex.color, 0xABCDEF);
    EXPECT_EQ(FontToSpec(hex), "'Arial', 10, (), ($00ABCDEF)");

    const FontSpec capitals = ReadSpec("'Arial', 10, (), (CLRED)");
    EXPECT_EQ(capitals.color, 0xFF);
    EXPECT_EQ(FontToSpec(capitals), "'Arial', 10, (), (clRed)");

    EXPECT_EQ(ReadSpec("'Arial', 10, (), (255)").color, 0xFF);
    EXPECT_EQ(ReadSpec("'Arial', 10, (), ($000000FF)").color, 0xFF);
}

TEST(FontSpecReading, PositionsAreOnlySkippedNeverChecked)
{
    ExpectSameFont(ReadSpec("XArialX, 10, YItalicY, ZclRedZ"), Font("Arial", 10, 0xFF, false, true));
    ExpectSameFont(ReadSpec("'Arial',  12, (), (clBlack)"), Font("Arial", 12, 0));   // blanks before a number
}

TEST(FontSpecReading, WithoutBlanksAfterCommasPositionsShift)
{
    FontSpec font = Font("Old", 99, 0x123, true, false, false, false);
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'Arial',10,(),(clBlack)", font); }),
              "'lBlack' is not a valid integer value");
    EXPECT_EQ(font.faceName, "Arial");
    EXPECT_EQ(font.size, 0);   // "10" lost its first digit
    EXPECT_EQ(font.color, 0x123);
    EXPECT_TRUE(font.bold);   // styles come last and were not reached

    ExpectSameFont(ReadSpec("'Arial',10,(Bold),(1255)"), Font("Arial", 0, 0xFF));   // "(Bold)" reads as "old"
}

TEST(FontSpecReading, MissingCommasEmptyTheFaceNameAndFailTheSize)
{
    FontSpec font = Font("Old", 5, 7);
    EXPECT_EQ(ErrorOf([&] { SpecToFont("Arial", font); }), "'' is not a valid integer value");
    EXPECT_EQ(font.faceName, "");
    EXPECT_EQ(font.size, 5);

    font = Font("Old", 5, 7);
    EXPECT_EQ(ErrorOf([&] { SpecToFont("", font); }), "'' is not a valid integer value");
    EXPECT_EQ(font.faceName, "");

    font = Font("Old", 5, 7);
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'Arial', 10", font); }), "'' is not a valid integer value");
    EXPECT_EQ(font.faceName, "Arial");

    font = Font("Old", 5, 7);
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'Arial', 10, (Bold)", font); }), "'Bold' is not a valid integer value");
    EXPECT_EQ(font.size, 10);
    EXPECT_EQ(font.color, 7);
}

TEST(FontSpecReading, FaceNameWithCommaCannotBeRead)
{
    FontSpec font;
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'A,B', 10, (), (clBlack)", font); }), "''' is not a valid integer value");
    EXPECT_EQ(font.faceName, "");
}

TEST(FontSpecReading, ShortPiecesGiveEmptyFields)
{
    ExpectSameFont(ReadSpec(",  5,,  clRed)"), Font("", 5, 0xFF));
    ExpectSameFont(ReadSpec("'', 0, (), (0)"), Font("", 0, 0));
}

TEST(FontSpecReading, TextAfterTheColourBelongsToTheColour)
{
    FontSpec font;
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'Arial', 10, (), (clRed), x", font); }),
              "'clRed), ' is not a valid integer value");
}

TEST(FontSpecReading, SizeFailureNamesTheSizeText)
{
    FontSpec font;
    EXPECT_EQ(ErrorOf([&] { SpecToFont("'Arial', ten, (), (clBlack)", font); }),
              "'ten' is not a valid integer value");
    EXPECT_EQ(font.faceName, "Arial");
}

TEST(FontSpecReading, QuotesAndHighBytesInTheFaceName)
{
    const FontSpec font = ReadSpec("'\"Caf\xE9\" it's', 11, (), (clGray)");
    EXPECT_EQ(font.faceName, "\"Caf\xE9\" it's");
    EXPECT_EQ(font.size, 11);
    EXPECT_EQ(font.color, 0x808080);
}

TEST(FontSpecRoundTrip, WrittenSpecsReadBackExactly)
{
    const std::string faces[] = {"Arial", "", "x", "MS Sans Serif", "It's \"quoted\"", "\x80\xFF\xE9",
                                 "(Bold)", "a\rb\nc"};
    const int32_t sizes[] = {0, 1, 10, -11, 2147483647, -2147483647 - 1};
    const int32_t colors[] = {0, 0xFF, 0x1FFFFFFF, 0x20000000, -1, 0x00ABCDEF, static_cast<int32_t>(0xFF000019u)};
    for (const std::string& face : faces)
        for (int32_t size : sizes)
            for (int32_t color : colors)
                for (int styles = 0; styles < 16; ++styles) {
                    const FontSpec font = Font(face, size, color, styles & 1, styles & 2, styles & 4, styles & 8);
                    const std::string spec = FontToSpec(font);
                    FontSpec read;
                    SpecToFont(spec, read);
                    ExpectSameFont(read, font);
                    ASSERT_EQ(FontToSpec(read), spec);
                }
}

TEST(FontSpecRoundTrip, MegabyteFaceName)
{
    const std::string face(kMegabyte, 'F');
    const FontSpec font = ReadSpec(FontToSpec(Font(face, 10, 0xFF, true)));
    ExpectSameFont(font, Font(face, 10, 0xFF, true));
}

// ---------------------------------------------------------------- escapes

TEST(ParamEscapes, EscapeExamples)
{
    EXPECT_EQ(EscapeParamText("a  b"), "a[#9]b");
    EXPECT_EQ(EscapeParamText("a   b"), "a[#9] b");
    EXPECT_EQ(EscapeParamText("a    b"), "a[#9][#9]b");
    EXPECT_EQ(EscapeParamText("a\tb"), "a\tb");
    EXPECT_EQ(EscapeParamText("say \"hi\"\r\nbye"), "say [#34]hi[#34][#13][#10]bye");
    EXPECT_EQ(EscapeParamText("\"  \""), "[#34][#9][#34]");
    EXPECT_EQ(EscapeParamText("\r\r\n\n"), "\r[#13][#10]\n");
    EXPECT_EQ(EscapeParamText("\n\r"), "\n\r");
    EXPECT_EQ(EscapeParamText("[x] [#] \xE9\xFF"), "[x] [#] \xE9\xFF");
    EXPECT_EQ(EscapeParamText(""), "");
}

TEST(ParamEscapes, UnescapeExamples)
{
    EXPECT_EQ(UnescapeParamText("[#34]word[#34][#13][#10]"), "\"word\"\r\n");
    EXPECT_EQ(UnescapeParamText("a[#9]b"), "a  b");
    EXPECT_EQ(UnescapeParamText("[#13]x[#10]"), "[#13]x[#10]");
    EXPECT_EQ(UnescapeParamText("[#10][#13]"), "[#10][#13]");
    EXPECT_EQ(UnescapeParamText("[#13][#13][#10][#10]"), "[#13]\r\n[#10]");
    EXPECT_EQ(UnescapeParamText("[#[#34]34]"), "[#\"34]");
    EXPECT_EQ(UnescapeParamText("[#9 ] [# 9] [#09]"), "[#9 ] [# 9] [#09]");
    EXPECT_EQ(UnescapeParamText("\r \n \t"), "\r \n \t");
    EXPECT_EQ(UnescapeParamText(""), "");
}

TEST(ParamEscapes, CodesAlreadyInTheTextAreDecodedToo)
{
    // A text that holds a code before escaping comes back with the character.
    EXPECT_EQ(UnescapeParamText(EscapeParamText("[#34]")), "\"");
    EXPECT_EQ(UnescapeParamText(EscapeParamText("[#9]")), "  ");
}

TEST(LineBreakEscapes, OnlyCrLf)
{
    EXPECT_EQ(EscapeLineBreaks("a\r\nb \"c\"  d"), "a[#13][#10]b \"c\"  d");
    EXPECT_EQ(EscapeLineBreaks("\r\n\r\n"), "[#13][#10][#13][#10]");
    EXPECT_EQ(EscapeLineBreaks("\r \n"), "\r \n");
    EXPECT_EQ(UnescapeLineBreaks("[#13][#10][#34][#9]"), "\r\n[#34][#9]");
    EXPECT_EQ(UnescapeLineBreaks("[#13] [#10]"), "[#13] [#10]");
}

TEST(ParamEscapes, HostileTextsRoundTrip)
{
    std::string bytes;
    for (int value = 1; value < 256; ++value)
        bytes += static_cast<char>(value);
    bytes += std::string("\0\r\n\"  \"\r\r\n\n", 12);
    std::string big;
    while (big.size() < kMegabyte)
        big += bytes;
    for (const std::string& text : {bytes, big}) {
        const std::string escaped = EscapeParamText(text);
        EXPECT_EQ(escaped.find("\r\n"), std::string::npos);
        EXPECT_EQ(escaped.find('"'), std::string::npos);
        EXPECT_EQ(escaped.find("  "), std::string::npos);
        EXPECT_EQ(UnescapeParamText(escaped), text);
        EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(text)), text);
    }
}

TEST(ParamEscapes, MegabyteOfCodes)
{
    std::string codes;
    while (codes.size() < kMegabyte)
        codes += "[#34][#9][#13][#10]";
    const std::string plain = UnescapeParamText(codes);
    EXPECT_EQ(plain.size(), codes.size() / 19 * 5);
    EXPECT_EQ(plain.substr(0, 10), "\"  \r\n\"  \r\n");
    EXPECT_EQ(EscapeParamText(plain), codes);
}

// ---------------------------------------------------------------- replace

TEST(ReplaceText, EmptyPatternKeepsText)
{
    EXPECT_EQ(ReplaceText("abc", "", "X", true, false), "abc");
    EXPECT_EQ(ReplaceText("", "", "X", true, true), "");
}

TEST(ReplaceText, FirstOrAllNonOverlapping)
{
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", false, false), "a+b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", true, false), "a+b+c");
    EXPECT_EQ(ReplaceText("aaaaa", "aa", "X", true, false), "XXa");
    EXPECT_EQ(ReplaceText("aaa", "aa", "X", false, false), "Xa");
    EXPECT_EQ(ReplaceText("abc", "abc", "", true, false), "");
    EXPECT_EQ(ReplaceText("abc", "abcd", "X", true, false), "abc");
    EXPECT_EQ(ReplaceText("", "a", "X", true, false), "");
}

TEST(ReplaceText, ReplacementIsNotSearchedAgain)
{
    EXPECT_EQ(ReplaceText("ab", "a", "aa", true, false), "aab");
    EXPECT_EQ(ReplaceText("xx", "x", "xx", true, true), "xxxx");
}

TEST(ReplaceText, CaseHandling)
{
    EXPECT_EQ(ReplaceText("Hello HELLO hello", "hello", "bye", true, false), "Hello HELLO bye");
    EXPECT_EQ(ReplaceText("Hello HELLO hello", "hello", "bye", true, true), "bye bye bye");
    EXPECT_EQ(ReplaceText("Hello HELLO hello", "hELLO", "Bye", false, true), "Bye HELLO hello");
    EXPECT_EQ(ReplaceText("caf\xC9 CAF\xE9", "caf\xE9", "x", true, true), "x x");
    EXPECT_EQ(ReplaceText("caf\xC9", "caf\xE9", "x", true, false), "caf\xC9");
    EXPECT_EQ(ReplaceText("A\xF7" "a\xD7", "a\xD7", "x", true, true), "A\xF7" "x");
}

TEST(ReplaceText, EmbeddedZeroBytes)
{
    const std::string text("a\0b\0c", 5);
    EXPECT_EQ(ReplaceText(text, std::string("\0", 1), "-", true, false), "a-b-c");
}

} // namespace
} // namespace qor
