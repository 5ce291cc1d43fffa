// The remembered verdicts: found by the same bytes only, through growth and
// collisions, and forgotten when the word or byte limit is reached.
#include "smartedit/SpellVerdicts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qor {
namespace {

using V = SpellVerdicts::Verdict;

TEST(SpellVerdicts, AgreesWithAMapThroughGrowth) {
    // Starts with room for 4 words: thousands force many growths.
    SpellVerdicts verdicts(1000000, 1 << 24, 4);
    std::map<std::string, bool> expected;
    for (int i = 0; i < 5000; ++i) {
        std::string word = "w" + std::to_string(i * 7919 % 100003);
        if (expected.count(word)) continue;
        ASSERT_EQ(verdicts.Find(word), V::Unknown) << word;
        verdicts.Remember(word, i % 3 == 0);
        expected[word] = i % 3 == 0;
    }
    EXPECT_EQ(verdicts.Size(), expected.size());
    for (const auto& [word, correct] : expected)
        ASSERT_EQ(verdicts.Find(word), correct ? V::Correct : V::Rejected) << word;
    for (const char* absent : {"", "w", "w1x", "W0", "w0 "}) EXPECT_EQ(verdicts.Find(absent), V::Unknown) << absent;
}

TEST(SpellVerdicts, TellsWordsApartByEveryByte) {
    SpellVerdicts verdicts(100, 1000, 4);
    const std::string nul("a\0b", 3);
    verdicts.Remember("ab", true);
    verdicts.Remember(nul, false);
    verdicts.Remember("\xE9t\xE9", false);
    verdicts.Remember("", true);
    EXPECT_EQ(verdicts.Find("ab"), V::Correct);
    EXPECT_EQ(verdicts.Find(nul), V::Rejected);
    EXPECT_EQ(verdicts.Find("a"), V::Unknown);
    EXPECT_EQ(verdicts.Find("\xE9t\xE9"), V::Rejected);
    EXPECT_EQ(verdicts.Find("\xC9T\xC9"), V::Unknown);
    EXPECT_EQ(verdicts.Find(""), V::Correct);
}

TEST(SpellVerdicts, StartsOverAtTheWordOrByteLimitAndOnClear) {
    struct Case {
        size_t mostWords, mostBytes;
        int remembered;   // words "w0".."wN-1" (2-3 bytes)
        size_t sizeAfter; // what is left
    } cases[] = {
        {3, 1000, 3, 3}, // at the limit: all kept
        {3, 1000, 4, 1}, // one past: only the newest
        {100, 6, 3, 3},  // 6 bytes exactly
        {100, 6, 4, 1},  // the 7th byte starts over
    };
    for (const Case& c : cases) {
        SpellVerdicts verdicts(c.mostWords, c.mostBytes, 2);
        for (int i = 0; i < c.remembered; ++i) verdicts.Remember("w" + std::to_string(i), true);
        EXPECT_EQ(verdicts.Size(), c.sizeAfter) << c.mostWords << " words, " << c.mostBytes << " bytes";
        const std::string newest = "w" + std::to_string(c.remembered - 1);
        EXPECT_EQ(verdicts.Find(newest), V::Correct);
        EXPECT_EQ(verdicts.Find("w0"), c.sizeAfter == static_cast<size_t>(c.remembered) ? V::Correct : V::Unknown);
    }
    SpellVerdicts verdicts(100, 100, 2);
    verdicts.Remember("long enough to pass nothing", false);
    verdicts.Clear();
    EXPECT_EQ(verdicts.Size(), 0u);
    EXPECT_EQ(verdicts.Find("long enough to pass nothing"), V::Unknown);
    verdicts.Remember(std::string(101, 'x'), false);
    EXPECT_EQ(verdicts.Size(), 0u) << "a word longer than the byte limit is not kept";
}

} // namespace
} // namespace qor
