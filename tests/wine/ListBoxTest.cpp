// The ListBox as host and user see it: single and extended selection with
// real clicks, the values written, OnChange/OnDblClick/OnRightClick, the
// search strip and the typing aid with real keys, select, set properties, the
// font preset variable, the horizontal scroll range and removal.
#include <gtest/gtest.h>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using qorhost::LogEntry;
using qorhost::LogKind;
using Strings = std::vector<std::string>;
using Indexes = std::vector<int>;

namespace {

class ListBox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 160);
        ASSERT_TRUE(host.Activate());
    }

    bool Create(const std::string& items, const std::string& style = "0", const std::string& resultMode = "1",
                const std::string& var = "[Sel]", const std::string& mode = "0", const std::string& column = "0",
                const std::string& delimiter = "", const std::string& sorted = "0", const std::string& noDup = "0") {
        return host.Exec("qorCreateListBox",
                         {"Rect1", sorted, noDup, items, mode, column, delimiter, style, resultMode, var});
    }
    bool Capture(const std::string& change, const std::string& dbl = "None", const std::string& right = "None") {
        return host.Exec("qorListBoxCaptureEvents", {"Rect1", change, dbl, right});
    }
    bool SetProps(const std::string& complete, const std::string& search, const std::string& font,
                  const std::string& color) {
        return host.Exec("qorListBoxSetProperties", {"Rect1", complete, search, font, color});
    }
    bool Select(const std::string& items, const std::string& by) {
        return host.Exec("qorListBoxSelect", {"Rect1", items, by});
    }
    HWND List() { return qortest::ListBoxOf(host.ControlWindow("Rect1")); }
    HWND Search() { return qortest::EditOf(host.ControlWindow("Rect1")); }
    Indexes Selected() { return qortest::SelectedItems(List()); }
    void Click(int index) { qortest::ClickListItem(host, List(), index); }
    // Types into the search strip and presses Enter.
    void SearchFor(const std::string& text) {
        host.ClickAt(Search(), 5, 5);
        EXPECT_TRUE(HostEmulator::FocusWindow(Search()));
        SendMessageA(Search(), EM_SETSEL, 0, -1);
        host.KeyPress(VK_DELETE);
        host.TypeText(text);
        host.KeyPress(VK_RETURN);
        host.Pump(30);
    }

    HostEmulator host;
};

// ---- creation --------------------------------------------------------------------

TEST_F(ListBox, CreationFillsTheRectangleAndWritesNothing) {
    ASSERT_TRUE(Create("one\r\ntwo\nthree"));
    HWND form = host.ControlWindow("Rect1");
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"one", "two", "three"}));
    RECT list{};
    GetWindowRect(List(), &list);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.right - list.left, 200);
    EXPECT_EQ(list.bottom, 160);
    EXPECT_FALSE(IsWindowVisible(Search())) << "the search strip starts hidden";
    EXPECT_FALSE(GetWindowLongA(List(), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_FALSE(host.HasVar("[Sel]"));
    ASSERT_TRUE(Create("a", "1"));
    EXPECT_TRUE(GetWindowLongA(List(), GWL_STYLE) & LBS_EXTENDEDSEL);
    ASSERT_TRUE(Create("b\nA\nc", "7", "1", "[Sel]", "0", "0", "", "True"));
    EXPECT_FALSE(GetWindowLongA(List(), GWL_STYLE) & LBS_EXTENDEDSEL) << "other styles: single selection";
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"A", "b", "c"}));
    EXPECT_FALSE(Create("1;a", "0", "1", "[Sel]", "1", "one", ";"));
    EXPECT_EQ(host.LastError(), "'one' is not a valid integer value");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
}

// ---- selection by the user --------------------------------------------------------------

