// The SmartEdit as host and user see it: creation and removal, the text
// variable and change event under real typing, pasting and actions, the
// editing commands and information items, properties that re-create the
// editor, mouse events, subroutines that remove or re-create the SmartEdit
// from inside its own events, and its lines as items of the list actions.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

const char kNoSmartEdit[] = "There is no smartedit control attached to an object named Rect1.";

void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Ends whatever menu is being tracked a moment from now (the edit's context
// menu opens on a right-button release).
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    EndMenu();
    KillTimer(nullptr, id);
}

class SmartEdit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 240, 120);
        host.AddRectangle("Rect2", 20, 160, 240, 60);
        host.Activate();
    }

    bool Create(const std::string& var = "[Text]", const std::string& rect = "Rect1") {
        return host.Exec("qorCreateSmartEdit", {rect, var});
    }
    bool SetText(const std::string& text, const std::string& mode = "0") {
        return host.Exec("qorSmartEditSetText", {"Rect1", text, mode});
    }
    bool Capture(const std::string& change, const std::string& dbl = "None", const std::string& right = "None",
                 const std::string& click = "None") {
        return host.Exec("qorSmartEditCaptureEvents", {"Rect1", change, dbl, right, click});
    }
    bool Props(const std::string& readOnly, const std::string& wrap, const std::string& tabs,
               const std::string& hideSel, const std::string& font = "", const std::string& color = "clNone",
               const std::string& scroll = "", const std::string& align = "") {
        return host.Exec("qorSmartEditSetProperties",
                         {"Rect1", readOnly, wrap, tabs, hideSel, font, color, scroll, align});
    }
    bool Cmd(const std::string& action) { return host.Exec(action, {"Rect1"}); }
    std::string Info(const std::string& item) {
        host.SetVar("[Info]", "<unset>");
        EXPECT_TRUE(host.Exec("qorSmartEditGetInfo", {"Rect1", item, "[Info]"}));
        return host.Var("[Info]");
    }
    std::string List(const std::string& action, const Strings& rest) {
        return qortest::RunListAction(host, action, rest);
    }
    HWND Edit() { return qortest::EditOf(host.ControlWindow("Rect1")); }
    std::string EditText() { return qortest::WindowText(Edit()); }
    std::pair<int, int> Selection() {
        DWORD s = 0, e = 0;
        SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        return {static_cast<int>(s), static_cast<int>(e)};
    }
    void ClickOn(HWND target, int x, int y, bool right = false, bool doubleClick = false) {
        ASSERT_TRUE(host.Activate());
        host.ClickAt(target, x, y, right, doubleClick);
    }
    void Focus() {
        ASSERT_TRUE(host.Activate());
        ASSERT_TRUE(Cmd("qorSmartEditFocus"));
        host.Pump(20);
        ASSERT_EQ(GetFocus(), Edit());
    }
    int GoSubs(const std::string& name) {
        int n = 0;
        for (const auto& line : host.ScriptLines()) n += line == "GoSub \"" + name + "\"";
        return n;
    }

    HostEmulator host;
};

// ---- Creation and removal --------------------------------------------------

TEST_F(SmartEdit, CreateAttachesAnEmptyMultiLineEditorFillingTheRectangle) {
    host.SetVar("[Text]", "kept");
    ASSERT_TRUE(Create());
    HWND form = host.ControlWindow("Rect1");
    ASSERT_NE(form, nullptr);
    HWND edit = Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(host.Var("[Text]"), "kept") << "the text variable is neither read nor written at creation";
    EXPECT_TRUE(host.WritesTo("[Text]").empty());
    RECT r{};
    GetWindowRect(edit, &r);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_EQ(r.bottom - r.top, 120);
    EXPECT_EQ(Info("5"), "True") << "word wrap is on until the first set-properties";
    EXPECT_EQ(Info("4"), "True");
    EXPECT_EQ(Info("11"), "No Scroll");
    EXPECT_EQ(Info("3"), "False");
}

