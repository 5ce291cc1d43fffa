// The search over plain item texts shared by the SmartEdit and the CheckListBox.
#include "lists/PlainItemSearch.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(PlainSearch, ExactPartialAndOtherCodes) {
    const std::vector<std::string> items = {"Apple pie", "banana", "APPLE", "apple", "", "Crab apple"};
    auto at = [&](int i) -> std::string_view { return items[i]; };
    const int n = static_cast<int>(items.size());
    using R = std::vector<std::string>;
    EXPECT_EQ(FindPlainMatches(n, at, "0", "0", "apple"), (R{"3", "4"}));
    EXPECT_EQ(FindPlainMatches(n, at, "0", "1", "aPPle"), (R{"1", "3", "4", "6"}));
    EXPECT_EQ(FindPlainMatches(n, at, "0", "1", ""), R{}) << "the empty text is contained in nothing";
    EXPECT_EQ(FindPlainMatches(n, at, "0", "0", ""), R{"5"}) << "exact search finds the empty item";
    EXPECT_EQ(FindPlainMatches(n, at, "0", "2", "apple"), R{}) << "no columns in plain items";
    EXPECT_EQ(FindPlainMatches(n, at, "2", "0", "apple"), R{});
    EXPECT_EQ(FindPlainMatches(n, at, " 0", "0", "apple"), R{});
    EXPECT_EQ(FindPlainMatches(0, at, "0", "1", "a"), R{});
}

TEST(PlainSearch, FindItemGivesTheFirstEqualItemOrZero) {
    const std::vector<std::string> items = {"Red", "green", "GREEN", "\xC4rger"};
    auto at = [&](int i) -> std::string_view { return items[i]; };
    EXPECT_EQ(FindPlainItem(4, at, "GrEeN"), "2");
    EXPECT_EQ(FindPlainItem(4, at, "red"), "1");
    EXPECT_EQ(FindPlainItem(4, at, "\xE4rger"), "4") << "accented letters fold under the ANSI mapping";
    EXPECT_EQ(FindPlainItem(4, at, "gree"), "0");
    EXPECT_EQ(FindPlainItem(4, at, ""), "0");
    EXPECT_EQ(FindPlainItem(0, at, "red"), "0");
}

} // namespace
} // namespace qor
