// The CheckListBox as host and user see it: creation with its variables,
// clicks on the check glyphs, Space, "+" and "-", the three check kinds and
// individual variables, selecting and setting states by number and by text,
// properties, events, removal, subroutines that remove or re-create the list
// from inside each of its events, and its items under the list actions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using qorhost::LogEntry;
using qorhost::LogKind;
using Strings = std::vector<std::string>;

namespace {

const char kNoCheckList[] = "There is no checklistbox control attached to an object named Rect1.";

class CheckList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 160);
        host.Activate();
    }

    // qorCreateCheckListBox with the parameters in catalogue order.
    bool Create(const std::string& items, const std::string& kind = "0", const std::string& individual = "False",
                const std::string& allowGray = "False", const std::string& multi = "False",
                const Strings& vars = {"[Checked]", "[Unchecked]", "[Grayed]", "[Selected]"}) {
        return host.Exec("qorCreateCheckListBox",
                         {"Rect1", multi, allowGray, items, kind, individual, vars[0], vars[1], vars[2], vars[3]});
    }
    bool Capture(const std::string& selection, const std::string& dbl = "None", const std::string& right = "None",
                 const std::string& state = "None", const std::string& clicked = "") {
        return host.Exec("qorCheckListBoxCaptureEvents", {"Rect1", selection, dbl, right, state, clicked});
    }
    bool SetState(const std::string& items, const std::string& state, const std::string& by) {
        return host.Exec("qorCheckListBoxSetState", {"Rect1", items, state, by});
    }
    bool Select(const std::string& items, const std::string& by) {
        return host.Exec("qorCheckListBoxSelect", {"Rect1", items, by});
    }
    std::string List(const std::string& action, const Strings& rest) {
        return qortest::RunListAction(host, action, rest);
    }

    HWND ListBox() { return qortest::ListBoxOf(host.ControlWindow("Rect1")); }
    Strings Items() { return qortest::ListBoxTexts(ListBox()); }
    // 0 unchecked, 1 checked, 2 grayed, as the list keeps them.
    std::vector<int> States() {
        std::vector<int> states;
        const int n = static_cast<int>(SendMessageA(ListBox(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) states.push_back(static_cast<int>(SendMessageA(ListBox(), LB_GETITEMDATA, i, 0)));
        return states;
    }
    RECT ItemRect(int index) {
        RECT r{};
        SendMessageA(ListBox(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // A click on the check glyph of an item.
    void ClickGlyph(int index) {
        ASSERT_TRUE(host.Activate());
        const RECT r = ItemRect(index);
        host.ClickAt(ListBox(), r.left + 7, (r.top + r.bottom) / 2);
        host.Pump(30);
    }
    void ClickText(int index, bool doubleClick = false, bool right = false) {
        ASSERT_TRUE(host.Activate());
        const RECT r = ItemRect(index);
        host.ClickAt(ListBox(), r.left + 60, (r.top + r.bottom) / 2, right, doubleClick);
        host.Pump(30);
    }
    void AwayFromDoubleClick() { host.Pump(GetDoubleClickTime() + 100); }
    int GoSubs(const std::string& name) {
        int n = 0;
        for (const auto& line : host.ScriptLines()) n += line == "GoSub \"" + name + "\"";
        return n;
    }
    Strings Writes() {
        Strings writes;
        for (const auto& e : host.log())
            if (e.kind == LogKind::SetVariable) writes.push_back(e.name + "=" + e.value);
        return writes;
    }

    HostEmulator host;
};

// ---- Creation, kinds and removal ---------------------------------------------

TEST_F(CheckList, ACheckBoxListWritesItsItemsAsUncheckedAndNothingElse) {
    host.ClearLog();
    ASSERT_TRUE(Create("A\r\nB"));
    EXPECT_EQ(Writes(), Strings{"[Unchecked]=A\r\nB"});
    EXPECT_EQ(Items(), (Strings{"A", "B"}));
    EXPECT_EQ(States(), (std::vector<int>{0, 0}));
    const LONG style = GetWindowLongA(ListBox(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & LBS_HASSTRINGS);
    EXPECT_FALSE(style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL));
    EXPECT_EQ(SendMessageA(ListBox(), LB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_EQ(ItemRect(1).top, 13);
    // Items split at CR LF, CR or LF; a final break adds nothing.
    ASSERT_TRUE(Create("x\ry\nz\r\n", "1", "False", "False", "True"));
    EXPECT_EQ(Items(), (Strings{"x", "y", "z"}));
    EXPECT_TRUE(GetWindowLongA(ListBox(), GWL_STYLE) & LBS_EXTENDEDSEL);
}

TEST_F(CheckList, ARadioListChecksItsFirstItemAndIgnoresIndividualVariables) {
    for (const char* individual : {"False", "True"}) {
        SCOPED_TRACE(individual);
        host.Exec("qorRemoveCheckListBox", {"Rect1"});
        host.ClearLog();
        ASSERT_TRUE(Create("A\r\nB", "2", individual));
        EXPECT_EQ(States(), (std::vector<int>{1, 0}));
        EXPECT_EQ(Writes(), Strings{"[Checked]=A"}) << "no unchecked list, no individual variables";
        ASSERT_TRUE(Capture("None", "None", "None", "State", "[Clicked]"));
        host.ClearLog();
        ClickGlyph(1);
        EXPECT_EQ(States(), (std::vector<int>{0, 1}));
        EXPECT_EQ(Writes(), (Strings{"[Checked]=B", "[Clicked]=B", "[Selected]=B"}))
            << "the radio list writes no state lists; the click also selected B";
        EXPECT_EQ(GoSubs("State"), 1);
        host.ClearLog();
        AwayFromDoubleClick();
        ClickGlyph(1);
        EXPECT_EQ(States(), (std::vector<int>{0, 1})) << "the checked radio item cannot be unchecked";
        EXPECT_EQ(Writes(), Strings{"[Selected]=B"});
        EXPECT_TRUE(host.ScriptLines().empty());
        EXPECT_TRUE(SetState("2", "2", "0"));
        EXPECT_EQ(States(), (std::vector<int>{0, 1}));
        EXPECT_TRUE(SetState("a", "1", "1"));
        EXPECT_EQ(States(), (std::vector<int>{1, 0}));
        EXPECT_EQ(host.Var("[Checked]"), "A");
        EXPECT_TRUE(SetState("2", "0", "0"));
        EXPECT_EQ(States(), (std::vector<int>{1, 0})) << "a radio item cannot be grayed";
        EXPECT_TRUE(host.WritesTo("A").empty());
        EXPECT_TRUE(host.WritesTo("B").empty());
        AwayFromDoubleClick();
    }
    host.Exec("qorRemoveCheckListBox", {"Rect1"});
    host.ClearLog();
    ASSERT_TRUE(Create("", "2"));
    EXPECT_TRUE(Writes().empty()) << "an empty radio list checks nothing";
}

TEST_F(CheckList, CreationFailsOnBadFlagsAfterTheOldControlWasRemoved) {
    ASSERT_TRUE(Create("old"));
    host.SetVar("[Unchecked]", "old");
    EXPECT_FALSE(Create("A", "0", "False", "yes"));
    EXPECT_EQ(host.LastError(), "'yes' is not a valid boolean value");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_EQ(host.Var("[Unchecked]"), "") << "the old list emptied its variables";
    EXPECT_FALSE(Create("A", "0", ""));
    EXPECT_EQ(host.LastError(), "'' is not a valid boolean value");
    EXPECT_FALSE(host.Exec("qorCreateCheckListBox", {"Nowhere", "0", "0", "A", "0", "0", "", "", "", ""}));
    EXPECT_EQ(host.LastError(), "An object named Nowhere does not exist.");
    EXPECT_FALSE(SetState("1", "1", "0"));
    EXPECT_EQ(host.LastError(), kNoCheckList);
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(Select("1", "0"));
    EXPECT_EQ(host.LastError(), kNoCheckList);
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(Capture("x"));
    EXPECT_EQ(host.LastError(), kNoCheckList);
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(host.Exec("qorCheckListBoxSetProperties", {"Rect1", "", "clNone"}));
    EXPECT_EQ(host.LastError(), kNoCheckList);
    EXPECT_FALSE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
    EXPECT_EQ(host.LastError(), "There is no CheckListBox control attached to an object named Rect1.");
}

TEST_F(CheckList, RemovingEmptiesEveryVariableInOrder) {
    ASSERT_TRUE(Create("Red\r\nGreen\r\n", "0", "True"));
    ASSERT_TRUE(Capture("None", "None", "None", "None", "[Clicked]"));
    ASSERT_TRUE(SetState("red", "1", "1"));
    ASSERT_TRUE(Select("2", "0"));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorRemoveCheckListBox", {"RECT1"}));
    EXPECT_EQ(Writes(), (Strings{"Red=", "Green=", "[Clicked]=", "[Checked]=", "[Unchecked]=", "[Grayed]=",
                                 "[Selected]="}));
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    host.ClearLog();
    ASSERT_TRUE(Create("A", "0", "False", "False", "False", {"", "", "", ""}));
    ASSERT_TRUE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
    EXPECT_EQ(Writes(), Strings{"=A"}) << "only the creation's unchecked write, made without a name";
}

// ---- User toggles ------------------------------------------------------------

TEST_F(CheckList, ARectangleDestroyedByTheHostStillHasItsVariablesEmptiedOnRemoval) {
    ASSERT_TRUE(Create("Blue\r\nRed", "0", "True"));
    ASSERT_TRUE(SetState("Red", "1", "1"));
    ASSERT_EQ(host.Var("Red"), "Checked");
    host.RemoveRectangle("Rect1");
    host.ClearLog();
    EXPECT_TRUE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
    EXPECT_EQ(host.WritesTo("Red"), Strings{""});
    EXPECT_EQ(host.WritesTo("Blue"), Strings{""});
    EXPECT_EQ(host.Var("[Checked]"), "");
    EXPECT_EQ(host.Var("[Unchecked]"), "");
}

TEST_F(CheckList, ARadioListForgetsItsCheckedItemWhenThatItemIsChangedOrDeleted) {
    ASSERT_TRUE(Create("A\r\nB\r\nC", "2"));
    ASSERT_EQ(host.Var("[Checked]"), "A");
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "2", "Bee"}));
    EXPECT_EQ(host.Var("[Checked]"), "A") << "an unchecked item changes nothing";
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "1", "Ant"}));
    EXPECT_EQ(host.Var("[Checked]"), "");
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0})) << "the new item comes unchecked";
    ASSERT_TRUE(SetState("Bee", "1", "1"));
    ASSERT_EQ(host.Var("[Checked]"), "Bee");
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "2"}));
    EXPECT_EQ(host.Var("[Checked]"), "");
    EXPECT_EQ(States(), (std::vector<int>{0, 0}));
}

