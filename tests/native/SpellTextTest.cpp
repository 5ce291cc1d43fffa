// The spell checker's text rules: word cutting, quotes, the word at the
// caret, ignore options, encodings, the option list, the zigzag, the menu
// entries and the plain-text files.
#include "smartedit/SpellText.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> out;
    for (const WordSpan& w : SplitWords(line)) out.emplace_back(line.substr(w.start, w.length));
    return out;
}

TEST(SpellWords, ExactlyThe36DelimitersCutWords) {
    const std::string delimiters = std::string(".;,:!\xB7\"^+-*/\\\xA8 \t`[]()\xBA\xAA{}?\xBF%=<>$@|~&");
    ASSERT_EQ(delimiters.size(), 36u);
    int count = 0;
    for (int c = 0; c < 256; ++c) {
        const bool expected = delimiters.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(IsWordDelimiter(static_cast<char>(c)), expected) << "byte " << c;
        count += IsWordDelimiter(static_cast<char>(c));
    }
    EXPECT_EQ(count, 36);
    EXPECT_FALSE(IsWordDelimiter('\'')) << "the apostrophe belongs to words";
    EXPECT_FALSE(IsWordDelimiter('7'));
}

TEST(SpellWords, SplittingLines) {
    using W = std::vector<std::string>;
    EXPECT_EQ(Words("Hello, wrold!"), (W{"Hello", "wrold"}));
    EXPECT_EQ(Words("  don't stop-me (now)"), (W{"don't", "stop", "me", "now"}));
    EXPECT_EQ(Words("a1b2 'quoted' x@y.z"), (W{"a1b2", "'quoted'", "x", "y", "z"}));
    EXPECT_EQ(Words("caf\xE9 na\xEFve"), (W{"caf\xE9", "na\xEFve"})) << "accented letters are word characters";
    EXPECT_EQ(Words(""), W{});
    EXPECT_EQ(Words(" .,; "), W{});
    EXPECT_EQ(SplitWords("ab cd"), (std::vector<WordSpan>{{0, 2}, {3, 2}}));
}

TEST(SpellWords, OnePairOfEnclosingQuotesComesOff) {
    struct Case {
        const char* word;
        WordSpan expected;
    } cases[] = {
        {"'wrold'", {1, 5}}, {"''x''", {1, 3}}, {"'ab'", {1, 2}}, {"''", {0, 2}},
        {"'a", {0, 2}},      {"don't", {0, 5}}, {"'''", {1, 1}},
    };
    for (const Case& c : cases) {
        const std::string_view line = c.word;
        EXPECT_EQ(StripEnclosingQuotes(line, {0, line.size()}), c.expected) << c.word;
    }
}

TEST(SpellWords, WordAtTheCaretColumn) {
    const std::string line = "one 'two' three";
    EXPECT_EQ(WordAtColumn(line, 0), (WordSpan{0, 3}));
    EXPECT_EQ(WordAtColumn(line, 3), (WordSpan{0, 3})) << "a caret just after a word is in it";
    EXPECT_EQ(WordAtColumn(line, 6), (WordSpan{5, 3})) << "quotes come off when more follows";
    EXPECT_EQ(WordAtColumn(line, 12), (WordSpan{10, 5}));
    EXPECT_EQ(WordAtColumn("say 'two'", 6), (WordSpan{4, 5})) << "at the end of the line the quotes stay";
    EXPECT_EQ(WordAtColumn("a  b", 2).length, 0u);
    EXPECT_EQ(WordAtColumn("ab", 5).length, 0u);
}