TEST_F(SmartEdit, RemoveEmptiesTheTextVariableAndReportsAMissingSmartEdit) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("hello"));
    EXPECT_EQ(host.Var("[Text]"), "hello");
    ASSERT_TRUE(host.Exec("qorRemoveSmartEdit", {"rect1"}));
    EXPECT_EQ(host.Var("[Text]"), "");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_FALSE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
    EXPECT_EQ(host.LastError(), "There is no SmartEdit control attached to an object named Rect1.");
    const Strings addressing = {"qorSmartEditUndo", "qorSmartEditRedo", "qorSmartEditClearUndo",
                                "qorSmartEditCut", "qorSmartEditCopy", "qorSmartEditPaste",
                                "qorSmartEditDelete", "qorSmartEditSelectAll", "qorSmartEditDeselectAll",
                                "qorSmartEditFocus", "qorSmartEditScrollToCaret"};
    for (const auto& action : addressing) {
        SCOPED_TRACE(action);
        host.SetVar("[qorBrindavelLastError]", "");
        EXPECT_FALSE(Cmd(action));
        EXPECT_EQ(host.LastError(), kNoSmartEdit);
    }
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(host.Exec("qorSmartEditSetText", {"Rect1", "x", "0"}));
    EXPECT_EQ(host.LastError(), kNoSmartEdit);
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(host.Exec("qorSmartEditGetInfo", {"Rect1", "1", "[Info]"}));
    EXPECT_EQ(host.LastError(), kNoSmartEdit);
    host.SetVar("[qorBrindavelLastError]", "");
    EXPECT_FALSE(host.Exec("qorSmartEditScroll", {"Rect1", "0", "1"}));
    EXPECT_EQ(host.LastError(), kNoSmartEdit);
    EXPECT_FALSE(Capture("Sub"));
    EXPECT_FALSE(Props("", "", "", ""));
}

TEST_F(SmartEdit, CreateWithoutAnObjectFailsAndACreateElsewhereReplacesIt) {
    EXPECT_FALSE(Create("[Text]", "Nowhere"));
    EXPECT_EQ(host.LastError(), "An object named Nowhere does not exist.");
    ASSERT_TRUE(Create("[First]"));
    ASSERT_TRUE(SetText("one"));
    ASSERT_TRUE(Create("[Second]"));
    EXPECT_EQ(host.Var("[First]"), "") << "the replaced SmartEdit emptied its variable";
    EXPECT_EQ(EditText(), "");
}

// ---- Text binding and the change event -------------------------------------

TEST_F(SmartEdit, TypingWritesTheTextVariableAndRunsTheChangeSubroutinePerChange) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(Capture("Changed"));
    Focus();
    host.ClearLog();
    host.TypeText("ab");
    host.KeyPress(VK_RETURN);
    host.TypeText("c");
    host.Pump(30);
    EXPECT_EQ(EditText(), "ab\r\nc");
    EXPECT_EQ(host.WritesTo("[Text]"), (Strings{"a", "ab", "ab\r\n", "ab\r\nc"}));
    EXPECT_EQ(GoSubs("Changed"), 4);
    // The subroutine sees the new text.
    std::string seen;
    host.DefineSubroutine("Changed", [&] { seen = host.Var("[Text]"); });
    host.KeyPress(VK_BACK);
    host.Pump(30);
    EXPECT_EQ(seen, "ab\r\n");
}

TEST_F(SmartEdit, WithoutATextVariableTypingRunsNothingAndGetInfoWritesNothing) {
    ASSERT_TRUE(Create(""));
    ASSERT_TRUE(Capture("Changed"));
    Focus();
    host.ClearLog();
    host.TypeText("xyz");
    host.Pump(30);
    EXPECT_EQ(EditText(), "xyz");
    EXPECT_TRUE(host.log().empty());
    EXPECT_EQ(Info("1"), "<unset>");
}

TEST_F(SmartEdit, SetTextReplacesTextOrSelectionAndRunsTheChangeOnlyWhenTheTextDiffers) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(Capture("Changed"));
    host.ClearLog();
    ASSERT_TRUE(SetText("hello world"));
    EXPECT_EQ(host.Var("[Text]"), "hello world");
    EXPECT_EQ(GoSubs("Changed"), 1);
    ASSERT_TRUE(SetText("hello world"));
    EXPECT_EQ(host.WritesTo("[Text]"), (Strings{"hello world", "hello world"}));
    EXPECT_EQ(GoSubs("Changed"), 1) << "the same text again runs no subroutine";
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "6", "5"}));
    ASSERT_TRUE(SetText("there", "1"));
    EXPECT_EQ(EditText(), "hello there");
    EXPECT_EQ(Selection(), std::make_pair(11, 11)) << "the caret ends after the inserted text";
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "5", "1"}));
    ASSERT_TRUE(SetText(",", "1"));
    EXPECT_EQ(EditText(), "hello, there") << "no selection: inserted at the caret";
    EXPECT_TRUE(SetText("ignored", "2"));
    EXPECT_EQ(EditText(), "hello, there");
    EXPECT_EQ(host.Var("[Text]"), "hello, there");
    EXPECT_EQ(GoSubs("Changed"), 3);
    ASSERT_TRUE(SetText("[#13][#10]", "0"));
    EXPECT_EQ(EditText(), "[#13][#10]") << "the text is not decoded";
}

