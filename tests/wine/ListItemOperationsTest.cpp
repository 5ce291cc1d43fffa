// The ten list item actions on real DropDowns and ListBoxes: positions and
// item numbers, failures that leave the list untouched, rows that travel with
// their items, the extended search and its cursor, sorting, and the value
// update (variable and OnChange) that follows every change.
#include <gtest/gtest.h>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using qorhost::LogEntry;
using qorhost::LogKind;
using Strings = std::vector<std::string>;

namespace {

const char kNoList[] = "There is no dropdown/listbox/smartedit/checklistbox control attached to an object named ";
const char kNoSortable[] = "There is no dropdown/listbox/checklistbox control attached to an object named ";

class ListItem : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 120);
        host.Activate();
    }

    bool DropDown(const std::string& items, const std::string& mode = "0", const std::string& resultMode = "1",
                  const std::string& column = "0", const std::string& delimiter = "", const std::string& noDup = "0",
                  const std::string& var = "[Value]") {
        return host.Exec("qorCreateDropDown",
                         {"Rect1", "0", noDup, items, mode, column, delimiter, "0", resultMode, var});
    }
    bool ListBox(const std::string& items, const std::string& mode = "0", const std::string& resultMode = "1",
                 const std::string& column = "0", const std::string& delimiter = "", const std::string& noDup = "0",
                 const std::string& style = "0") {
        return host.Exec("qorCreateListBox",
                         {"Rect1", "0", noDup, items, mode, column, delimiter, style, resultMode, "[Value]"});
    }
    bool Add(const std::string& at, const std::string& text) { return host.Exec("qorListAddItem", {"Rect1", at, text}); }
    bool Change(const std::string& at, const std::string& text) {
        return host.Exec("qorListChangeItem", {"Rect1", at, text});
    }
    bool Delete(const std::string& at) { return host.Exec("qorListDeleteItem", {"Rect1", at}); }
    bool Move(const std::string& from, const std::string& to) {
        return host.Exec("qorListMoveItem", {"Rect1", from, to});
    }
    std::string Get(const std::string& at) {
        EXPECT_TRUE(host.Exec("qorListGetItem", {"Rect1", at, "[Got]"}));
        return host.Var("[Got]");
    }
    std::string Find(const std::string& text) {
        EXPECT_TRUE(host.Exec("qorListFindItem", {"Rect1", text, "[Found]"}));
        return host.Var("[Found]");
    }
    std::string Size() {
        EXPECT_TRUE(host.Exec("qorListSize", {"Rect1", "[Size]"}));
        return host.Var("[Size]");
    }
    bool FindEx(const std::string& in, const std::string& match, const std::string& column, const std::string& text) {
        return host.Exec("qorListFindItemEx", {"Rect1", in, match, column, text, "[Hit]"});
    }
    bool Next() { return host.Exec("qorListFindNextItemEx", {"Rect1", "[Hit]"}); }
    Strings Shown() {
        HWND form = host.ControlWindow("Rect1");
        if (HWND combo = qortest::ComboOf(form)) return qortest::ComboTexts(combo);
        return qortest::ListBoxTexts(qortest::ListBoxOf(form));
    }
    void KeepError() { host.SetVar("[qorBrindavelLastError]", "earlier"); }

    HostEmulator host;
};

// ---- finding the control ------------------------------------------------------------

TEST_F(ListItem, WithoutAListEveryActionReportsAndStillSucceeds) {
    const std::vector<std::pair<std::string, Strings>> actions = {
        {"qorListAddItem", {"Rect1", "0", "x"}},
        {"qorListChangeItem", {"Rect1", "1", "x"}},
        {"qorListDeleteItem", {"Rect1", "1"}},
        {"qorListFindItem", {"Rect1", "x", "[V]"}},
        {"qorListGetItem", {"Rect1", "1", "[V]"}},
        {"qorListMoveItem", {"Rect1", "1", "2"}},
        {"qorListSize", {"Rect1", "[V]"}},
        {"qorListFindItemEx", {"Rect1", "0", "0", "", "x", "[V]"}},
        {"qorListFindNextItemEx", {"Rect1", "[V]"}},
    };
    for (const auto& action : actions) {
        SCOPED_TRACE(action.first);
        KeepError();
        EXPECT_TRUE(host.Exec(action.first, action.second));
        EXPECT_EQ(host.LastError(), std::string(kNoList) + "Rect1.");
    }
    EXPECT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(host.LastError(), std::string(kNoSortable) + "Rect1.");
    EXPECT_FALSE(host.HasVar("[V]"));
}