TEST_F(CheckList, ClickingTheBoxCyclesThroughGrayWithIndividualVariables) {
    ASSERT_TRUE(Create("Blue\r\nRed", "0", "True", "True"));
    ASSERT_TRUE(Capture("Sel", "None", "None", "State", "[Clicked]"));
    std::vector<std::string> seenInSub;
    host.DefineSubroutine("State", [&] { seenInSub.push_back(host.Var("Red") + "/" + host.Var("[Clicked]")); });
    host.ClearLog();
    for (int i = 0; i < 3; ++i) ClickGlyph(1);
    EXPECT_EQ(host.WritesTo("Red"), (Strings{"Grayed", "Checked", ""}));
    EXPECT_EQ(host.WritesTo("[Clicked]"), (Strings{"Red", "Red", "Red"}));
    EXPECT_EQ(seenInSub, (Strings{"Grayed/Red", "Checked/Red", "/Red"}));
    EXPECT_EQ(host.WritesTo("[Grayed]"), (Strings{"Red", "", ""}));
    EXPECT_EQ(host.WritesTo("[Checked]"), (Strings{"", "Red", ""}));
    EXPECT_EQ(host.WritesTo("[Unchecked]"), (Strings{"Blue", "Blue", "Blue\r\nRed"}));
    EXPECT_EQ(States(), (std::vector<int>{0, 0}));
    // The order of one toggle: individual, clicked item, subroutine, then the lists.
    host.ClearLog();
    AwayFromDoubleClick();
    ClickGlyph(0);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "Blue", "Grayed"},   {LogKind::SetVariable, "[Clicked]", "Blue"},
        {LogKind::ScriptLine, "", "GoSub \"State\""}, {LogKind::SetVariable, "[Checked]", ""},
        {LogKind::SetVariable, "[Unchecked]", "Red"}, {LogKind::SetVariable, "[Grayed]", "Blue"},
        {LogKind::SetVariable, "[Selected]", "Blue"}, {LogKind::ScriptLine, "", "GoSub \"Sel\""},
    };
    EXPECT_EQ(host.log(), expected) << "the click also selected the item";
}