TEST_F(SmartEdit, PastingThroughTheRealClipboardAndKeyboard) {
    ASSERT_TRUE(Create());
    Focus();
    PutOnClipboard("pasted\r\ntext");
    host.KeyPress('V', false, true);
    host.Pump(30);
    EXPECT_EQ(EditText(), "pasted\r\ntext");
    EXPECT_EQ(host.Var("[Text]"), "pasted\r\ntext");
    PutOnClipboard("!");
    ASSERT_TRUE(Cmd("qorSmartEditPaste"));
    EXPECT_EQ(host.Var("[Text]"), "pasted\r\ntext!") << "an action's change is written before it returns";
}

// ---- Commands and information ----------------------------------------------

TEST_F(SmartEdit, ClipboardCommandsWorkOnTheSelection) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("alpha beta gamma"));
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "6", "4"}));
    EXPECT_EQ(Info("0"), "beta");
    ASSERT_TRUE(Cmd("qorSmartEditCopy"));
    EXPECT_EQ(ClipboardText(), "beta");
    EXPECT_EQ(EditText(), "alpha beta gamma");
    ASSERT_TRUE(Cmd("qorSmartEditCut"));
    EXPECT_EQ(EditText(), "alpha  gamma");
    EXPECT_EQ(host.Var("[Text]"), "alpha  gamma");
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "0", "6"}));
    ASSERT_TRUE(Cmd("qorSmartEditPaste"));
    EXPECT_EQ(EditText(), "beta gamma");
    ASSERT_TRUE(Cmd("qorSmartEditSelectAll"));
    EXPECT_EQ(Info("9"), "0");
    EXPECT_EQ(Info("10"), "10");
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "4", "6"}));
    ASSERT_TRUE(Cmd("qorSmartEditDelete"));
    EXPECT_EQ(EditText(), "beta");
    EXPECT_EQ(host.Var("[Text]"), "beta");
    ASSERT_TRUE(Cmd("qorSmartEditUndo"));
    EXPECT_EQ(EditText(), "beta") << "delete cannot be undone";
    ASSERT_TRUE(Cmd("qorSmartEditSelectAll"));
    ASSERT_TRUE(Cmd("qorSmartEditDeselectAll"));
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    EXPECT_EQ(Info("6"), "0");
    EXPECT_EQ(Info("7"), "1");
}

TEST_F(SmartEdit, UndoAndRedoAreTheEditsSingleUndoStep) {
    ASSERT_TRUE(Create());
    Focus();
    host.TypeText("abc");
    host.Pump(30);
    ASSERT_EQ(EditText(), "abc");
    ASSERT_TRUE(Cmd("qorSmartEditUndo"));
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(host.Var("[Text]"), "");
    ASSERT_TRUE(Cmd("qorSmartEditRedo"));
    EXPECT_EQ(EditText(), "abc");
    EXPECT_EQ(host.Var("[Text]"), "abc");
    ASSERT_TRUE(Cmd("qorSmartEditRedo"));
    EXPECT_EQ(EditText(), "") << "a second redo undoes again";
    ASSERT_TRUE(Cmd("qorSmartEditRedo"));
    ASSERT_EQ(EditText(), "abc");
    ASSERT_TRUE(Cmd("qorSmartEditClearUndo"));
    ASSERT_TRUE(Cmd("qorSmartEditUndo"));
    EXPECT_EQ(EditText(), "abc") << "nothing left to undo";
}