TEST_F(ListItem, ControlsOfOtherKindsAreNotLists) {
    // A test-build probe registered as a SmartEdit offers no list operations.
    ASSERT_TRUE(host.Exec(1004, {"Rect1", "", "", ""}));
    EXPECT_TRUE(host.Exec("qorListSize", {"Rect1", "[V]"}));
    EXPECT_EQ(host.LastError(), std::string(kNoList) + "Rect1.");
    EXPECT_TRUE(host.Exec("qorListSort", {"rect1", "0"}));
    EXPECT_EQ(host.LastError(), std::string(kNoSortable) + "rect1.");
}

TEST_F(ListItem, SizeCountsItemsOfBothKindsFoundByNameInAnyAsciiCase) {
    ASSERT_TRUE(ListBox("a\nb\nc"));
    KeepError();
    EXPECT_TRUE(host.Exec("qorListSize", {"RECT1", "[Size]"}));
    EXPECT_EQ(host.Var("[Size]"), "3");
    EXPECT_EQ(host.LastError(), "earlier");
    ASSERT_TRUE(DropDown(""));
    EXPECT_EQ(Size(), "0");
    ASSERT_TRUE(DropDown("a\nb", "5"));
    host.SetVar("[Size]", "untouched");
    EXPECT_EQ(Size(), "untouched") << "an unknown items mode writes nothing";
}

// ---- add, change, delete ------------------------------------------------------------------

TEST_F(ListItem, AddAppendsForZeroOrLessAndInsertsAtANumber) {
    ASSERT_TRUE(DropDown("b\nc"));
    ASSERT_TRUE(Add("0", "d"));
    ASSERT_TRUE(Add("-3", "e"));
    ASSERT_TRUE(Add("1", "a"));
    EXPECT_EQ(Shown(), (Strings{"a", "b", "c", "d", "e"}));
    ASSERT_TRUE(Add("6", "f"));
    EXPECT_EQ(Shown().back(), "f");
    KeepError();
    EXPECT_FALSE(Add("8", "g"));
    EXPECT_EQ(host.LastError(), "Unable to insert a line");
    EXPECT_FALSE(Add("two", "g"));
    EXPECT_EQ(host.LastError(), "'two' is not a valid integer value");
    EXPECT_EQ(Shown(), (Strings{"a", "b", "c", "d", "e", "f"})) << "failed adds leave the list as it was";
}

TEST_F(ListItem, ArrayAddAndChangeKeepRowsBesideTheirItems) {
    ASSERT_TRUE(ListBox("1;Ann;Leeds", "1", "1", "1", ";"));
    ASSERT_TRUE(Add("0", "2;Bob;York\r\n3;Cid;Hull"));
    ASSERT_TRUE(Add("1", "4;Dan\r\n5;Eve"));
    EXPECT_EQ(Shown(), (Strings{"Eve", "Dan", "Ann", "Bob", "Cid"})) << "lines inserted at a position end up reversed";
    EXPECT_EQ(Get("@2"), "4;Dan");
    ASSERT_TRUE(Change("3", "9;Zoe;Ely"));
    EXPECT_EQ(Shown()[2], "Zoe");
    EXPECT_EQ(Get("@3"), "9;Zoe;Ely");
    ASSERT_TRUE(Add("0", ""));
    EXPECT_EQ(Size(), "6");
    EXPECT_EQ(Get("@6"), "");
}

TEST_F(ListItem, NoDuplicatesRefusesAddsAndChangesInOtherCase) {
    ASSERT_TRUE(DropDown("Apple\nPear", "0", "1", "0", "", "1"));
    ASSERT_TRUE(Add("0", "APPLE"));
    EXPECT_EQ(Shown(), (Strings{"Apple", "Pear"}));
    ASSERT_TRUE(Change("1", "apple"));
    EXPECT_EQ(Shown(), (Strings{"Apple", "Pear"})) << "its own text in other case changes nothing";
    ASSERT_TRUE(Change("1", "Fig"));
    EXPECT_EQ(Shown(), (Strings{"Fig", "Pear"}));
    ASSERT_TRUE(ListBox("1;a\n2;b", "1", "1", "1", ";", "1"));
    ASSERT_TRUE(Add("0", "1;A"));
    ASSERT_TRUE(Add("0", "3;a"));
    EXPECT_EQ(Shown(), (Strings{"a", "b", "a"})) << "Array mode compares whole rows";
}