TEST(SpellWords, IgnoreOptions) {
    struct Case {
        const char* word;
        bool numbers, caps, ignored;
    } cases[] = {
        {"abc1", true, false, true},   {"abc1", false, false, false}, {"NASA", false, true, true},
        {"NASA", false, false, false}, {"NASa", false, true, false},  {"A1", false, true, false},
        {"A1", true, true, true},       {"\xC9T\xC9", false, true, true}, {"DON'T", false, true, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IgnoredWord(c.word, c.numbers, c.caps), c.ignored) << c.word;
}

TEST(SpellEncodings, CodePagesOfEncodingNames) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"UTF-8", 65001},       {"utf8", 65001},        {"ISO8859-1", 28591}, {"iso-8859-2", 28592},
        {"ISO8859-15", 28605},  {"iso-8859-13", 28603}, {"KOI8-R", 20866},    {"ISO8859-7", 28597},
        {"koi8-u", 1250},       {"", 1250},             {"microsoft-cp1251", 1250},
    };
    for (const auto& [name, codePage] : cases) EXPECT_EQ(CodePageOfEncoding(name, 1250), codePage) << name;
    EXPECT_TRUE(SameCodePage(1252, 1252));
    EXPECT_TRUE(SameCodePage(28591, 1252));
    EXPECT_FALSE(SameCodePage(28591, 1250));
    EXPECT_FALSE(SameCodePage(65001, 1252));
}

TEST(SpellOptions, UpToFourTextsCutAtCommas) {
    using O = std::vector<std::string>;
    EXPECT_EQ(SplitSpellOptions("True,False,True,False"), (O{"True", "False", "True", "False"}));
    EXPECT_EQ(SplitSpellOptions("True,False"), (O{"True", "False", "", ""}));
    EXPECT_EQ(SplitSpellOptions(""), (O{"", "", "", ""}));
    EXPECT_EQ(SplitSpellOptions("a,b,c,d,e"), (O{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitSpellOptions(",x,,"), (O{"", "x", "", ""}));
}

TEST(SpellZigzag, PointsAndBaseLine) {
    using P = std::vector<ZigzagPoint>;
    EXPECT_EQ(ZigzagPoints(10, 16, 20), (P{{10, 20}, {12, 22}, {14, 20}, {16, 22}}));
    EXPECT_EQ(ZigzagPoints(10, 13, 5), (P{{10, 5}, {12, 7}}));
    EXPECT_EQ(ZigzagPoints(10, 9, 5), P{});
    EXPECT_EQ(ZigzagPoints(10, 19, 20, 3), (P{{10, 20}, {13, 23}, {16, 20}, {19, 23}})) << "a wider step at a higher DPI";
    EXPECT_EQ(ZigzagBaseLine(1, 13, 2), 1 + 13 - 2 - 2);
    EXPECT_EQ(ZigzagBaseLine(14, 16, 2), 14 + 16 - 2 - 1);
    EXPECT_EQ(ZigzagBaseLine(0, 40, 0), 40 - 1) << "20 / 40 rounds to 1";
    EXPECT_EQ(ZigzagBaseLine(0, 41, 1), 41 - 1 - 0);
}

TEST(SpellZigzag, PixelsOfThePolylineInsideTheClip) {
    constexpr int kWidth = 12, kHeight = 5;
    struct Case {
        int start, end, baseLine;
        PixelRect clip;
        const char* picture; // rows top to bottom, '#' set; null: none
        int step = 2;
    } cases[] = {
        // Points (1,1) (3,3) (5,1) (7,3) (9,1): the last one is not drawn.
        {1, 9, 1, {0, 0, kWidth, kHeight}, "............"
                                           ".#...#......"
                                           "..#.#.#.#..."
                                           "...#...#...."
                                           "............"},
        // An odd length ends at the last even step.
        {2, 7, 0, {0, 0, kWidth, kHeight}, "..#........."
                                           "...#.#......"
                                           "....#......."
                                           "............"
                                           "............"},
        // Clipped on every side.
        {0, 12, 2, {2, 3, 9, 5}, "............"
                                 "............"
                                 "............"
                                 "...#.#.#...."
                                 "..#...#....."},
        // Steps of 3 (144 DPI): 3 down, 3 up, every 6.
        {0, 12, 0, {0, 0, kWidth, kHeight}, "#.....#....."
                                            ".#...#.#...#"
                                            "..#.#...#.#."
                                            "...#.....#.."
                                            "............", 3},
        // Too short for a segment, or backwards: nothing.
        {4, 5, 1, {0, 0, kWidth, kHeight}, nullptr},
        {4, 6, 1, {0, 0, kWidth, kHeight}, nullptr, 3},
        {6, 2, 1, {0, 0, kWidth, kHeight}, nullptr},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels(kWidth * kHeight, 0);
        PaintZigzag(pixels.data(), kWidth, c.clip, c.start, c.end, c.baseLine, 7, c.step);
        std::string picture;
        for (uint32_t p : pixels) picture += p == 7 ? '#' : p == 0 ? '.' : '?';
        EXPECT_EQ(picture, c.picture ? c.picture : std::string(kWidth * kHeight, '.')) << "from " << c.start << " to " << c.end;
    }
}

TEST(SpellMenu, EntriesHintsAndAmpersands) {
    EXPECT_TRUE(SpellMenuEntries("hello", true, {"x"}, true, true).empty()) << "a correct word has no entries";
    auto entries = SpellMenuEntries("wrold", false, {"world", "would"}, true, true);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].caption, "world");
    EXPECT_EQ(entries[0].hint, "|Change word to \"world\"");
    EXPECT_EQ(entries[1].caption, "would");
    EXPECT_EQ(entries[2].action, SpellMenuAction::Separator);
    EXPECT_EQ(entries[2].caption, "-");
    EXPECT_EQ(entries[3].caption, "Ignore \"wrold\"");
    EXPECT_EQ(entries[3].hint, "|Ignore all occurrences of \"wrold\"");
    EXPECT_EQ(entries[4].caption, "Add \"wrold\"");
    EXPECT_EQ(entries[4].hint, "|Add \"wrold\" to the custom dictionary");
    entries = SpellMenuEntries("wrold", false, {}, true, false);
    ASSERT_EQ(entries.size(), 2u) << "without the custom list: separator and Ignore only";
    EXPECT_EQ(entries.back().action, SpellMenuAction::Ignore);
    EXPECT_EQ(SpellMenuEntries("wrold", false, {"world"}, false, true).size(), 1u);
    EXPECT_TRUE(SpellMenuEntries("qqq", false, {}, false, true).empty());
    EXPECT_EQ(WithoutAmpersands("R&&D &x"), "RD x");
}