TEST_F(SmartEdit, CaretPositionsSelectionsAndTheirInformation) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("first\r\nsecond\r\nthird"));
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "0", "1"}));
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    EXPECT_EQ(Info("6"), "0");
    EXPECT_EQ(Info("7"), "1");
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "3", "2"}));
    EXPECT_EQ(Selection(), std::make_pair(10, 10));
    EXPECT_EQ(Info("6"), "3");
    EXPECT_EQ(Info("7"), "2");
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "7", "8"}));
    EXPECT_EQ(GetFocus(), Edit()) << "select text gives the editor the focus";
    EXPECT_EQ(Info("0"), "second\r\n");
    EXPECT_EQ(Info("9"), "7");
    EXPECT_EQ(Info("10"), "8");
    EXPECT_EQ(Info("6"), "0") << "the caret is at the end of the selection, the start of line 3";
    EXPECT_EQ(Info("7"), "3");
    EXPECT_EQ(Info("1"), "first\r\nsecond\r\nthird");
    char handle[32];
    snprintf(handle, sizeof handle, "%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(Edit())));
    EXPECT_EQ(Info("8"), handle);
    EXPECT_EQ(Info("12"), "<unset>");
    EXPECT_EQ(Info("x"), "<unset>");
    for (const Strings& bad : {Strings{"Rect1", "1", ""}, Strings{"Rect1", "a", "1"}}) {
        host.SetVar("[qorBrindavelLastError]", "");
        EXPECT_FALSE(host.Exec("qorSmartEditSetCaretPos", bad));
    }
    EXPECT_FALSE(host.Exec("qorSmartEditSelect", {"Rect1", "x", "y"}));
    EXPECT_EQ(host.LastError(), "'y' is not a valid integer value") << "the length is converted first";
    EXPECT_EQ(Selection(), std::make_pair(7, 15)) << "a failed conversion changes nothing";

    // Numbers at the ends of the integer range stay inside the text.
    const int length = GetWindowTextLengthA(Edit());
    ASSERT_TRUE(host.Exec("qorSmartEditSelect", {"Rect1", "2", "2147483647"}));
    EXPECT_EQ(Selection(), std::make_pair(2, length));
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "2147483647", "-2147483648"}));
    const std::pair<int, int> caret = Selection();
    EXPECT_EQ(caret.first, caret.second);
    EXPECT_LE(caret.first, length);
}

TEST_F(SmartEdit, ScrollingMovesTheFirstVisibleLine) {
    ASSERT_TRUE(Create());
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "line " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(SetText(text));
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "0", "1"}));
    EXPECT_EQ(Info("2"), "1");
    ASSERT_TRUE(host.Exec("qorSmartEditScroll", {"Rect1", "0", "5"}));
    EXPECT_EQ(Info("2"), "6");
    ASSERT_TRUE(host.Exec("qorSmartEditScroll", {"Rect1", "0", "-2"}));
    EXPECT_EQ(Info("2"), "4");
    ASSERT_TRUE(Cmd("qorSmartEditScrollToCaret"));
    EXPECT_EQ(Info("2"), "1");
    ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "0", "50"}));
    ASSERT_TRUE(Cmd("qorSmartEditScrollToCaret"));
    EXPECT_GT(std::stoi(Info("2")), 30);
    EXPECT_FALSE(host.Exec("qorSmartEditScroll", {"Rect1", "0", ""}));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
}

// ---- Properties --------------------------------------------------------------

TEST_F(SmartEdit, AFontAloneTurnsWordWrapAndHideSelectionOffAndKeepsTheText) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("some text"));
    HWND before = Edit();
    ASSERT_TRUE(Props("", "", "", "", "'Arial', 12, (Bold), (clRed)"));
    EXPECT_EQ(Info("5"), "False");
    EXPECT_EQ(Info("4"), "False");
    EXPECT_NE(Edit(), before) << "the editor was re-created";
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(EditText(), "some text");
    EXPECT_TRUE(GetWindowLongA(Edit(), GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongA(Edit(), GWL_STYLE) & ES_NOHIDESEL);
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Edit(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    // Typing still reaches the variable through the new window.
    Focus();
    host.KeyPress(VK_END, false, true);
    host.TypeText("!");
    host.Pump(30);
    EXPECT_EQ(host.Var("[Text]"), "some text!");
}

TEST_F(SmartEdit, WordWrapChangesTheLineCount) {
    ASSERT_TRUE(Create());
    std::string words;
    for (int i = 0; i < 30; ++i) words += "word ";
    ASSERT_TRUE(SetText(words));
    ASSERT_TRUE(Props("", "True", "", ""));
    const int wrapped = std::stoi(List("qorListSize", {}));
    EXPECT_GT(wrapped, 1);
    ASSERT_TRUE(Props("", "False", "", ""));
    EXPECT_EQ(List("qorListSize", {}), "1");
    EXPECT_EQ(List("qorListGetItem", {"1"}), words);
    ASSERT_TRUE(Props("", "True", "", ""));
    EXPECT_EQ(std::stoi(List("qorListSize", {})), wrapped);
    EXPECT_EQ(EditText(), words);
}

TEST_F(SmartEdit, ScrollBarsAlignmentReadOnlyAndColour) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("abc"));
    ASSERT_TRUE(Props("True", "", "", "", "", "clYellow", "3", "2"));
    LONG style = GetWindowLongA(Edit(), GWL_STYLE);
    EXPECT_EQ(Info("11"), "Both");
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_EQ(Info("3"), "True");
    EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), ES_RIGHT);
    ASSERT_TRUE(Props("", "", "", "", "", "clNone", "4", "3"));
    style = GetWindowLongA(Edit(), GWL_STYLE);
    EXPECT_EQ(Info("11"), "Both") << "code 4 keeps the scroll bars";
    EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), ES_RIGHT) << "code 3 keeps the alignment";
    EXPECT_EQ(Info("3"), "True") << "an empty flag keeps the stored value";
    ASSERT_TRUE(Props("False", "", "", "", "", "clNone", "0", "0"));
    style = GetWindowLongA(Edit(), GWL_STYLE);
    EXPECT_EQ(Info("11"), "Vertical");
    EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), ES_CENTER);
    EXPECT_EQ(Info("3"), "False");
    ASSERT_TRUE(Props("", "", "", "", "", "clNone", "1", "1"));
    EXPECT_EQ(Info("11"), "Horizontal");
    ASSERT_TRUE(Props("", "", "", "", "", "clNone", "2", ""));
    EXPECT_EQ(Info("11"), "No Scroll");
    // The background colour reaches the painting of the editor.
    HDC dc = GetDC(Edit());
    const LRESULT brush = SendMessageA(host.ControlWindow("Rect1"), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Edit()));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
    LOGBRUSH lb{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 0));
    ReleaseDC(Edit(), dc);
}