TEST_F(ListBox, ClickingWritesTheTextBeforeOnChangeAndOnlyOnChanges) {
    ASSERT_TRUE(Create("one\ntwo\nthree"));
    ASSERT_TRUE(Capture("Changed"));
    int runs = 0;
    host.DefineSubroutine("Changed", [&] { ++runs; });
    host.ClearLog();
    Click(1);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Sel]", "two"},
        {LogKind::ScriptLine, "", "GoSub \"Changed\""},
    };
    EXPECT_EQ(host.log(), expected);
    Click(1);
    EXPECT_EQ(runs, 1);
    Click(2);
    EXPECT_EQ(host.Var("[Sel]"), "three");
    EXPECT_EQ(runs, 2);
    ASSERT_TRUE(HostEmulator::FocusWindow(List()));
    host.KeyPress(VK_UP);
    host.Pump(30);
    EXPECT_EQ(host.Var("[Sel]"), "two") << "keyboard selection updates the value too";
    EXPECT_EQ(runs, 3);
}

TEST_F(ListBox, ExtendedSelectionJoinsNumbersWithCrLf) {
    ASSERT_TRUE(Create("a\nb\nc\nd", "1", "0"));
    Click(1);
    EXPECT_EQ(Selected(), (Indexes{1}));
    host.KeyPress(VK_DOWN, true);
    host.KeyPress(VK_DOWN, true);
    host.Pump(30);
    EXPECT_EQ(Selected(), (Indexes{1, 2, 3})) << "Shift extends the selection";
    EXPECT_EQ(host.Var("[Sel]"), "2\r\n3\r\n4");
    ASSERT_TRUE(Select("2\n4", "0"));
    EXPECT_EQ(host.Var("[Sel]"), "2\r\n4");
    Click(0);
    EXPECT_EQ(host.Var("[Sel]"), "1") << "a plain click selects one item";
}

TEST_F(ListBox, ArrayRowsAndNoSelectionValues) {
    ASSERT_TRUE(Create("1;Ann;Leeds\n2;Bob;York", "0", "1", "[Sel]", "1", "1", ";"));
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"Ann", "Bob"}));
    Click(1);
    EXPECT_EQ(host.Var("[Sel]"), "2;Bob;York");
    ASSERT_TRUE(Create("a\nb", "0", "0"));
    Click(0);
    EXPECT_EQ(host.Var("[Sel]"), "1");
    ASSERT_TRUE(Select("9", "0"));
    EXPECT_EQ(host.Var("[Sel]"), "") << "nothing selected is the empty text, not 0";
}

TEST_F(ListBox, WithoutAResultVariableOnChangeNeverRuns) {
    ASSERT_TRUE(Create("a\nb", "0", "1", ""));
    ASSERT_TRUE(Capture("Changed"));
    host.ClearLog();
    Click(0);
    Click(1);
    ASSERT_TRUE(Select("a", "1"));
    EXPECT_TRUE(host.log().empty());
}

TEST_F(ListBox, DoubleAndRightClicksRunTheirSubroutines) {
    ASSERT_TRUE(Create("a\nb"));
    ASSERT_TRUE(Capture("", "Double", "Right"));
    host.ClearLog();
    qortest::ClickListItem(host, List(), 0, true);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Double\""});
    EXPECT_EQ(host.Var("[Sel]"), "a");
    host.ClearLog();
    qortest::ClickListItem(host, List(), 1, false, true);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Right\""});
    ASSERT_TRUE(Capture("None", "", "None"));
    host.ClearLog();
    qortest::ClickListItem(host, List(), 0, true);
    qortest::ClickListItem(host, List(), 0, false, true);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Right\""});
    EXPECT_FALSE(host.Exec("qorListBoxCaptureEvents", {"Rect7", "", "", ""}));
    EXPECT_EQ(host.LastError(), "There is no listbox control attached to an object named Rect7.");
}

// ---- select action ---------------------------------------------------------------------------

TEST_F(ListBox, SelectByNumbersLastWinsOnSingleAndAllOnMulti) {
    ASSERT_TRUE(Create("a\nb\nc", "0", "0"));
    ASSERT_TRUE(Select("3\r\n1", "0"));
    EXPECT_EQ(Selected(), Indexes{0});
    EXPECT_EQ(host.Var("[Sel]"), "1");
    ASSERT_TRUE(Create("a\nb\nc", "1", "0"));
    ASSERT_TRUE(Select("3\r\nx\r\n9\r\n1", "0"));
    EXPECT_EQ(Selected(), (Indexes{0, 2}));
    EXPECT_EQ(host.Var("[Sel]"), "1\r\n3");
    ASSERT_TRUE(Select("2", "0"));
    EXPECT_EQ(Selected(), Indexes{1}) << "the earlier selection is removed first";
}

