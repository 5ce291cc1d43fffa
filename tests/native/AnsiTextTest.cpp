#include "core/AnsiText.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

char Byte(int value)
{
    return static_cast<char>(value);
}

TEST(AnsiCaseMapping, AsciiLettersFold)
{
    EXPECT_EQ(AnsiUpperCase("abc xyz ABC 09[]{}"), "ABC XYZ ABC 09[]{}");
    EXPECT_EQ(AnsiLowerCase("ABC XYZ abc 09[]{}"), "abc xyz abc 09[]{}");
}

TEST(AnsiCaseMapping, AccentedLettersOfTheCodePageFold)
{
    EXPECT_EQ(AnsiUpperChar(Byte(0xE9)), Byte(0xC9));   // e acute
    EXPECT_EQ(AnsiUpperChar(Byte(0xE0)), Byte(0xC0));
    EXPECT_EQ(AnsiUpperChar(Byte(0xFE)), Byte(0xDE));
    EXPECT_EQ(AnsiUpperChar(Byte(0x9A)), Byte(0x8A));   // s caron
    EXPECT_EQ(AnsiUpperChar(Byte(0x9C)), Byte(0x8C));   // oe
    EXPECT_EQ(AnsiUpperChar(Byte(0x9E)), Byte(0x8E));   // z caron
    EXPECT_EQ(AnsiUpperChar(Byte(0xFF)), Byte(0x9F));   // y diaeresis
    EXPECT_EQ(AnsiLowerChar(Byte(0xC9)), Byte(0xE9));
    EXPECT_EQ(AnsiLowerChar(Byte(0xDE)), Byte(0xFE));
    EXPECT_EQ(AnsiLowerChar(Byte(0x9F)), Byte(0xFF));
    EXPECT_EQ(AnsiLowerChar(Byte(0x8A)), Byte(0x9A));
}

TEST(AnsiCaseMapping, SignsAndLettersWithoutPartnerStay)
{
    for (int value : {0xF7, 0xD7, 0xDF, 0xB5, 0xAA, 0xBA, 0x80, 0x00, 0x7F})
        EXPECT_EQ(AnsiUpperChar(Byte(value)), Byte(value)) << value;
    for (int value : {0xF7, 0xD7, 0xDF, 0xB5, 0x80, 0x00})
        EXPECT_EQ(AnsiLowerChar(Byte(value)), Byte(value)) << value;
}

TEST(AnsiCaseMapping, EveryByteKeepsItsPlaceAndLettersRoundTrip)
{
    std::string all;
    for (int value = 0; value < 256; ++value)
        all += Byte(value);
    const std::string upper = AnsiUpperCase(all);
    ASSERT_EQ(upper.size(), 256u);
    int changed = 0;
    for (int value = 0; value < 256; ++value) {
        if (upper[value] != all[value]) {
            ++changed;
            EXPECT_EQ(AnsiLowerChar(upper[value]), all[value]) << value;
        }
    }
    // a-z, 0xE0-0xFE without 0xF7, and the four pairs 0x9A 0x9C 0x9E 0xFF.
    EXPECT_EQ(changed, 26 + 30 + 4);
}

TEST(AnsiCaseMapping, EmptyAndEmbeddedZero)
{
    EXPECT_EQ(AnsiUpperCase(""), "");
    EXPECT_EQ(AnsiUpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(AnsiCaseMapping, ComparisonsAgainstAMappedText)
{
    EXPECT_TRUE(LowersTo("Apple \xC4", "apple \xE4"));
    EXPECT_FALSE(LowersTo("Apple", "apples")) << "lengths differ";
    EXPECT_FALSE(LowersTo("Apple", "APPLE")) << "the second text is taken as already lowered";
    EXPECT_TRUE(LowersTo("", ""));
    EXPECT_TRUE(LowersTo(std::string("A\0B", 3), std::string("a\0b", 3)));

    EXPECT_TRUE(RaisedContains("Crab apple", "APP"));
    EXPECT_TRUE(RaisedContains("\xE4rger", "\xC4R"));
    EXPECT_TRUE(RaisedContains("abc", "ABC"));
    EXPECT_FALSE(RaisedContains("ab", "ABC"));
    EXPECT_FALSE(RaisedContains("abc", "abc")) << "the second text is taken as already raised";
    EXPECT_TRUE(RaisedContains("", ""));
    EXPECT_TRUE(RaisedContains("abc", ""));
}

TEST(AnsiDecimalSeparator, IsAPointNatively)
{
    EXPECT_EQ(DecimalSeparator(), '.');
}

TEST(SameNameAscii, FoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(SameNameAscii("Rect1", "RECT1"));
    EXPECT_TRUE(SameNameAscii("rect_1 [x]", "RECT_1 [X]"));
    EXPECT_TRUE(SameNameAscii("", ""));
    EXPECT_FALSE(SameNameAscii("Rect1", "Rect2"));
    EXPECT_FALSE(SameNameAscii("Rect1", "Rect1 "));
    EXPECT_FALSE(SameNameAscii("Rect", "Rect1"));
    EXPECT_FALSE(SameNameAscii("\xE9", "\xC9"));
    EXPECT_TRUE(SameNameAscii("\xE9", "\xE9"));
    // '@' and '`' sit next to the letters but are not letters.
    EXPECT_FALSE(SameNameAscii("@", "`"));
    EXPECT_FALSE(SameNameAscii("[", "{"));
    EXPECT_TRUE(SameNameAscii(std::string("a\0b", 3), std::string("A\0B", 3)));
    EXPECT_FALSE(SameNameAscii(std::string("a\0b", 3), std::string("A\0C", 3)));
}

TEST(SameTextAnsi, FoldsAccentedLettersToo)
{
    EXPECT_TRUE(SameTextAnsi("\xE9t\xE9", "\xC9T\xC9"));
    EXPECT_TRUE(SameTextAnsi("Del", "dEL"));
    EXPECT_FALSE(SameTextAnsi("Del", "Dell"));
    EXPECT_FALSE(SameTextAnsi("\xDF", "SS"));
}

} // namespace
} // namespace qor