TEST_F(SmartEdit, BadPropertiesFailWithTheConversionMessageAndApplyNothing) {
    ASSERT_TRUE(Create());
    EXPECT_FALSE(Props("", "", "", "", "", ""));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
    EXPECT_EQ(Info("5"), "True") << "nothing applied";
    EXPECT_FALSE(Props("True", "yes", "", ""));
    EXPECT_EQ(host.LastError(), "'yes' is not a valid boolean value");
    EXPECT_EQ(Info("3"), "False") << "read only is stored but not applied";
    ASSERT_TRUE(Props("", "", "", "True"));
    EXPECT_EQ(Info("3"), "True") << "the next successful call applies the stored value";
    EXPECT_EQ(Info("4"), "True");
    EXPECT_EQ(Info("5"), "False");

    // A font whose colour would be the text colour: stored by a failing call,
    // painted only after a successful one.
    auto textColour = [&] {
        HDC dc = GetDC(Edit());
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(host.ControlWindow("Rect1"), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Edit()));
        const COLORREF colour = GetTextColor(dc);
        ReleaseDC(Edit(), dc);
        return colour;
    };
    EXPECT_FALSE(Props("", "", "", "", "'Arial', 10, (), (clRed)", "nocolour"));
    EXPECT_NE(textColour(), RGB(255, 0, 0)) << "the stored font is not applied";
    ASSERT_TRUE(Props("", "", "", ""));
    EXPECT_EQ(textColour(), RGB(255, 0, 0));
}