TEST_F(CheckList, ClicksBesideTheGlyphSelectWithoutToggling) {
    ASSERT_TRUE(Create("one\r\ntwo\r\nthree"));
    ASSERT_TRUE(Capture("Sel", "Dbl", "Right", "State"));
    host.ClearLog();
    ClickText(1);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(host.Var("[Selected]"), "two");
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Sel\""});
    host.ClearLog();
    AwayFromDoubleClick();
    ClickText(1);
    EXPECT_EQ(host.WritesTo("[Selected]"), Strings{"two"});
    EXPECT_TRUE(host.ScriptLines().empty()) << "the same selection runs no subroutine";
    host.ClearLog();
    AwayFromDoubleClick();
    ClickText(2, true);
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"Sel\"", "GoSub \"Dbl\""}));
    host.ClearLog();
    AwayFromDoubleClick();
    ClickText(0, false, true);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Right\""});
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
}

TEST_F(CheckList, SpacePlusAndMinusFromTheKeyboard) {
    ASSERT_TRUE(Create("a\r\nb\r\nc"));
    ASSERT_TRUE(Capture("None", "None", "None", "State", "[Clicked]"));
    ClickText(1);
    ASSERT_EQ(GetFocus(), ListBox());
    host.ClearLog();
    host.TypeText(" ");
    host.Pump(30);
    EXPECT_EQ(States(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(host.Var("[Checked]"), "b");
    EXPECT_EQ(GoSubs("State"), 1);
    host.ClearLog();
    host.TypeText("+");
    host.Pump(30);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(host.WritesTo("[Clicked]"), (Strings{"a", "c"})) << "only the items that changed";
    EXPECT_EQ(GoSubs("State"), 2);
    EXPECT_EQ(host.WritesTo("[Checked]"), Strings{"a\r\nb\r\nc"}) << "one click-check after all of them";
    EXPECT_EQ(host.WritesTo("[Unchecked]"), Strings{""});
    host.ClearLog();
    host.TypeText("-");
    host.Pump(30);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(GoSubs("State"), 3);
    EXPECT_EQ(host.WritesTo("[Unchecked]"), Strings{"a\r\nb\r\nc"});
    EXPECT_EQ(Items(), (Strings{"a", "b", "c"})) << "the keys are not searched for as item text";
    // A radio list ignores + and -.
    ASSERT_TRUE(Create("a\r\nb", "2"));
    ClickText(1);
    host.TypeText("-");
    host.Pump(30);
    EXPECT_EQ(States(), (std::vector<int>{1, 0}));
    host.TypeText(" ");
    host.Pump(30);
    EXPECT_EQ(States(), (std::vector<int>{0, 1}));
    EXPECT_EQ(host.Var("[Checked]"), "b");
}

// ---- Actions -------------------------------------------------------------------

TEST_F(CheckList, SetStateByTextAndNumberRunsNoSubroutineAndRewritesTheLists) {
    ASSERT_TRUE(Create("Red\r\nGreen\r\nBlue", "1", "True"));
    ASSERT_TRUE(Capture("None", "None", "None", "State", "[Clicked]"));
    host.ClearLog();
    ASSERT_TRUE(SetState("red", "1", "1"));
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(Writes(), (Strings{"Red=Checked", "[Checked]=Red", "[Unchecked]=Green\r\nBlue", "[Grayed]="}));
    EXPECT_TRUE(host.ScriptLines().empty());
    host.ClearLog();
    ASSERT_TRUE(SetState("3\r\nx\r\n9\r\n1", "0", "0"));
    EXPECT_EQ(States(), (std::vector<int>{2, 0, 2}));
    EXPECT_EQ(Writes(), (Strings{"Blue=Grayed", "Red=Grayed", "[Checked]=", "[Unchecked]=Green",
                                 "[Grayed]=Red\r\nBlue"}));
    host.ClearLog();
    ASSERT_TRUE(SetState("RED\nblue", "2", "any"));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(host.WritesTo("Red"), Strings{""});
    host.ClearLog();
    ASSERT_TRUE(SetState("Red", "7", "1"));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Writes(), (Strings{"[Checked]=", "[Unchecked]=Red\r\nGreen\r\nBlue", "[Grayed]="}));
    // The subroutine runs again for the user afterwards.
    host.ClearLog();
    ClickGlyph(2);
    EXPECT_EQ(GoSubs("State"), 1);
}

TEST_F(CheckList, SelectByNumberAndByText) {
    ASSERT_TRUE(Create("one\r\ntwo\r\nthree"));
    ASSERT_TRUE(Capture("Sel"));
    host.ClearLog();
    ASSERT_TRUE(Select("7\r\nx\r\n2", "0"));
    EXPECT_EQ(qortest::SelectedItems(ListBox()), std::vector<int>{1});
    ASSERT_TRUE(Select("7\r\nx\r\n2", "0"));
    EXPECT_EQ(host.WritesTo("[Selected]"), (Strings{"two", "two"}));
    EXPECT_EQ(GoSubs("Sel"), 1);
    ASSERT_TRUE(Select("THREE\r\nOne", "1"));
    EXPECT_EQ(qortest::SelectedItems(ListBox()), std::vector<int>{0}) << "single select: the first item in list order";
    ASSERT_TRUE(Select("one", "2"));
    EXPECT_TRUE(qortest::SelectedItems(ListBox()).empty());
    EXPECT_EQ(host.Var("[Selected]"), "");
    EXPECT_EQ(GoSubs("Sel"), 3);

    ASSERT_TRUE(Create("one\r\ntwo\r\nthree", "0", "False", "False", "True"));
    ASSERT_TRUE(Select("3\r\n1", "0"));
    EXPECT_EQ(qortest::SelectedItems(ListBox()), (std::vector<int>{0, 2}));
    EXPECT_EQ(host.Var("[Selected]"), "one\r\nthree");
    ASSERT_TRUE(Select("TWO\r\nthree\r\nfour", "1"));
    EXPECT_EQ(qortest::SelectedItems(ListBox()), (std::vector<int>{1, 2}));
    EXPECT_EQ(host.Var("[Selected]"), "two\r\nthree");
    // A plain click in a multi-select list selects that item alone.
    ClickText(0);
    EXPECT_EQ(qortest::SelectedItems(ListBox()), std::vector<int>{0});
    EXPECT_EQ(host.Var("[Selected]"), "one");
}

TEST_F(CheckList, PropertiesFontVariableAndColour) {
    host.SetVar("[qorCheckListBox005.Font]", "'Arial', 14, (Italic), (clBlue)");
    ASSERT_TRUE(Create("A\r\nB"));
    EXPECT_EQ(host.Var("[qorCheckListBox005.Font]"), "") << "used once";
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ListBox(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_GT(SendMessageA(ListBox(), LB_GETITEMHEIGHT, 0, 0), 13) << "the items grow with the font";
    ASSERT_TRUE(Create("A\r\nB"));
    EXPECT_EQ(SendMessageA(ListBox(), LB_GETITEMHEIGHT, 0, 0), 13) << "the next list has the default font";
    EXPECT_FALSE(host.Exec("qorCheckListBoxSetProperties", {"Rect1", "'Courier New', 10, (Bold), (clBlack)", ""}));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ListBox(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STRNE(lf.lfFaceName, "Courier New") << "stored but not applied";
    ASSERT_TRUE(host.Exec("qorCheckListBoxSetProperties", {"Rect1", "", "clRed"}));
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ListBox(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    HDC dc = GetDC(ListBox());
    const LRESULT brush = SendMessageA(host.ControlWindow("Rect1"), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(ListBox()));
    LOGBRUSH lb{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
    ReleaseDC(ListBox(), dc);
    ASSERT_TRUE(host.Exec("qorCheckListBoxSetProperties", {"Rect1", "", "clNone"}));
    dc = GetDC(ListBox());
    const LRESULT kept = SendMessageA(host.ControlWindow("Rect1"), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(ListBox()));
    GetObjectA(reinterpret_cast<HBRUSH>(kept), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(255, 0, 0)) << "clNone keeps the colour";
    ReleaseDC(ListBox(), dc);
}

TEST_F(CheckList, CaptureKeepsWithNoneAndTheClickedVariableOnlyWhenGiven) {
    ASSERT_TRUE(Create("a\r\nb"));
    ASSERT_TRUE(Capture("Sel", "Dbl", "Right", "State", "[Clicked]"));
    ASSERT_TRUE(Capture("None", "", "none", "None", ""));
    host.ClearLog();
    ClickGlyph(0);
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"State\"", "GoSub \"Sel\""}));
    EXPECT_EQ(host.Var("[Clicked]"), "a") << "an empty parameter keeps the clicked-item variable";
    host.ClearLog();
    AwayFromDoubleClick();
    ClickText(1, true);
    ClickText(1, false, true);
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"Sel\"", "GoSub \"none\""}));
}