TEST_F(ListBox, SelectByTextAndRow) {
    ASSERT_TRUE(Create("Pear\nApple\napple\nFig", "0", "0"));
    ASSERT_TRUE(Select("APPLE\nfig", "1"));
    EXPECT_EQ(Selected(), Indexes{1}) << "single selection: the first found item";
    ASSERT_TRUE(Create("Pear\nApple\napple\nFig", "1", "0"));
    ASSERT_TRUE(Select("APPLE\nfig", "1"));
    EXPECT_EQ(Selected(), (Indexes{1, 2, 3}));
    ASSERT_TRUE(Select("Pear", "2"));
    EXPECT_EQ(Selected(), Indexes{}) << "String-mode items have no rows";
    EXPECT_EQ(host.Var("[Sel]"), "");
    ASSERT_TRUE(Create("1;Ann\n2;Bob\n3;Ann", "1", "1", "[Sel]", "1", "1", ";"));
    ASSERT_TRUE(Select("3;ANN\n2;bob", "2"));
    EXPECT_EQ(Selected(), (Indexes{1, 2}));
    EXPECT_EQ(host.Var("[Sel]"), "2;Bob\r\n3;Ann");
    ASSERT_TRUE(Select("ann", "1"));
    EXPECT_EQ(Selected(), (Indexes{0, 2}));
    EXPECT_FALSE(host.Exec("qorListBoxSelect", {"Rect7", "1", "0"}));
    EXPECT_EQ(host.LastError(), "There is no listbox control attached to an object named Rect7.");
}

// ---- search strip and typing aid -------------------------------------------------------------