TEST_F(SmartEdit, TheTabOptionDecidesWhetherTabBecomesText) {
    ASSERT_TRUE(Create());
    Focus();
    host.TypeText("a");
    host.KeyPress(VK_TAB);
    host.Pump(20);
    EXPECT_EQ(EditText(), "a");
    EXPECT_FALSE(Props("", "", "True", "", "", "")) << "the empty colour fails";
    EXPECT_FALSE(SendMessageA(Edit(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB) << "stored, not applied";
    Focus();
    host.KeyPress(VK_END, false, true);
    host.KeyPress(VK_TAB);
    host.Pump(20);
    EXPECT_EQ(EditText(), "a");
    ASSERT_TRUE(Props("", "", "", ""));
    EXPECT_TRUE(SendMessageA(Edit(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB) << "applied by the next call";
    ASSERT_TRUE(Props("", "", "True", ""));
    Focus();
    host.KeyPress(VK_END, false, true);
    host.KeyPress(VK_TAB);
    host.TypeText("b");
    host.Pump(30);
    EXPECT_EQ(EditText(), "a\tb");
    EXPECT_EQ(host.Var("[Text]"), "a\tb");
    EXPECT_TRUE(SendMessageA(Edit(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
    ASSERT_TRUE(Props("", "", "False", ""));
    EXPECT_FALSE(SendMessageA(Edit(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
}

// ---- Mouse events and capture ------------------------------------------------

TEST_F(SmartEdit, ClickDoubleClickAndRightButtonRunTheirSubroutines) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("some words here"));
    ASSERT_TRUE(Capture("", "Dbl", "Right", "Click"));
    host.ClearLog();
    ClickOn(Edit(), 30, 10);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Click\""});
    host.ClearLog();
    host.Pump(600); // no double click with the next one
    ClickOn(Edit(), 30, 10, false, true);
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"Click\"", "GoSub \"Dbl\""}));
    EXPECT_EQ(Info("9"), "0") << "the double click selected the first word";
    EXPECT_EQ(Info("0").substr(0, 5), "some ");
    host.ClearLog();
    SetTimer(nullptr, 0, 150, EndMenuSoon);
    ClickOn(Edit(), 30, 10, true);
    host.Pump(300);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"Right\""});
    // "None" keeps, the empty text switches off, lower-case none is a name.
    ASSERT_TRUE(Capture("None", "", "none", "None"));
    host.ClearLog();
    host.Pump(600);
    ClickOn(Edit(), 30, 10, false, true);
    SetTimer(nullptr, 0, 150, EndMenuSoon);
    ClickOn(Edit(), 30, 10, true);
    host.Pump(300);
    EXPECT_EQ(host.ScriptLines(), (Strings{"GoSub \"Click\"", "GoSub \"none\""}));
    EXPECT_TRUE(Capture("None", "None", "None", "None"));
}

// Each event's subroutine removes the SmartEdit, or creates a new one in its
// place, from inside the event; the handler must neither crash nor touch the
// dead control.
TEST_F(SmartEdit, SubroutinesMayRemoveOrRecreateTheControlFromInsideEachEvent) {
    struct Case {
        const char* name;
        bool recreate;
    };
    for (const Case& c : {Case{"remove", false}, Case{"recreate", true}}) {
        for (int event = 0; event < 4; ++event) {
            SCOPED_TRACE(std::string(c.name) + " in event " + std::to_string(event));
            ASSERT_TRUE(Create());
            ASSERT_TRUE(SetText("text to click"));
            host.DefineSubroutine("Kill", [&] {
                if (c.recreate) {
                    EXPECT_TRUE(Create("[Other]"));
                    EXPECT_TRUE(host.Exec("qorSmartEditSetText", {"Rect1", "fresh", "0"}));
                } else {
                    EXPECT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
                }
            });
            const std::string kill = "Kill";
            ASSERT_TRUE(Capture(event == 0 ? kill : "", event == 1 ? kill : "", event == 2 ? kill : "",
                                event == 3 ? kill : ""));
            HWND edit = Edit();
            ASSERT_TRUE(host.Activate());
            host.ClearLog();
            switch (event) {
            case 0:
                Focus();
                host.TypeText("x");
                break;
            case 1: ClickOn(edit, 20, 10, false, true); break;
            case 2:
                SetTimer(nullptr, 0, 150, EndMenuSoon);
                ClickOn(edit, 20, 10, true);
                break;
            case 3: ClickOn(edit, 20, 10); break;
            }
            host.Pump(300);
            EXPECT_EQ(GoSubs("Kill"), 1);
            EXPECT_FALSE(IsWindow(edit));
            if (c.recreate) {
                ASSERT_NE(Edit(), nullptr);
                EXPECT_EQ(EditText(), "fresh");
                EXPECT_EQ(host.Var("[Other]"), "fresh") << ::testing::PrintToString(host.WritesTo("[Other]"))
                                                        << ::testing::PrintToString(host.ScriptLines());
                EXPECT_TRUE(host.Exec("qorRemoveSmartEdit", {"Rect1"}));
            } else {
                EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
            }
            EXPECT_EQ(host.Var("[Text]"), "") << "the first SmartEdit emptied its variable";
            host.Pump(600);
        }
    }
}

// ---- Lines as items of the list actions ---------------------------------------

TEST_F(SmartEdit, AddGetSizeAndDeleteFollowTheEditsLineGeometry) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(Capture("Changed"));
    EXPECT_EQ(List("qorListSize", {}), "0");
    EXPECT_EQ(List("qorListGetItem", {"all"}), "");
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "a"}));
    EXPECT_EQ(host.Var("[Text]"), "a\r\n") << "the change steps ran before the action returned";
    EXPECT_EQ(GoSubs("Changed"), 1);
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "-3", "b"}));
    EXPECT_EQ(EditText(), "a\r\nb\r\n");
    EXPECT_EQ(List("qorListSize", {}), "2");
    EXPECT_EQ(List("qorListGetItem", {"ALL"}), "a\r\nb");
    EXPECT_EQ(List("qorListGetItem", {"@2"}), "b");
    EXPECT_EQ(List("qorListGetItem", {"3"}), "");
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "1", "first"}));
    EXPECT_EQ(EditText(), "first\r\na\r\nb\r\n");
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "4", "last"}));
    EXPECT_EQ(EditText(), "first\r\na\r\nb\r\nlast\r\n") << "the empty line after the break counts as existing";
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "9", "nowhere"}));
    EXPECT_EQ(EditText(), "first\r\na\r\nb\r\nlast\r\n") << "an index past the end inserts nothing";
    // A text without a final line break gets the new line after a break.
    ASSERT_TRUE(SetText("x\r\ny"));
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "z"}));
    EXPECT_EQ(EditText(), "x\r\ny\r\nz");
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "3"}));
    EXPECT_EQ(EditText(), "x\r\ny\r\n") << "the last line loses only its characters";
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "1"}));
    EXPECT_EQ(EditText(), "y\r\n");
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "2"}));
    EXPECT_EQ(EditText(), "y\r\n") << "no line 2: nothing changes";
    EXPECT_FALSE(host.Exec("qorListDeleteItem", {"Rect1", "0"}));
    ASSERT_TRUE(host.Exec("qorListDeleteItem", {"Rect1", "All"}));
    EXPECT_EQ(EditText(), "");
    EXPECT_EQ(host.Var("[Text]"), "");
    host.SetVar("[Out]", "kept");
    EXPECT_FALSE(host.Exec("qorListGetItem", {"Rect1", "0", "[Out]"}));
    EXPECT_EQ(host.Var("[Out]"), "");
}

