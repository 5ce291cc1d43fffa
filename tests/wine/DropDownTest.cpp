// The DropDown as host and user see it: creation and items, the result
// variable after real clicks and keys, OnChange/OnDropDown/OnCloseUp, the
// set-properties, capture and select actions, and removal.
#include <gtest/gtest.h>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using qorhost::LogEntry;
using qorhost::LogKind;
using Strings = std::vector<std::string>;

namespace {

class DropDown : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 220, 80);
        host.Activate();
    }

    // qorCreateDropDown with the parameters in catalogue order.
    bool Create(const std::string& items, const std::string& mode = "0", const std::string& resultMode = "1",
                const std::string& var = "[Choice]", const std::string& style = "0", const std::string& column = "0",
                const std::string& delimiter = "", const std::string& sorted = "False",
                const std::string& noDup = "False") {
        return host.Exec("qorCreateDropDown",
                         {"Rect1", sorted, noDup, items, mode, column, delimiter, style, resultMode, var});
    }
    bool Capture(const std::string& change, const std::string& drop = "None", const std::string& close = "None") {
        return host.Exec("qorDropDownCaptureEvents", {"Rect1", change, drop, close});
    }
    bool SetProps(const std::string& closeUp, const std::string& complete, const std::string& drop,
                  const std::string& font, const std::string& color, const std::string& width,
                  const std::string& text) {
        return host.Exec("qorDropDownSetProperties", {"Rect1", closeUp, complete, drop, font, color, width, text});
    }
    bool Select(const std::string& item, const std::string& by) {
        return host.Exec("qorDropDownSelect", {"Rect1", item, by});
    }
    HWND Combo() { return qortest::ComboOf(host.ControlWindow("Rect1")); }
    int Selection() { return static_cast<int>(SendMessageA(Combo(), CB_GETCURSEL, 0, 0)); }
    std::string Text() { return qortest::WindowText(Combo()); }
    bool Dropped() { return SendMessageA(Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

    // Opens the list with a click on the button and clicks item `index`.
    void Pick(int index) { qortest::PickComboItem(host, Combo(), index); }
    // Puts the keyboard focus into the edit field with a click.
    void ClickIntoEdit() {
        RECT r{};
        GetClientRect(Combo(), &r);
        host.ClickAt(Combo(), 8, r.bottom / 2);
    }
    void ClickButton() {
        RECT r{};
        GetClientRect(Combo(), &r);
        host.ClickAt(Combo(), r.right - 6, r.bottom / 2);
        host.Pump(30);
    }

    HostEmulator host;
};

// ---- creation ------------------------------------------------------------------

TEST_F(DropDown, CreationShowsItemsOneLineHighAndWritesNothing) {
    ASSERT_TRUE(Create("one\r\ntwo\nthree\r"));
    HWND form = host.ControlWindow("Rect1");
    ASSERT_NE(form, nullptr);
    HWND combo = Combo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(qortest::ComboTexts(combo), (Strings{"one", "two", "three"}));
    RECT formRect{}, comboRect{};
    GetClientRect(form, &formRect);
    GetWindowRect(combo, &comboRect);
    EXPECT_EQ(formRect.right, 220);
    EXPECT_EQ(comboRect.right - comboRect.left, 220);
    EXPECT_EQ(formRect.bottom, comboRect.bottom - comboRect.top) << "the window takes the combo box's height";
    EXPECT_LT(formRect.bottom, 80);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(Selection(), -1);
    EXPECT_FALSE(host.HasVar("[Choice]"));
    EXPECT_TRUE(host.ScriptLines().empty());
}

TEST_F(DropDown, OpenedListShowsTwoRows) {
    ASSERT_TRUE(Create("a\nb\nc\nd\ne"));
    ClickButton();
    ASSERT_TRUE(Dropped());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Combo(), &info);
    RECT client{};
    GetClientRect(info.hwndList, &client);
    EXPECT_EQ(client.bottom, 2 * 13);
    ClickButton();
    EXPECT_FALSE(Dropped());
}