TEST(SpellFiles, DictionaryHeadAndWordLists) {
    EXPECT_TRUE(LooksLikeDictionary("49568\nhello/S\n"));
    EXPECT_TRUE(LooksLikeDictionary("\xEF\xBB\xBF" "12 \r\nx"));
    EXPECT_TRUE(LooksLikeDictionary("3"));
    EXPECT_FALSE(LooksLikeDictionary("hello\n"));
    EXPECT_FALSE(LooksLikeDictionary(""));
    EXPECT_FALSE(LooksLikeDictionary("12x\n"));
    EXPECT_FALSE(LooksLikeDictionary("\x00\x01garbage"));
    using W = std::vector<std::string>;
    EXPECT_EQ(ParseWordList("one\r\ntwo\nthree\rfour"), (W{"one", "two", "three", "four"}));
    EXPECT_EQ(ParseWordList("\r\n\r\na\r\n\r\n"), W{"a"});
    EXPECT_EQ(ParseWordList("dup\r\ndup\r\n"), (W{"dup", "dup"})) << "duplicates are kept";
    EXPECT_EQ(ParseWordList(""), W{});
    EXPECT_EQ(FormatWordList({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(ParseWordList(FormatWordList({"x y", "z"})), (W{"x y", "z"}));
    // Saved words keep their order (and their duplicates); added ones follow once.
    EXPECT_EQ(MergeWordLists({"b", "a", "b"}, {"c", "a", "c", "B"}), (W{"b", "a", "b", "c", "B"}));
    EXPECT_EQ(MergeWordLists({}, {"x", "x"}), W{"x"});
}

} // namespace
} // namespace qor