TEST_F(SmartEdit, ChangeAndMoveKeepEveryLineAndIgnorePlacesThatDoNotExist) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("one\r\ntwo\r\nthree\r\nfour"));
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "2", "TWO"}));
    EXPECT_EQ(EditText(), "one\r\nTWO\r\nthree\r\nfour");
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "4", "4"}));
    EXPECT_EQ(EditText(), "one\r\nTWO\r\nthree\r\n4");
    for (const char* outside : {"5", "0", "-1"}) ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", outside, "x"}));
    EXPECT_EQ(EditText(), "one\r\nTWO\r\nthree\r\n4");
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "1", "3"}));
    EXPECT_EQ(EditText(), "TWO\r\nthree\r\none\r\n4");
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "4", "1"}));
    EXPECT_EQ(EditText(), "4\r\nTWO\r\nthree\r\none\r\n");
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "1", "4"}));
    EXPECT_EQ(EditText(), "TWO\r\nthree\r\none\r\n4\r\n");
    const std::string before = EditText();
    for (const Strings& move : {Strings{"2", "2"}, Strings{"9", "1"}, Strings{"1", "9"}, Strings{"1", "5"},
                                Strings{"0", "1"}, Strings{"2", "0"}}) {
        SCOPED_TRACE(move[0] + " to " + move[1]);
        ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", move[0], move[1]}));
        EXPECT_EQ(EditText(), before);
    }
    EXPECT_FALSE(host.Exec("qorListMoveItem", {"Rect1", "a", "b"}));
    EXPECT_EQ(host.LastError(), "'b' is not a valid integer value");
    EXPECT_EQ(host.Var("[Text]"), before);
}

TEST_F(SmartEdit, FindAndExtendedSearchWithFindNext) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(SetText("Apple pie\r\nbanana\r\napple\r\nAPPLE tree\r\n\r\nfig"));
    EXPECT_EQ(List("qorListFindItem", {"APPLE"}), "3");
    EXPECT_EQ(List("qorListFindItem", {"apple p"}), "0");
    EXPECT_EQ(List("qorListFindItem", {""}), "5");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", "apple"}), "1");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "3");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "4");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "<unset>") << "nothing once the matches ran out";
    EXPECT_EQ(List("qorListFindItemEx", {"0", "0", "", "apple"}), "3");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "2", "0", "apple"}), "") << "no columns in a SmartEdit";
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", ""}), "");
    // Array search: a notice, the action succeeds, the search state stays.
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", "a"}), "1");
    host.SetVar("[Out]", "kept");
    EXPECT_TRUE(host.Exec("qorListFindItemEx", {"Rect1", "1", "0", "", "apple", "[Out]"}));
    EXPECT_EQ(host.LastError(), "SmartEdit is not an array list.");
    EXPECT_EQ(host.Var("[Out]"), "kept");
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "2");
    // Any change empties the search state.
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "more"}));
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "<unset>");
    // The change steps of an item action run before the search state empties.
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", "apple"}), "1");
    ASSERT_TRUE(Capture("Changed"));
    host.DefineSubroutine("Changed", [&] { host.Exec("qorListFindNextItemEx", {"Rect1", "[InSub]"}); });
    ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", "apple jam"}));
    EXPECT_EQ(host.Var("[InSub]"), "3") << "the subroutine still saw the earlier search";
    EXPECT_EQ(List("qorListFindNextItemEx", {}), "<unset>") << "emptied after it";
    // qorListSort does not see a SmartEdit.
    EXPECT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
    EXPECT_EQ(host.LastError(), "There is no dropdown/listbox/checklistbox control attached to an object named Rect1.");
}