TEST_F(DropDown, ArrayModeShowsTheDisplayColumnAndDuplicatesAndSortingApply) {
    ASSERT_TRUE(Create("1;Miller;Leeds\n2;Adams;York\n3;Baker;Hull", "1", "1", "[Choice]", "0", "1", ";"));
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"Miller", "Adams", "Baker"}));
    ASSERT_TRUE(Create("1;Miller;Leeds\nsolo", "1", "1", "[Choice]", "0", "5", ";"));
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"1;Miller;Leeds", "solo"}));
    ASSERT_TRUE(Create("1;Miller", "1", "1", "[Choice]", "0", "1", ""));
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"1;Miller"}));
    ASSERT_TRUE(Create("Apple\nAPPLE\npear", "0", "1", "[Choice]", "0", "0", "", "False", "True"));
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"Apple", "pear"}));
    ASSERT_TRUE(Create("pear\nbanana\nApple", "0", "1", "[Choice]", "0", "0", "", "1"));
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"Apple", "banana", "pear"}));
    ASSERT_TRUE(Create("a\nb", "2"));
    EXPECT_TRUE(qortest::ComboTexts(Combo()).empty()) << "an unknown items mode gives an empty list";
}

TEST_F(DropDown, CreationFailuresReportConversionsAndLeaveNoControl) {
    EXPECT_FALSE(Create("1;a", "1", "1", "[Choice]", "0", "x", ";"));
    EXPECT_EQ(host.LastError(), "'x' is not a valid integer value");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_FALSE(host.Exec("qorRemoveDropDown", {"Rect1"}));
    EXPECT_FALSE(Create("a", "0", "1", "[Choice]", "0", "0", "", "maybe"));
    EXPECT_EQ(host.LastError(), "'maybe' is not a valid boolean value");
    EXPECT_TRUE(Create("a", "0", "1", "[Choice]", "0", "x", ";")) << "String mode never reads the column";
    EXPECT_FALSE(host.Exec("qorCreateDropDown", {"Nowhere", "0", "0", "a", "0", "0", "", "0", "1", "[V]"}));
    EXPECT_EQ(host.LastError(), "An object named Nowhere does not exist.");
    EXPECT_TRUE(host.WritesTo("[Choice]").empty());
}

// ---- user choices and OnChange -------------------------------------------------------

TEST_F(DropDown, PickingItemsWritesNumbersBeforeOnChangeAndOnlyOnRealChanges) {
    ASSERT_TRUE(Create("one\ntwo\nthree\nfour", "0", "0"));
    ASSERT_TRUE(Capture("Changed"));
    std::vector<std::string> seen;
    host.DefineSubroutine("Changed", [&] { seen.push_back(host.Var("[Choice]")); });
    host.ClearLog();
    Pick(2);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Choice]", "3"},
        {LogKind::ScriptLine, "", "GoSub \"Changed\""},
    };
    EXPECT_EQ(host.log(), expected);
    Pick(2);
    EXPECT_EQ(seen, Strings{"3"}) << "the same item again is no change";
    Pick(0);
    EXPECT_EQ(seen, (Strings{"3", "1"}));
    ASSERT_TRUE(Select("0", "0"));
    EXPECT_EQ(host.Var("[Choice]"), "0") << "no selection is item number 0";
    EXPECT_EQ(seen, (Strings{"3", "1", "0"}));
}