TEST_F(ListBox, SearchStripPushesTheListDownAndSelectsByPrefixOnEnter) {
    ASSERT_TRUE(Create("cherry\napple\nApricot\nbanana\napple pie", "0", "1"));
    ASSERT_TRUE(SetProps("", "True", "", "clNone"));
    ASSERT_TRUE(IsWindowVisible(Search()));
    RECT list{};
    GetWindowRect(List(), &list);
    MapWindowPoints(nullptr, host.ControlWindow("Rect1"), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, 25);
    EXPECT_EQ(list.bottom, 160);
    RECT strip{};
    GetWindowRect(Search(), &strip);
    EXPECT_EQ(strip.bottom - strip.top, 25);

    // The placeholder is drawn while the search box is empty, focused or not.
    auto inked = [&] {
        RedrawWindow(Search(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        host.Pump(20);
        RECT r{};
        GetClientRect(Search(), &r);
        HDC dc = GetDC(Search());
        const COLORREF paper = GetPixel(dc, r.right - 2, r.bottom - 2);
        int count = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 4; x < r.right - 4; ++x)
                if (GetPixel(dc, x, y) != paper) ++count;
        ReleaseDC(Search(), dc);
        return count;
    };
    EXPECT_GT(inked(), 60) << "the placeholder's letters";
    SetFocus(Search());
    EXPECT_GT(inked(), 60);
    SetWindowTextA(Search(), "x");
    EXPECT_LT(inked(), 60) << "one letter and no placeholder";

    SearchFor("AP");
    EXPECT_EQ(Selected(), Indexes{1});
    EXPECT_EQ(host.Var("[Sel]"), "apple");
    EXPECT_EQ(qortest::WindowText(Search()), "AP") << "Enter is consumed";
    SearchFor("");
    EXPECT_EQ(Selected(), Indexes{});
    EXPECT_EQ(host.Var("[Sel]"), "");
    SearchFor("zz");
    EXPECT_EQ(Selected(), Indexes{});

    ASSERT_TRUE(Create("cherry\napple\nApricot\nbanana\napple pie", "1", "0"));
    ASSERT_TRUE(SetProps("", "1", "", "clNone"));
    SearchFor("ap");
    EXPECT_EQ(Selected(), (Indexes{1, 2, 4}));
    EXPECT_EQ(host.Var("[Sel]"), "2\r\n3\r\n5");
    ASSERT_TRUE(SetProps("", "False", "", "clNone"));
    EXPECT_FALSE(IsWindowVisible(Search()));
    GetWindowRect(List(), &list);
    MapWindowPoints(nullptr, host.ControlWindow("Rect1"), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, 0);
}

TEST_F(ListBox, AutoCompleteSelectsByTypedPrefix) {
    ASSERT_TRUE(Create("apple\nbanana\ncherry\ncitron", "1", "1"));
    ASSERT_TRUE(SetProps("True", "", "", "clNone"));
    Click(0);
    host.TypeText("ci");
    host.Pump(30);
    EXPECT_EQ(Selected(), Indexes{3}) << "the prefix selects the only item";
    EXPECT_EQ(host.Var("[Sel]"), "citron");
    host.KeyPress(VK_BACK);
    host.Pump(30);
    EXPECT_EQ(Selected(), Indexes{2}) << "Backspace shortens the prefix";
    host.KeyPress(VK_BACK);
    host.Pump(30);
    EXPECT_EQ(Selected(), Indexes{0}) << "an empty prefix selects the first item";
    host.Pump(600);
    host.TypeText("b");
    host.Pump(30);
    EXPECT_EQ(Selected(), Indexes{1});
    EXPECT_EQ(host.Var("[Sel]"), "banana");
}

// ---- set properties, fonts, scroll range -------------------------------------------------------

TEST_F(ListBox, SetPropertiesAppliesFontAndColourAndReportsFailures) {
    ASSERT_TRUE(Create("one\ntwo"));
    ASSERT_TRUE(SetProps("", "", "'Arial', 14, (Underline), (clBlue)", "clYellow"));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_TRUE(lf.lfUnderline);
    HWND form = host.ControlWindow("Rect1");
    HDC dc = GetDC(List());
    EXPECT_NE(SendMessageA(form, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(List())), 0);
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(List(), dc);
    EXPECT_FALSE(host.HasVar("[Sel]")) << "set properties runs no value update";

    EXPECT_FALSE(SetProps("True", "True", "", ""));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
    EXPECT_FALSE(IsWindowVisible(Search())) << "stored, not applied";
    host.SendObjectMessage(form, 4); // a resize lays out what was applied, not what was stored
    EXPECT_FALSE(IsWindowVisible(Search()));
    RECT list{};
    GetWindowRect(List(), &list);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, 0);
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "three"}));
    Click(0);
    host.TypeText("th");
    host.Pump(30);
    EXPECT_NE(Selected(), Indexes{2}) << "the stored typing aid is not on yet";

    ASSERT_TRUE(SetProps("", "", "", "clNone"));
    EXPECT_TRUE(IsWindowVisible(Search())) << "applied by the next call";
    Click(0);
    host.Pump(600);
    host.TypeText("th");
    host.Pump(30);
    EXPECT_EQ(Selected(), Indexes{2}) << "and so is the typing aid";
    EXPECT_FALSE(SetProps("often", "", "", "clNone"));
    EXPECT_EQ(host.LastError(), "'often' is not a valid boolean value");
    EXPECT_FALSE(host.Exec("qorListBoxSetProperties", {"Rect7", "", "", "", "clNone"}));
    EXPECT_EQ(host.LastError(), "There is no listbox control attached to an object named Rect7.");
}

TEST_F(ListBox, FontPresetVariableAppliesToOneCreation) {
    host.SetVar("[qorListBox005.Font]", "'Courier New', 12, (Bold), (clBlack)");
    ASSERT_TRUE(Create("a"));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(host.Var("[qorListBox005.Font]"), "");
    ASSERT_TRUE(Create("a"));
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

    host.SetVar("[qorListBox005.Font]", "'Arial', big, (), (clBlack)");
    EXPECT_FALSE(Create("a"));
    EXPECT_EQ(host.LastError(), "'big' is not a valid integer value");
    EXPECT_EQ(host.Var("[qorListBox005.Font]"), "'Arial', big, (), (clBlack)");
    EXPECT_FALSE(Create("a")) << "it fails again until the script changes it";
}