TEST_F(ListItem, ChangeOutsideTheListFailsOnADropDown) {
    ASSERT_TRUE(DropDown("a\nb"));
    EXPECT_FALSE(Change("3", "x"));
    EXPECT_EQ(host.LastError(), "List index out of bounds (2)");
    EXPECT_FALSE(Change("0", "x"));
    EXPECT_EQ(host.LastError(), "List index out of bounds (-1)");
    EXPECT_FALSE(Change("y", "x"));
    EXPECT_EQ(host.LastError(), "'y' is not a valid integer value");
    EXPECT_EQ(Shown(), (Strings{"a", "b"}));
}

TEST_F(ListItem, DeleteAllZeroAndPositionsOutsideTheList) {
    ASSERT_TRUE(ListBox("a\nb\nc"));
    KeepError();
    EXPECT_FALSE(Delete("0"));
    EXPECT_EQ(host.LastError(), "earlier") << "item 0 fails without a message";
    EXPECT_TRUE(Delete("9"));
    EXPECT_EQ(Shown(), (Strings{"a", "b", "c"})) << "String mode ignores positions outside the list";
    EXPECT_TRUE(Delete("2"));
    EXPECT_EQ(Shown(), (Strings{"a", "c"}));
    EXPECT_TRUE(Delete("ALL"));
    EXPECT_EQ(Shown(), Strings{});
    ASSERT_TRUE(DropDown("1;a\n2;b", "1", "1", "1", ";"));
    EXPECT_FALSE(Delete("5"));
    EXPECT_EQ(host.LastError(), "List index out of bounds (4)");
    EXPECT_EQ(Shown(), (Strings{"a", "b"}));
    EXPECT_TRUE(Delete("all"));
    EXPECT_EQ(Size(), "0");
}

// ---- find and get ----------------------------------------------------------------------------

TEST_F(ListItem, FindAndGetItems) {
    ASSERT_TRUE(DropDown("1;Ann;Leeds\n2;Bob;York", "1", "1", "1", ";"));
    EXPECT_EQ(Find("BOB"), "2");
    EXPECT_EQ(Find("nobody"), "0");
    EXPECT_EQ(Get("all"), "Ann\r\nBob");
    EXPECT_EQ(Get("@all"), "1;Ann;Leeds\r\n2;Bob;York");
    EXPECT_EQ(Get("@2"), "2;Bob;York");
    EXPECT_EQ(Get("@@2"), "2;Bob;York");
    EXPECT_EQ(Get("2"), "Bob");
    EXPECT_EQ(Get("3"), "");
    host.SetVar("[Got]", "old");
    KeepError();
    EXPECT_FALSE(host.Exec("qorListGetItem", {"Rect1", "0", "[Got]"}));
    EXPECT_EQ(host.Var("[Got]"), "");
    EXPECT_EQ(host.LastError(), "earlier");
    EXPECT_FALSE(host.Exec("qorListGetItem", {"Rect1", "@x", "[Got]"}));
    EXPECT_EQ(host.LastError(), "'x' is not a valid integer value");
    ASSERT_TRUE(ListBox("one\ntwo"));
    EXPECT_EQ(Get("@2"), "two") << "String-mode lists have no rows";
    EXPECT_EQ(Get("ALL"), "one\r\ntwo");
}

// ---- move and sort ----------------------------------------------------------------------------

TEST_F(ListItem, MoveCarriesTheRowAndTheSelectionAndFailuresKeepTheItem) {
    ASSERT_TRUE(DropDown("0;a\n1;b\n2;c\n3;d", "1", "0", "1", ";"));
    ASSERT_TRUE(host.Exec("qorDropDownCaptureEvents", {"Rect1", "Changed", "", ""}));
    ASSERT_TRUE(host.Exec("qorDropDownSelect", {"Rect1", "1", "0"}));
    EXPECT_EQ(host.Var("[Value]"), "1");
    host.ClearLog();
    ASSERT_TRUE(Move("1", "3"));
    EXPECT_EQ(Shown(), (Strings{"b", "c", "a", "d"}));
    EXPECT_EQ(Get("@3"), "0;a");
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Value]", "3"},
        {LogKind::ScriptLine, "", "GoSub \"Changed\""},
        {LogKind::SetVariable, "[Got]", "0;a"},
    };
    EXPECT_EQ(host.log(), expected) << "the selected item moved: new value, then OnChange";
    EXPECT_FALSE(Move("5", "1"));
    EXPECT_EQ(host.LastError(), "List index out of bounds (4)");
    EXPECT_FALSE(Move("1", "5"));
    EXPECT_EQ(host.LastError(), "Unable to insert a line");
    EXPECT_FALSE(Move("x", "y"));
    EXPECT_EQ(host.LastError(), "'y' is not a valid integer value") << "the new number is converted first";
    EXPECT_EQ(Shown(), (Strings{"b", "c", "a", "d"}));
    EXPECT_EQ(Get("@all"), "1;b\r\n2;c\r\n0;a\r\n3;d");
}