TEST_F(DropDown, ArrowKeysInAListOnlyDropDownChangeTheValue) {
    ASSERT_TRUE(Create("one\ntwo\nthree", "0", "1", "[Choice]", "1"));
    EXPECT_EQ(GetWindowLongA(Combo(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    ASSERT_TRUE(HostEmulator::FocusWindow(Combo()));
    host.KeyPress(VK_DOWN);
    host.Pump(30);
    EXPECT_EQ(host.Var("[Choice]"), "one");
    host.KeyPress(VK_DOWN);
    host.Pump(30);
    EXPECT_EQ(host.Var("[Choice]"), "two");
}

TEST_F(DropDown, TypingIntoTheEditFieldWritesTheText) {
    ASSERT_TRUE(Create("alpha\nbeta", "0", "1"));
    ASSERT_TRUE(Capture("Changed"));
    int runs = 0;
    host.DefineSubroutine("Changed", [&] { ++runs; });
    ClickIntoEdit();
    host.TypeText("be");
    host.Pump(30);
    EXPECT_EQ(host.Var("[Choice]"), "be");
    EXPECT_EQ(host.WritesTo("[Choice]"), (Strings{"b", "be"}));
    EXPECT_EQ(runs, 2);
}

TEST_F(DropDown, ArrayModeWritesWholeRowsOrNumbersAndFindsTypedTexts) {
    ASSERT_TRUE(Create("1;Miller;Leeds\n2;Adams;York", "1", "1", "[Choice]", "0", "1", ";"));
    Pick(1);
    EXPECT_EQ(host.Var("[Choice]"), "2;Adams;York");
    ClickIntoEdit();
    SendMessageA(Combo(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    host.TypeText("miller");
    host.Pump(30);
    EXPECT_EQ(host.Var("[Choice]"), "1;Miller;Leeds") << "the typed text finds the item ignoring case";
    host.TypeText("x");
    host.Pump(30);
    EXPECT_EQ(host.Var("[Choice]"), "") << "no item shows the text";

    ASSERT_TRUE(Create("1;Miller;Leeds\n2;Adams;York", "1", "0", "[Num]", "0", "1", ";"));
    Pick(1);
    EXPECT_EQ(host.Var("[Num]"), "2");
}

TEST_F(DropDown, WithoutAResultVariableOnlyNumberModeStaysSilent) {
    ASSERT_TRUE(Create("one\ntwo", "0", "0", ""));
    ASSERT_TRUE(Capture("Changed"));
    int runs = 0;
    host.DefineSubroutine("Changed", [&] { ++runs; });
    Pick(1);
    Pick(0);
    EXPECT_EQ(runs, 0);
    ASSERT_TRUE(Create("one\ntwo", "0", "1", ""));
    ASSERT_TRUE(Capture("Changed"));
    Pick(1);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(host.log().size() >= 1);
    for (const auto& entry : host.log()) EXPECT_NE(entry.kind, LogKind::SetVariable) << entry.name;
}

TEST_F(DropDown, OpeningAndClosingRunTheirSubroutinesAndCaptureKeepsOrSwitchesOff) {
    ASSERT_TRUE(Create("one\ntwo"));
    ASSERT_TRUE(Capture("Changed", "Opened", "Closed"));
    host.ClearLog();
    ClickButton();
    ClickButton();
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"Opened\"", "GoSub \"Closed\""}));
    ASSERT_TRUE(Capture("None", "None", ""));
    host.ClearLog();
    ClickButton();
    ClickButton();
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Opened\""}) << "None kept OnDropDown, empty switched OnCloseUp off";
    ASSERT_TRUE(Capture("None", "none", "None"));
    host.ClearLog();
    ClickButton();
    ClickButton();
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"none\""}) << "only the exact word None keeps";
    EXPECT_FALSE(host.Exec("qorDropDownCaptureEvents", {"Rect2", "a", "b", "c"}));
    EXPECT_EQ(host.LastError(), "There is no dropdown control attached to an object named Rect2.");
}

// ---- typing aids ------------------------------------------------------------------------