TEST_F(ListBox, HorizontalRangeFollowsTheWidestItem) {
    ASSERT_TRUE(Create("short\nthis is a rather long item that is wider than the list\nmid"));
    auto measured = [&](const std::string& text) {
        HDC dc = GetDC(List());
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(List(), dc);
        return static_cast<int>(size.cx);
    };
    EXPECT_EQ(SendMessageA(List(), LB_GETHORIZONTALEXTENT, 0, 0),
              measured("this is a rather long item that is wider than the listx"));
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "2"}));
    EXPECT_EQ(SendMessageA(List(), LB_GETHORIZONTALEXTENT, 0, 0), measured("shortx"));
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "a somewhat longer one"}));
    EXPECT_EQ(SendMessageA(List(), LB_GETHORIZONTALEXTENT, 0, 0), measured("a somewhat longer onex"));
}

// ---- end of life ----------------------------------------------------------------------------------

TEST_F(ListBox, RemovingEmptiesTheResultVariableAndReportsTwice) {
    ASSERT_TRUE(Create("a\nb"));
    Click(1);
    ASSERT_TRUE(host.Exec("qorRemoveListBox", {"Rect1"}));
    EXPECT_EQ(host.Var("[Sel]"), "");
    EXPECT_FALSE(host.Exec("qorRemoveListBox", {"Rect1"}));
    EXPECT_EQ(host.LastError(), "There is no listbox control attached to an object named Rect1.");
}

TEST_F(ListBox, EventSubroutinesMayRemoveOrRecreateTheirControl) {
    ASSERT_TRUE(Create("a\nb"));
    ASSERT_TRUE(Capture("Remove"));
    host.DefineSubroutine("Remove", [&] { EXPECT_TRUE(host.Exec("qorRemoveListBox", {"Rect1"})); });
    host.ClearLog();
    Click(1);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Sel]", "b"},
        {LogKind::ScriptLine, "", "GoSub \"Remove\""},
        {LogKind::SetVariable, "[Sel]", ""},
    };
    EXPECT_EQ(host.log(), expected);
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);

    ASSERT_TRUE(Create("a\nb"));
    ASSERT_TRUE(Capture("", "Recreate", "Remove"));
    HWND old = List();
    host.DefineSubroutine("Recreate", [&] { EXPECT_TRUE(Create("x\ny\nz", "0", "1", "[New]")); });
    qortest::ClickListItem(host, List(), 0, true);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"x", "y", "z"}));
    Click(2);
    EXPECT_EQ(host.Var("[New]"), "z");

    ASSERT_TRUE(Capture("", "", "Remove"));
    qortest::ClickListItem(host, List(), 0, false, true);
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_EQ(host.Var("[New]"), "");

    ASSERT_TRUE(Create("apple\nbanana", "0", "1"));
    ASSERT_TRUE(SetProps("", "True", "", "clNone"));
    ASSERT_TRUE(Capture("Remove"));
    SearchFor("ban");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr) << "a search that removes its own control";

    ASSERT_TRUE(Create("apple\nbanana\ncherry", "0", "1"));
    ASSERT_TRUE(SetProps("True", "", "", "clNone"));
    Click(0);
    ASSERT_TRUE(Capture("Recreate"));
    host.DefineSubroutine("Recreate", [&] { EXPECT_TRUE(Create("x\ny", "0", "1", "[New]")); });
    host.TypeText("c");
    host.Pump(30);
    EXPECT_EQ(host.Var("[Sel]"), "") << "the typing aid's control was replaced from its own key press";
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"x", "y"}));
    host.TypeText("y");
    host.Pump(30);
    EXPECT_EQ(qortest::ListBoxTexts(List()), (Strings{"x", "y"})) << "the new list lives on";
}

} // namespace