// ---- Items under the list actions -----------------------------------------------

TEST_F(CheckList, ListActionsAddChangeDeleteFindGetAndSize) {
    ASSERT_TRUE(Create("Red\r\nGreen", "0", "True"));
    ASSERT_TRUE(SetState("1", "1", "0"));
    ASSERT_TRUE(Select("2", "0"));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "Blue"}));
    EXPECT_EQ(Items(), (Strings{"Red", "Green", "Blue"}));
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(Writes(), (Strings{"[Selected]=Green", "[Checked]=Red", "[Unchecked]=Green\r\nBlue", "[Grayed]="}));
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "1", "Cyan"}));
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "9", "Past"}));
    EXPECT_EQ(Items(), (Strings{"Cyan", "Red", "Green", "Blue"}));
    EXPECT_EQ(List("qorListSize", {}), "4");
    EXPECT_EQ(List("qorListFindItem", {"GREEN"}), "3");
    EXPECT_EQ(List("qorListFindItem", {"Gree"}), "0");
    EXPECT_EQ(List("qorListGetItem", {"all"}), "Cyan\r\nRed\r\nGreen\r\nBlue");
    EXPECT_EQ(List("qorListGetItem", {"@2"}), "Red");
    EXPECT_EQ(List("qorListGetItem", {"5"}), "");
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "2", "Pink"}));
    EXPECT_EQ(Items(), (Strings{"Cyan", "Pink", "Green", "Blue"}));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0})) << "the new item is unchecked";
    EXPECT_EQ(host.WritesTo("Red"), Strings{""}) << "the old item's individual variable is emptied";
    EXPECT_EQ(host.Var("[Checked]"), "");
    host.ClearLog();
    for (const char* outside : {"5", "-1"}) {
        ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", outside, "x"}));
        ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", outside}));
    }
    EXPECT_EQ(Items(), (Strings{"Cyan", "Pink", "Green", "Blue"}));
    ASSERT_TRUE(SetState("Blue", "1", "1"));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "4"}));
    EXPECT_EQ(Items(), (Strings{"Cyan", "Pink", "Green"}));
    EXPECT_EQ(host.WritesTo("Blue"), Strings{""});
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "ALL"}));
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(host.Var("[Unchecked]"), "");
    EXPECT_EQ(host.Var("[Selected]"), "");
}