TEST_F(DropDown, AutoCompleteCompletesTheTypedPrefix) {
    ASSERT_TRUE(Create("apple\nbanana\nblueberry", "0", "1"));
    ASSERT_TRUE(SetProps("", "True", "", "", "clNone", "0", ""));
    ClickIntoEdit();
    host.TypeText("bl");
    host.Pump(30);
    EXPECT_EQ(Text(), "blueberry");
    DWORD start = 0, end = 0;
    SendMessageA(Combo(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 9u) << "the completed part is selected";
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(host.Var("[Choice]"), "blueberry");
}

TEST_F(DropDown, AutoDropDownOpensOnTypingAndAutoCloseUpClosesOnAnExactItem) {
    ASSERT_TRUE(Create("ab\nabc", "0", "1"));
    ASSERT_TRUE(SetProps("1", "", "1", "", "clNone", "0", ""));
    ClickIntoEdit();
    host.TypeText("a");
    host.Pump(30);
    EXPECT_TRUE(Dropped()) << "typing opened the list";
    host.TypeText("b");
    host.Pump(30);
    EXPECT_FALSE(Dropped()) << "the exact text of an item closed it";
    host.TypeText("c");
    host.Pump(30);
    EXPECT_TRUE(Dropped());
    host.KeyPress(VK_TAB);
    host.Pump(30);
    EXPECT_FALSE(Dropped()) << "Tab closes the list";
}

TEST_F(DropDown, ListOnlyAutoCompleteCollectsAPrefixUntilAPause) {
    ASSERT_TRUE(Create("apple\nbanana\nblueberry\nbluebell", "0", "1", "[Choice]", "1"));
    ASSERT_TRUE(SetProps("", "1", "", "", "clNone", "0", ""));
    ASSERT_TRUE(HostEmulator::FocusWindow(Combo()));
    host.TypeText("blueb");
    host.Pump(30);
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(host.Var("[Choice]"), "blueberry");
    host.TypeText("el");
    host.Pump(30);
    EXPECT_EQ(Selection(), 3) << "the longer prefix finds the next item";
    host.Pump(600);
    host.TypeText("a");
    host.Pump(30);
    EXPECT_EQ(Selection(), 0) << "after a pause typing starts a new prefix";
    EXPECT_EQ(host.Var("[Choice]"), "apple");
}

TEST_F(DropDown, TypingAidsAreOffByDefault) {
    ASSERT_TRUE(Create("apple\nbanana", "0", "1"));
    ClickIntoEdit();
    host.TypeText("ba");
    host.Pump(30);
    EXPECT_EQ(Text(), "ba");
    EXPECT_FALSE(Dropped());
}

// ---- set properties ------------------------------------------------------------------------

TEST_F(DropDown, SetPropertiesAppliesFontColourWidthAndText) {
    ASSERT_TRUE(Create("one\nTwo", "0", "1"));
    HWND form = host.ControlWindow("Rect1");
    RECT before{};
    GetClientRect(form, &before);
    ASSERT_TRUE(SetProps("", "", "", "'Arial', 20, (Bold|Italic), (clRed)", "$0000FF00", "300", "typed"));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Combo(), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    RECT after{}, combo{};
    GetClientRect(form, &after);
    GetWindowRect(Combo(), &combo);
    EXPECT_GT(after.bottom, before.bottom) << "a larger font makes a taller control";
    EXPECT_EQ(after.bottom, combo.bottom - combo.top);
    EXPECT_EQ(SendMessageA(Combo(), CB_GETDROPPEDWIDTH, 0, 0), 300);
    EXPECT_EQ(Text(), "typed");
    EXPECT_EQ(host.Var("[Choice]"), "typed") << "the value update ran";

    // The edit field paints with the colour and the font colour.
    HWND edit = qortest::EditOf(form);
    ASSERT_NE(edit, nullptr);
    HDC dc = GetDC(edit);
    const LRESULT brush = SendMessageA(form, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    ReleaseDC(edit, dc);

    ASSERT_TRUE(SetProps("", "", "", "", "clNone", "0", ""));
    EXPECT_EQ(SendMessageA(Combo(), CB_GETDROPPEDWIDTH, 0, 0), 300) << "width 0 keeps the width";
    EXPECT_EQ(Text(), "typed") << "the stored text is applied again";
    dc = GetDC(edit);
    SendMessageA(form, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0)) << "clNone keeps the colour";
    ReleaseDC(edit, dc);
}

TEST_F(DropDown, SetPropertiesFailuresStoreButApplyNothing) {
    ASSERT_TRUE(Create("one\ntwo", "0", "1"));
    const HFONT original = reinterpret_cast<HFONT>(SendMessageA(Combo(), WM_GETFONT, 0, 0));
    EXPECT_FALSE(SetProps("", "", "", "'Arial', 20, (), (clBlack)", "", "0", "two"));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Combo(), WM_GETFONT, 0, 0)), original) << "nothing applied";
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(host.HasVar("[Choice]")) << "no value update";
    EXPECT_FALSE(SetProps("yes", "", "", "", "clNone", "0", ""));
    EXPECT_EQ(host.LastError(), "'yes' is not a valid boolean value");
    EXPECT_FALSE(SetProps("", "", "", "", "clNone", "wide", "two"));
    EXPECT_EQ(host.LastError(), "'wide' is not a valid integer value");
    EXPECT_FALSE(SetProps("", "", "", "'Arial', x, (), (clBlack)", "clNone", "0", ""));
    EXPECT_EQ(host.LastError(), "'x' is not a valid integer value");

    ASSERT_TRUE(SetProps("", "", "", "", "clBlue", "0", ""));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Combo(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Arial") << "the font stored before the failing colour is applied now";
    EXPECT_EQ(Text(), "") << "the texts came after the failing steps and were never stored";
    EXPECT_EQ(host.Var("[Choice]"), "");
    EXPECT_FALSE(host.Exec("qorDropDownSetProperties", {"Rect9", "", "", "", "", "clNone", "0", ""}));
    EXPECT_EQ(host.LastError(), "There is no dropdown control attached to an object named Rect9.");
}