TEST_F(ListItem, SortSortsAtOnceAndKeepsLaterAppendsInOrderUntilSwitchedOff) {
    ASSERT_TRUE(ListBox("3;pear\n1;Apple\n2;fig", "1", "1", "1", ";", "0", "1"));
    ASSERT_TRUE(host.Exec("qorListBoxSelect", {"Rect1", "3;pear", "2"}));
    EXPECT_EQ(host.Var("[Value]"), "3;pear");
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(Shown(), (Strings{"Apple", "fig", "pear"}));
    EXPECT_EQ(Get("@all"), "1;Apple\r\n2;fig\r\n3;pear");
    EXPECT_EQ(qortest::SelectedItems(qortest::ListBoxOf(host.ControlWindow("Rect1"))), std::vector<int>{2});
    ASSERT_TRUE(Add("0", "4;banana"));
    EXPECT_EQ(Shown(), (Strings{"Apple", "banana", "fig", "pear"}));
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "1"}));
    ASSERT_TRUE(Add("0", "5;aaa"));
    EXPECT_EQ(Shown(), (Strings{"Apple", "banana", "fig", "pear", "aaa"}));
    ASSERT_TRUE(DropDown("b\nC\na"));
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(Shown(), (Strings{"a", "b", "C"}));
}

TEST_F(ListItem, DropDownSelectionStaysWithItsItemThroughSortMoveAndChange) {
    ASSERT_TRUE(DropDown("c\nb\na"));
    HWND combo = qortest::ComboOf(host.ControlWindow("Rect1"));
    ASSERT_TRUE(host.Exec("qorDropDownSelect", {"Rect1", "2", "0"}));
    ASSERT_EQ(host.Var("[Value]"), "b");
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(Shown(), (Strings{"a", "b", "c"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(host.Var("[Value]"), "b");
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "1"}));
    ASSERT_TRUE(Move("3", "1"));
    EXPECT_EQ(Shown(), (Strings{"c", "a", "b"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    ASSERT_TRUE(Move("1", "2"));
    EXPECT_EQ(Shown(), (Strings{"a", "c", "b"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2) << "moves that pass by leave it in place";
    ASSERT_TRUE(Change("3", "bee"));
    EXPECT_EQ(Shown(), (Strings{"a", "c", "bee"}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(host.Var("[Value]"), "bee") << "the value follows the changed item";
    ASSERT_TRUE(Change("1", "ant"));
    EXPECT_EQ(host.Var("[Value]"), "bee");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListItem, ZeroMeansNothingOnlyWhenWrittenExactlyAsZero) {
    ASSERT_TRUE(ListBox("a\nb\nc"));
    EXPECT_FALSE(Delete("0"));
    EXPECT_EQ(Size(), "3");
    EXPECT_EQ(Get("00"), "a\r\nb\r\nc") << "any other spelling of zero is position -1: every item";
    EXPECT_TRUE(Delete("+0"));
    EXPECT_EQ(Size(), "0");
}

// ---- extended search -----------------------------------------------------------------------------

TEST_F(ListItem, PartialSearchThenFindNextRunsThroughTheMatches) {
    ASSERT_TRUE(DropDown("red apple\ngreen\nApple pie\npineapple"));
    ASSERT_TRUE(FindEx("0", "1", "", "APPLE"));
    EXPECT_EQ(host.Var("[Hit]"), "1");
    for (const char* expected : {"3", "4", ""}) {
        ASSERT_TRUE(Next());
        EXPECT_EQ(host.Var("[Hit]"), expected);
    }
    host.ClearLog();
    ASSERT_TRUE(Next());
    EXPECT_TRUE(host.WritesTo("[Hit]").empty()) << "past the end nothing is written";
    ASSERT_TRUE(FindEx("0", "1", "", ""));
    EXPECT_EQ(host.Var("[Hit]"), "") << "a partial search for nothing matches nothing";
    ASSERT_TRUE(FindEx("0", "0", "", "GREEN"));
    EXPECT_EQ(host.Var("[Hit]"), "2");
}

TEST_F(ListItem, ItemChangesEmptyTheSearchState) {
    ASSERT_TRUE(ListBox("ab\nabc\nabcd"));
    ASSERT_TRUE(FindEx("0", "1", "", "ab"));
    ASSERT_TRUE(Add("0", "x"));
    host.ClearLog();
    ASSERT_TRUE(Next());
    EXPECT_TRUE(host.WritesTo("[Hit]").empty());
    ASSERT_TRUE(FindEx("0", "1", "", "ab"));
    ASSERT_TRUE(Find("abc") == "2");
    ASSERT_TRUE(Next()) << "find and get leave the search state alone";
    EXPECT_EQ(host.Var("[Hit]"), "2");
}

TEST_F(ListItem, ArraySearchesOnRowsAndColumns) {
    ASSERT_TRUE(DropDown("1;Ann;Leeds\n2;Bob;York\n3;;Hull\n4;ann;Ely", "1", "1", "1", ";"));
    ASSERT_TRUE(FindEx("1", "2", "1", "ANN"));
    EXPECT_EQ(host.Var("[Hit]"), "1");
    ASSERT_TRUE(Next());
    EXPECT_EQ(host.Var("[Hit]"), "4");
    ASSERT_TRUE(FindEx("1", "2", "1", "1"));
    EXPECT_EQ(host.Var("[Hit]"), "") << "only the first column holds the text";
    ASSERT_TRUE(FindEx("1", "1", "", "york"));
    EXPECT_EQ(host.Var("[Hit]"), "2");
    ASSERT_TRUE(FindEx("1", "0", "", "3;;HULL"));
    EXPECT_EQ(host.Var("[Hit]"), "3");
    EXPECT_FALSE(FindEx("1", "2", "first", "Ann"));
    EXPECT_EQ(host.LastError(), "'first' is not a valid integer value");
}

TEST_F(ListItem, ArraySearchOnAStringListIsReportedAndKeepsTheState) {
    ASSERT_TRUE(DropDown("ab\nabc"));
    ASSERT_TRUE(FindEx("0", "1", "", "ab"));
    host.ClearLog();
    EXPECT_TRUE(FindEx("1", "0", "", "ab"));
    EXPECT_EQ(host.LastError(), "Using array search on DropDown which is declared as string.");
    EXPECT_TRUE(host.WritesTo("[Hit]").empty());
    ASSERT_TRUE(Next());
    EXPECT_EQ(host.Var("[Hit]"), "2") << "the earlier results are still there";
    ASSERT_TRUE(ListBox("ab"));
    EXPECT_TRUE(FindEx("1", "2", "0", "ab"));
    EXPECT_EQ(host.LastError(), "Using array search on ListBox which is declared as string.");
}

// ---- the value update after changes ---------------------------------------------------------------

TEST_F(ListItem, ChangesThatMoveTheValueWriteItAndRunOnChange) {
    ASSERT_TRUE(ListBox("a\nb\nc", "0", "0"));
    ASSERT_TRUE(host.Exec("qorListBoxCaptureEvents", {"Rect1", "Changed", "", ""}));
    int runs = 0;
    host.DefineSubroutine("Changed", [&] { ++runs; });
    ASSERT_TRUE(host.Exec("qorListBoxSelect", {"Rect1", "c", "1"}));
    EXPECT_EQ(host.Var("[Value]"), "3");
    ASSERT_TRUE(Add("1", "first"));
    EXPECT_EQ(host.Var("[Value]"), "4") << "the selected item moved down";
    ASSERT_TRUE(Change("2", "A"));
    EXPECT_EQ(runs, 2) << "an unchanged value runs nothing";
    ASSERT_TRUE(Delete("4"));
    EXPECT_EQ(host.Var("[Value]"), "");
    EXPECT_EQ(runs, 3);

    ASSERT_TRUE(DropDown("x\ny", "0", "1"));
    ASSERT_TRUE(host.Exec("qorDropDownSelect", {"Rect1", "2", "0"}));
    ASSERT_TRUE(Change("2", "why"));
    EXPECT_EQ(host.Var("[Value]"), "why") << "the selected item's new text is the value";
}

TEST_F(ListItem, OnChangeDuringAnItemActionMayRemoveTheControl) {
    ASSERT_TRUE(DropDown("x\ny", "0", "0"));
    ASSERT_TRUE(host.Exec("qorDropDownSelect", {"Rect1", "2", "0"}));
    ASSERT_TRUE(host.Exec("qorDropDownCaptureEvents", {"Rect1", "Remove", "", ""}));
    host.DefineSubroutine("Remove", [&] { EXPECT_TRUE(host.Exec("qorRemoveDropDown", {"Rect1"})); });
    EXPECT_TRUE(Add("1", "w"));
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_EQ(host.Var("[Value]"), "");
    KeepError();
    EXPECT_TRUE(host.Exec("qorListSize", {"Rect1", "[Size]"}));
    EXPECT_EQ(host.LastError(), std::string(kNoList) + "Rect1.");
}

} // namespace