// Items longer than any fixed buffer come back whole by every path that reads
// them from the list (a test-side LB_GETTEXT in ANSI would itself overrun
// Wine's buffer: the plug-in's answers are the subject here).
TEST_F(CheckList, LongItemsComeBackWhole) {
    std::string mixed;
    for (int b = 0x20; b < 0x100; ++b) mixed.push_back(static_cast<char>(b));
    const Strings items{std::string(511, 'a'), std::string(512, 'b'), std::string(513, 'c'), std::string(70000, 'd'),
                        mixed + std::string(600, 'e')};
    std::string all;
    for (const auto& item : items) all += (all.empty() ? "" : "\r\n") + item;
    ASSERT_TRUE(Create(all, "0", "True"));
    EXPECT_EQ(List("qorListGetItem", {"all"}), all);
    EXPECT_EQ(List("qorListGetItem", {"@2"}), items[1]);
    EXPECT_EQ(List("qorListFindItem", {items[3]}), "4");
    ASSERT_TRUE(SetState(items[4], "1", "1"));
    EXPECT_EQ(host.Var("[Checked]"), items[4]);
    EXPECT_EQ(host.Var(items[4]), "Checked") << "the individual variable of a long item";
    EXPECT_EQ(host.Var("[Unchecked]"), all.substr(0, all.size() - items[4].size() - 2));
}