TEST_F(DropDown, ListOnlyPresetTextSelectsTheItemOrNothing) {
    ASSERT_TRUE(Create("one\nTwo", "0", "0", "[Choice]", "1"));
    ASSERT_TRUE(SetProps("", "", "", "", "clNone", "0", "TWO"));
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(host.Var("[Choice]"), "2");
    ASSERT_TRUE(Select("1", "0"));
    ASSERT_TRUE(SetProps("", "", "", "", "clNone", "0", ""));
    EXPECT_EQ(Selection(), 1) << "the stored text selects again";
    ASSERT_TRUE(Create("one\nTwo", "0", "0", "[Choice]", "1"));
    ASSERT_TRUE(Select("1", "0"));
    ASSERT_TRUE(SetProps("", "", "", "", "clNone", "0", ""));
    EXPECT_EQ(Selection(), -1) << "no text set: no selection";
    EXPECT_EQ(host.Var("[Choice]"), "0");
}

// ---- select ---------------------------------------------------------------------------------

TEST_F(DropDown, SelectByNumberTextAndRow) {
    ASSERT_TRUE(Create("Apple\nBanana\nCherry", "0", "1"));
    ASSERT_TRUE(Select("2", "0"));
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(host.Var("[Choice]"), "Banana");
    ASSERT_TRUE(Select("abc", "0"));
    EXPECT_EQ(Selection(), 1) << "a text that is not a number is ignored";
    ASSERT_TRUE(Select("4", "0"));
    EXPECT_EQ(Selection(), -1);
    ASSERT_TRUE(Select("CHERRY", "1"));
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(Text(), "CHERRY") << "the edit field shows the text as given";
    EXPECT_EQ(host.Var("[Choice]"), "CHERRY");
    ASSERT_TRUE(Select("Apple", "2"));
    EXPECT_EQ(Selection(), 2) << "String-mode items have no rows: nothing selected";
    ASSERT_TRUE(Select("1", "7"));
    EXPECT_EQ(Selection(), 2);
    EXPECT_FALSE(host.Exec("qorDropDownSelect", {"Rect2", "1", "0"}));
    EXPECT_EQ(host.LastError(), "There is no dropdown control attached to an object named Rect2.");

    ASSERT_TRUE(Create("1;Ann\n2;Bob", "1", "1", "[Row]", "1", "1", ";"));
    ASSERT_TRUE(Select("2;BOB", "2"));
    EXPECT_EQ(Selection(), 1);
    EXPECT_EQ(host.Var("[Row]"), "2;Bob");
    ASSERT_TRUE(Select("3;Cid", "2"));
    EXPECT_EQ(Selection(), 1) << "a row not found keeps the selection";
    ASSERT_TRUE(Select("ann", "1"));
    EXPECT_EQ(Selection(), 0) << "list-only: FindExact decides";
    ASSERT_TRUE(Select("nobody", "1"));
    EXPECT_EQ(Selection(), -1);
    EXPECT_EQ(host.Var("[Row]"), "");
}

