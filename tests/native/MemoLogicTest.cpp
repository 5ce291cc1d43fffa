// The SmartEdit's command words, information items, style codes and line
// rules.
#include "smartedit/MemoLogic.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(MemoCommands, EveryActionWordParsesToItsOwnCommand) {
    const std::pair<int, MemoCommand> expected[] = {
        {29, MemoCommand::Undo},        {30, MemoCommand::Redo},         {31, MemoCommand::ClearUndo},
        {32, MemoCommand::Cut},         {33, MemoCommand::Copy},         {34, MemoCommand::Paste},
        {35, MemoCommand::Delete},      {36, MemoCommand::SelectAll},    {37, MemoCommand::DeselectAll},
        {38, MemoCommand::Clear},       {39, MemoCommand::ScrollToCaret}, {40, MemoCommand::ScrollLine},
        {41, MemoCommand::SelectText},  {43, MemoCommand::SetCaretPos},
    };
    for (const auto& [id, command] : expected) {
        SCOPED_TRACE(id);
        EXPECT_EQ(MemoCommandFromWord(MemoCommandWordForAction(id)), command);
    }
    EXPECT_STREQ(MemoCommandWordForAction(42), "");
    EXPECT_STREQ(MemoCommandWordForAction(28), "");
}

TEST(MemoCommands, WordsCompareExactly) {
    EXPECT_EQ(MemoCommandFromWord("Undo"), MemoCommand::Unknown);
    EXPECT_EQ(MemoCommandFromWord("undo "), MemoCommand::Unknown);
    EXPECT_EQ(MemoCommandFromWord("selectall"), MemoCommand::Unknown);
    EXPECT_EQ(MemoCommandFromWord(""), MemoCommand::Unknown);
    EXPECT_EQ(MemoCommandFromWord("clear"), MemoCommand::Clear);
    EXPECT_EQ(MemoCommandFromWord("clear undo"), MemoCommand::ClearUndo);
}

TEST(MemoInfo, ItemNumbersAreExactDecimalTexts) {
    EXPECT_EQ(MemoInfoItemFromText("0"), 0);
    EXPECT_EQ(MemoInfoItemFromText("7"), 7);
    EXPECT_EQ(MemoInfoItemFromText("11"), 11);
    EXPECT_EQ(MemoInfoItemFromText("12"), -1);
    EXPECT_EQ(MemoInfoItemFromText("01"), -1);
    EXPECT_EQ(MemoInfoItemFromText(" 1"), -1);
    EXPECT_EQ(MemoInfoItemFromText("-1"), -1);
    EXPECT_EQ(MemoInfoItemFromText(""), -1);
    const auto& names = MemoInfoItemNames();
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names[0], "SelectedText");
    EXPECT_EQ(names[2], "FirstVisibleLineNo");
    EXPECT_EQ(names[6], "CaretPositionX");
    EXPECT_EQ(names[11], "ScrollBars");
}

TEST(MemoStyleCodes, ScrollBarsAndAlignment) {
    EXPECT_EQ(MemoScrollBarsFromCode("0"), MemoScrollBars::Vertical);
    EXPECT_EQ(MemoScrollBarsFromCode("1"), MemoScrollBars::Horizontal);
    EXPECT_EQ(MemoScrollBarsFromCode("2"), MemoScrollBars::None);
    EXPECT_EQ(MemoScrollBarsFromCode("3"), MemoScrollBars::Both);
    EXPECT_EQ(MemoScrollBarsFromCode("4"), MemoScrollBars::Keep);
    EXPECT_EQ(MemoScrollBarsFromCode(""), MemoScrollBars::Keep);
    EXPECT_EQ(MemoAlignmentFromCode("0"), MemoAlignment::Center);
    EXPECT_EQ(MemoAlignmentFromCode("1"), MemoAlignment::Left);
    EXPECT_EQ(MemoAlignmentFromCode("2"), MemoAlignment::Right);
    EXPECT_EQ(MemoAlignmentFromCode("3"), MemoAlignment::Keep);
    EXPECT_EQ(MemoScrollBarsName(false, false), "No Scroll");
    EXPECT_EQ(MemoScrollBarsName(true, false), "Horizontal");
    EXPECT_EQ(MemoScrollBarsName(false, true), "Vertical");
    EXPECT_EQ(MemoScrollBarsName(true, true), "Both");
}

TEST(MemoLines, FinalLineBreakAndSplitting) {
    EXPECT_EQ(WithoutFinalLineBreak("a\r\nb\r\n"), "a\r\nb");
    EXPECT_EQ(WithoutFinalLineBreak("a\r\nb"), "a\r\nb");
    EXPECT_EQ(WithoutFinalLineBreak("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(WithoutFinalLineBreak("a\n"), "a\n");
    EXPECT_EQ(WithoutFinalLineBreak(""), "");
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(SplitEditLines(""), Lines{});
    EXPECT_EQ(SplitEditLines("abc\r\n"), Lines{"abc"});
    EXPECT_EQ(SplitEditLines("abc"), Lines{"abc"});
    EXPECT_EQ(SplitEditLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitEditLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitEditLines("a\nb\rc"), Lines{"a\nb\rc"}) << "only CR LF breaks an edit line";
}

} // namespace
} // namespace qor