TEST_F(CheckList, MoveKeepsTheStateAndSortKeepsStatesWithTheirItems) {
    ASSERT_TRUE(Create("d\r\nB\r\na\r\nC", "0", "True"));
    ASSERT_TRUE(Capture("None", "None", "None", "State", "[Clicked]"));
    ASSERT_TRUE(SetState("d", "1", "1"));
    ASSERT_TRUE(SetState("a", "0", "1"));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "1", "3"}));
    EXPECT_EQ(Items(), (Strings{"B", "a", "d", "C"}));
    EXPECT_EQ(States(), (std::vector<int>{0, 2, 1, 0}));
    EXPECT_EQ(host.WritesTo("[Clicked]"), Strings{"d"}) << "restoring the state is a change of its own";
    EXPECT_EQ(GoSubs("State"), 1);
    for (const Strings& move : {Strings{"1", "5"}, Strings{"5", "1"}, Strings{"0", "1"}, Strings{"2", "2"}})
        ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", move[0], move[1]}));
    EXPECT_EQ(Items(), (Strings{"B", "a", "d", "C"}));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(Items(), (Strings{"a", "B", "C", "d"}));
    EXPECT_EQ(States(), (std::vector<int>{2, 0, 0, 1}));
    EXPECT_EQ(host.Var("[Checked]"), "d");
    EXPECT_TRUE(host.ScriptLines().empty()) << "sorting changes no state";
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "b2"}));
    EXPECT_EQ(Items(), (Strings{"a", "B", "b2", "C", "d"})) << "appends go into order";
    ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "1"}));
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "A0"}));
    EXPECT_EQ(Items(), (Strings{"a", "B", "b2", "C", "d", "A0"}));
}