TEST_F(DropDown, AnUnknownItemsModeNeverChangesItsValue) {
    ASSERT_TRUE(Create("a\nb", "x", "1"));
    ASSERT_TRUE(Capture("Changed"));
    ASSERT_TRUE(Select("a", "1"));
    ASSERT_TRUE(SetProps("", "", "", "", "clNone", "0", "b"));
    EXPECT_FALSE(host.HasVar("[Choice]"));
    EXPECT_TRUE(host.ScriptLines().empty());
}

// ---- end of life --------------------------------------------------------------------------

TEST_F(DropDown, RemovingEmptiesTheResultVariable) {
    ASSERT_TRUE(Create("one\ntwo", "0", "1"));
    Pick(1);
    EXPECT_EQ(host.Var("[Choice]"), "two");
    ASSERT_TRUE(host.Exec("qorRemoveDropDown", {"Rect1"}));
    EXPECT_EQ(host.Var("[Choice]"), "");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_FALSE(host.Exec("qorRemoveDropDown", {"Rect1"}));
    EXPECT_EQ(host.LastError(), "There is no dropdown control attached to an object named Rect1.");
    ASSERT_TRUE(Create("one", "0", "1", ""));
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorRemoveDropDown", {"Rect1"}));
    EXPECT_TRUE(host.log().empty()) << "no variable, nothing written";
}

TEST_F(DropDown, OnChangeMayRemoveItsOwnControl) {
    ASSERT_TRUE(Create("one\ntwo", "0", "1"));
    ASSERT_TRUE(Capture("Remove", "", ""));
    host.DefineSubroutine("Remove", [&] { EXPECT_TRUE(host.Exec("qorRemoveDropDown", {"Rect1"})); });
    host.ClearLog();
    Pick(1);
    host.Pump(50);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Choice]", "two"},
        {LogKind::ScriptLine, "", "GoSub \"Remove\""},
        {LogKind::SetVariable, "[Choice]", ""},
    };
    EXPECT_EQ(host.log(), expected) << "nothing is written by the dead control after its subroutine";
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
}

TEST_F(DropDown, OnCloseUpAndOnDropDownMayRecreateTheirControl) {
    ASSERT_TRUE(Create("one\ntwo", "0", "1"));
    ASSERT_TRUE(Capture("", "", "Recreate"));
    HWND old = Combo();
    host.DefineSubroutine("Recreate", [&] { EXPECT_TRUE(Create("fresh\nnew", "0", "1", "[Fresh]")); });
    Pick(1);
    host.Pump(50);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(host.Var("[Choice]"), "");
    ASSERT_NE(Combo(), nullptr);
    EXPECT_EQ(qortest::ComboTexts(Combo()), (Strings{"fresh", "new"}));
    Pick(1);
    EXPECT_EQ(host.Var("[Fresh]"), "new") << "the new control works";

    ASSERT_TRUE(Capture("", "Remove", ""));
    host.DefineSubroutine("Remove", [&] { EXPECT_TRUE(host.Exec("qorRemoveDropDown", {"Rect1"})); });
    ClickButton();
    host.Pump(50);
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_EQ(host.Var("[Fresh]"), "");
}

TEST_F(DropDown, HostObjectMessageResizesToTheRectangleWidth) {
    ASSERT_TRUE(Create("one"));
    host.MoveRectangle("Rect1", 20, 20, 300, 100);
    host.SendObjectMessage(host.ControlWindow("Rect1"), 4);
    RECT form{}, combo{};
    GetClientRect(host.ControlWindow("Rect1"), &form);
    GetWindowRect(Combo(), &combo);
    EXPECT_EQ(form.right, 300);
    EXPECT_EQ(combo.right - combo.left, 300);
    EXPECT_EQ(form.bottom, combo.bottom - combo.top);
}

} // namespace