TEST_F(SmartEdit, WrappedLinesAreItemsToo) {
    ASSERT_TRUE(Create());
    std::string words;
    for (int i = 0; i < 20; ++i) words += "word" + std::to_string(i) + " ";
    ASSERT_TRUE(SetText(words + "\r\nnext"));
    const int count = std::stoi(List("qorListSize", {}));
    ASSERT_GT(count, 2);
    std::string joined;
    for (int i = 1; i <= count; ++i) joined += List("qorListGetItem", {std::to_string(i)});
    EXPECT_EQ(joined, words + "next") << "the wrapped pieces make up the text";
    EXPECT_EQ(List("qorListFindItem", {"NEXT"}), std::to_string(count));
}

TEST_F(SmartEdit, MovingWrappedLinesNeverLosesText) {
    ASSERT_TRUE(Create());
    const std::string text = "aaaa bbbbbbbbbbbbbbbbbbbbbbbbbbbbb cc dddddd eeeeeeeeeeeeeeeeeeeeeeeeeeeee f gggggggggg "
                             "hhh iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii j";
    auto letters = [](std::string s) {
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
                s.end());
        std::sort(s.begin(), s.end());
        return s;
    };
    ASSERT_TRUE(SetText(text));
    const int count = std::stoi(List("qorListSize", {}));
    ASSERT_GT(count, 3) << "the text wraps";
    for (int from = 1; from <= count; ++from) {
        for (int to = 1; to <= count; ++to) {
            ASSERT_TRUE(SetText(text));
            EXPECT_TRUE(host.Exec("qorListMoveItem", {"Rect1", std::to_string(from), std::to_string(to)}));
            EXPECT_EQ(letters(EditText()), letters(text)) << "move " << from << " to " << to;
        }
    }
}

TEST_F(SmartEdit, AHundredThousandCharacterLineIsReadWhole) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(Props("", "False", "", ""));
    std::string longLine;
    longLine.reserve(100000);
    for (int i = 0; longLine.size() < 100000; ++i) longLine += static_cast<char>('a' + i % 26);
    longLine.resize(100000);
    const std::string shortLine(5000, 'q');
    // Long texts are compared with EXPECT_TRUE so that a failure stays readable.
    ASSERT_TRUE(SetText("head\r\n" + longLine + "\r\n" + shortLine + "\r\ntail"));
    EXPECT_EQ(List("qorListSize", {}), "4");
    const std::string second = List("qorListGetItem", {"2"});
    EXPECT_EQ(second.size(), 100000u);
    EXPECT_TRUE(second == longLine);
    EXPECT_TRUE(List("qorListGetItem", {"3"}) == shortLine);
    EXPECT_EQ(List("qorListFindItem", {longLine}), "2");
    EXPECT_EQ(List("qorListFindItemEx", {"0", "1", "", longLine.substr(99990)}), "2");
    ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "2", "4"}));
    EXPECT_TRUE(List("qorListGetItem", {"4"}) == longLine);
    const std::string moved = EditText();
    EXPECT_EQ(moved.size(), 4u + 2 + 5000 + 2 + 4 + 2 + 100000);
    EXPECT_TRUE(moved == "head\r\n" + shortLine + "\r\ntail\r\n" + longLine) << "nothing lost on the way";
    ASSERT_TRUE(host.Exec("qorListChangeItem", {"Rect1", "4", "short"}));
    EXPECT_TRUE(List("qorListGetItem", {"all"}) == "head\r\n" + shortLine + "\r\ntail\r\nshort");
}

} // namespace