TEST_F(CheckList, ExtendedSearchAndFindNext) {
    ASSERT_TRUE(Create("apple\r\nbanana\r\npineapple\r\nApple"));
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", "APPLE"}), "1");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "3");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "4");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "<unset>");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "0", "", "apple"}), "1");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "2", "0", "apple"}), "");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "0", "", "apple"}), "1");
    host.SetVar("[Out]", "kept");
    EXPECT_TRUE(host.Exec("qorListFindItemEx", {"Rect1", "1", "0", "", "apple", "[Out]"}));
    EXPECT_EQ(host.LastError(), "CheckListBox is not an array list.");
    EXPECT_EQ(host.Var("[Out]"), "kept");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "4");
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "1", "2"}));
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "<unset>");
}

// ---- Subroutines that end or replace the list inside its own events --------------

TEST_F(CheckList, SubroutinesMayRemoveOrRecreateTheListFromInsideEachEvent) {
    enum Event { StateByClick, StateBySpace, StateByPlus, Selection, DoubleClick, RightClick };
    for (bool recreate : {false, true}) {
        for (int event = StateByClick; event <= RightClick; ++event) {
            SCOPED_TRACE(std::string(recreate ? "recreate" : "remove") + " in event " + std::to_string(event));
            ASSERT_TRUE(Create("one\r\ntwo\r\nthree"));
            host.DefineSubroutine("Kill", [&] {
                if (recreate) {
                    EXPECT_TRUE(Create("new", "0", "False", "False", "False", {"", "[Other]", "", ""}));
                } else {
                    EXPECT_TRUE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
                }
            });
            const bool stateEvent = event <= StateByPlus;
            ASSERT_TRUE(Capture(event == Selection ? "Kill" : "", event == DoubleClick ? "Kill" : "",
                                event == RightClick ? "Kill" : "", stateEvent ? "Kill" : ""));
            HWND list = ListBox();
            ASSERT_TRUE(host.Activate());
            if (event == StateBySpace || event == StateByPlus) {
                ASSERT_TRUE(HostEmulator::FocusWindow(list));
            }
            host.ClearLog();
            switch (event) {
            case StateByClick: ClickGlyph(1); break;
            case StateBySpace: host.TypeText(" "); break;
            case StateByPlus: host.TypeText("+"); break;
            case Selection: ClickText(1); break;
            case DoubleClick: ClickText(1, true); break;
            case RightClick: ClickText(1, false, true); break;
            }
            host.Pump(100);
            EXPECT_EQ(GoSubs("Kill"), 1) << "the first run ended the list: no further events";
            EXPECT_FALSE(IsWindow(list));
            if (recreate) {
                EXPECT_EQ(Items(), Strings{"new"});
                EXPECT_EQ(host.Var("[Other]"), "new");
                EXPECT_TRUE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
            } else {
                EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
            }
            AwayFromDoubleClick();
        }
    }
}

} // namespace
