// The CheckListBox's rules: kinds and codes, toggling, radio behaviour,
// individual variable values, state collections and item line parsing.
#include "checklist/CheckListRules.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

using S = CheckState;

TEST(CheckListCodes, KindsAndStates) {
    EXPECT_EQ(CheckKindFromCode("0"), CheckKind::Box);
    EXPECT_EQ(CheckKindFromCode("1"), CheckKind::Mark);
    EXPECT_EQ(CheckKindFromCode("2"), CheckKind::Radio);
    EXPECT_EQ(CheckKindFromCode("3"), CheckKind::Box);
    EXPECT_EQ(CheckKindFromCode(""), CheckKind::Box);
    EXPECT_EQ(CheckKindFromCode(" 2"), CheckKind::Box);
    CheckState state = S::Checked;
    EXPECT_TRUE(StateFromCode("0", state));
    EXPECT_EQ(state, S::Grayed);
    EXPECT_TRUE(StateFromCode("1", state));
    EXPECT_EQ(state, S::Checked);
    EXPECT_TRUE(StateFromCode("2", state));
    EXPECT_EQ(state, S::Unchecked);
    EXPECT_FALSE(StateFromCode("3", state));
    EXPECT_FALSE(StateFromCode("", state));
    EXPECT_EQ(state, S::Unchecked) << "an unknown code leaves the state alone";
}

TEST(CheckListToggle, CyclesWithAndWithoutGray) {
    EXPECT_EQ(ToggledState(S::Unchecked, true), S::Grayed);
    EXPECT_EQ(ToggledState(S::Grayed, true), S::Checked);
    EXPECT_EQ(ToggledState(S::Checked, true), S::Unchecked);
    EXPECT_EQ(ToggledState(S::Unchecked, false), S::Checked);
    EXPECT_EQ(ToggledState(S::Checked, false), S::Unchecked);
    EXPECT_EQ(ToggledState(S::Grayed, false), S::Checked);
    EXPECT_TRUE(GrayAllowed(CheckKind::Box, true));
    EXPECT_TRUE(GrayAllowed(CheckKind::Mark, true));
    EXPECT_FALSE(GrayAllowed(CheckKind::Radio, true));
    EXPECT_FALSE(GrayAllowed(CheckKind::Box, false));
}

TEST(CheckListPlan, BoxesChangeOnlyTheItemAndOnlyWhenDifferent) {
    const std::vector<S> states = {S::Unchecked, S::Checked, S::Grayed};
    auto plan = PlanStateChange(states, 0, S::Checked, CheckKind::Box);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].index, 0);
    EXPECT_EQ(plan[0].state, S::Checked);
    EXPECT_TRUE(plan[0].notify);
    EXPECT_TRUE(PlanStateChange(states, 1, S::Checked, CheckKind::Mark).empty());
    plan = PlanStateChange(states, 2, S::Unchecked, CheckKind::Mark);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].state, S::Unchecked);
    EXPECT_TRUE(PlanStateChange(states, 3, S::Checked, CheckKind::Box).empty());
    EXPECT_TRUE(PlanStateChange(states, -1, S::Checked, CheckKind::Box).empty());
}

TEST(CheckListPlan, RadioKeepsExactlyOneCheckedItem) {
    const std::vector<S> states = {S::Checked, S::Unchecked, S::Unchecked};
    auto plan = PlanStateChange(states, 2, S::Checked, CheckKind::Radio);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].index, 0);
    EXPECT_EQ(plan[0].state, S::Unchecked);
    EXPECT_FALSE(plan[0].notify) << "the item unchecked by the radio rule raises nothing";
    EXPECT_EQ(plan[1].index, 2);
    EXPECT_EQ(plan[1].state, S::Checked);
    EXPECT_TRUE(plan[1].notify);
    EXPECT_TRUE(PlanStateChange(states, 0, S::Unchecked, CheckKind::Radio).empty()) << "unchecking is refused";
    EXPECT_TRUE(PlanStateChange(states, 0, S::Grayed, CheckKind::Radio).empty());
    EXPECT_TRUE(PlanStateChange(states, 1, S::Grayed, CheckKind::Radio).empty()) << "gray reads as unchecked";
    EXPECT_TRUE(PlanStateChange(states, 0, S::Checked, CheckKind::Radio).empty());
    const std::vector<S> none = {S::Unchecked, S::Unchecked};
    plan = PlanStateChange(none, 1, S::Checked, CheckKind::Radio);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].index, 1);
}

TEST(CheckListValues, IndividualValuesAndCollections) {
    EXPECT_STREQ(IndividualValue(S::Checked), "Checked");
    EXPECT_STREQ(IndividualValue(S::Grayed), "Grayed");
    EXPECT_STREQ(IndividualValue(S::Unchecked), "");
    const auto c = CollectStates({"A", "B", "C", "D", "E"}, {S::Checked, S::Unchecked, S::Checked, S::Grayed, S::Unchecked});
    EXPECT_EQ(c.checked, "A\r\nC");
    EXPECT_EQ(c.unchecked, "B\r\nE");
    EXPECT_EQ(c.grayed, "D");
    const auto empty = CollectStates({}, {});
    EXPECT_EQ(empty.checked, "");
    EXPECT_EQ(empty.unchecked, "");
    const auto blanks = CollectStates({"", ""}, {S::Unchecked, S::Unchecked});
    EXPECT_EQ(blanks.unchecked, "\r\n") << "empty items still take their line";
}

TEST(CheckListLines, NumbersSkipWhatIsNotAnItem) {
    EXPECT_EQ(IndexesFromNumberLines({"7", "x", "2"}, 3), std::vector<int>{1});
    EXPECT_EQ(IndexesFromNumberLines({"3", "1", "0", "-1", "", " 2", "$2"}, 3), (std::vector<int>{2, 0, 1, 1}));
    EXPECT_EQ(IndexesFromNumberLines({"1"}, 0), std::vector<int>{});
    const auto set = LoweredLineSet({"Red", "GREEN", "\xC4rger"});
    EXPECT_EQ(set.size(), 3u);
    EXPECT_TRUE(set.count("red"));
    EXPECT_TRUE(set.count("green"));
    EXPECT_TRUE(set.count("\xE4rger"));
}

} // namespace
} // namespace qor
