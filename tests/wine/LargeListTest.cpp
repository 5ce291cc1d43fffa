// Lists and editors past 65,535 items or lines, where the system's 16-bit
// answers (list box hit test, edit character from position) name another item:
// the 32-bit position helpers against real controls, and the controls driven
// with real clicks at the sizes the benchmarks use.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"
#include "core/WideResults.h"

using qorhost::HostEmulator;

namespace {

constexpr int kLarge = 100000;

std::string Numbered(int n) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "Item %06d", n);
    return buffer;
}

std::string Lines(int count) {
    std::string text;
    text.reserve(static_cast<size_t>(count) * 13);
    for (int i = 0; i < count; ++i) text += Numbered(i) + "\r\n";
    return text;
}

RECT ItemRect(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

// The plug-in's calls into list windows, watched through its import table:
// item inserts made while the list would repaint after each.
struct RedrawWatch {
    std::vector<HWND> quiet; // windows with redraw off
    int insertsWhileDrawing = 0;
    int inserts = 0;

    void See(HWND window, UINT message, WPARAM wParam) {
        if (message == WM_SETREDRAW) {
            if (!wParam) quiet.push_back(window);
            else quiet.erase(std::remove(quiet.begin(), quiet.end(), window), quiet.end());
        } else if (message == LB_INSERTSTRING || message == LB_ADDSTRING || message == CB_INSERTSTRING ||
                   message == CB_ADDSTRING) {
            ++inserts;
            if (std::find(quiet.begin(), quiet.end(), window) == quiet.end()) ++insertsWhileDrawing;
        }
    }
};
RedrawWatch g_watch;

LRESULT WINAPI WatchedSend(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    g_watch.See(w, m, wp);
    return SendMessageA(w, m, wp, lp);
}
LRESULT WINAPI WatchedCall(WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp) {
    g_watch.See(w, m, wp);
    return CallWindowProcA(proc, w, m, wp, lp);
}

class LargeLists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 240, 200);
        host.Activate();
    }
    HostEmulator host;
};

TEST_F(LargeLists, ListItemAtPointCountsPastSixteenBits) {
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS, 0, 0,
                                200, 100, host.Rectangle("Rect1"), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kLarge; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    for (int top : {0, 65530, 70000, kLarge - 5}) {
        SendMessageA(list, LB_SETTOPINDEX, top, 0);
        const int shownTop = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        for (int index = shownTop; index < shownTop + 4 && index < kLarge; ++index) {
            const RECT r = ItemRect(list, index);
            EXPECT_EQ(qor::ListItemAtPoint(list, {5, (r.top + r.bottom) / 2}), index) << "top " << top;
        }
    }
    EXPECT_EQ(qor::ListItemAtPoint(list, {5, 99}), -1) << "below the last item";
    EXPECT_EQ(qor::ListItemAtPoint(list, {-1, 5}), -1) << "outside the client area";
    DestroyWindow(list);
}

TEST_F(LargeLists, EditCharAtPointCountsPastSixteenBits) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                                0, 0, 200, 100, host.Rectangle("Rect1"), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    const std::string text = Lines(kLarge);
    SetWindowTextA(edit, text.c_str());
    for (int line : {0, 70000, kLarge - 3}) {
        const int start = static_cast<int>(SendMessageA(edit, EM_LINEINDEX, line, 0));
        ASSERT_GE(start, 0);
        for (int offset : {start + 2, start + 7}) {
            SendMessageA(edit, EM_SETSEL, offset, offset);
            SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, offset, 0);
            const POINT point{static_cast<short>(LOWORD(at)) + 1, static_cast<short>(HIWORD(at)) + 2};
            EXPECT_EQ(qor::EditCharAtPoint(edit, point), offset) << "line " << line;
        }
    }
    DestroyWindow(edit);
}

// One line longer than 65,535 characters. Wine's edit cannot stand in here
// (its own caret and hit test disagree on such a line), so a window answers
// as the system's edit does: a 16-bit EM_CHARFROMPOS, a click that puts the
// caret on the character in full, EM_GETSEL/EM_SETSEL in 32 bits.
struct LongLineEdit {
    static constexpr int kStart = 18, kLength = 140000, kCharWidth = 7;
    static inline int firstColumn = 0; // the leftmost visible character of the line
    static inline DWORD from = 0, to = 0;
    static inline int clicks = 0;
    static int CharAt(LPARAM at) { return kStart + firstColumn + static_cast<short>(LOWORD(at)) / kCharWidth; }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case EM_CHARFROMPOS: // line 0 ("short first line\r\n") above y 10, the long line 1 below
            if (static_cast<short>(HIWORD(lParam)) < 10) return MAKELONG(static_cast<short>(LOWORD(lParam)) / kCharWidth, 0);
            return MAKELONG(static_cast<WORD>(CharAt(lParam)), 1);
        case EM_GETFIRSTVISIBLELINE: return 0;
        case EM_LINEINDEX: return wParam == 1 ? kStart : 0;
        case EM_LINELENGTH: return static_cast<int>(wParam) >= kStart ? kLength : 16;
        case WM_LBUTTONDOWN: from = to = static_cast<DWORD>(CharAt(lParam)); ++clicks; return 0;
        case EM_GETSEL:
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = from;
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = to;
            return 0;
        case EM_SETSEL: from = static_cast<DWORD>(wParam); to = static_cast<DWORD>(lParam); return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

TEST_F(LargeLists, EditCharAtPointOnALineLongerThanSixteenBits) {
    WNDCLASSA type{};
    type.lpfnWndProc = LongLineEdit::Proc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "QorLongLineEdit";
    RegisterClassA(&type);
    HWND edit = CreateWindowExA(0, type.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                                host.Rectangle("Rect1"), nullptr, type.hInstance, nullptr);
    ASSERT_NE(edit, nullptr);
    for (int column : {5, 70000, 0x10000 + 3, 131075}) {
        LongLineEdit::firstColumn = column - 2;
        LongLineEdit::from = column - 3;
        LongLineEdit::to = column;
        const POINT point{2 * LongLineEdit::kCharWidth + 1, 20};
        EXPECT_EQ(qor::EditCharAtPoint(edit, point), LongLineEdit::kStart + column) << "column " << column;
        EXPECT_EQ(std::make_pair(LongLineEdit::from, LongLineEdit::to), std::make_pair(DWORD(column - 3), DWORD(column)))
            << "the selection is put back";
    }
    EXPECT_EQ(LongLineEdit::clicks, 4);
    LongLineEdit::clicks = 0;
    EXPECT_EQ(qor::EditCharAtPoint(edit, {15, 5}), 2) << "a short line is answered without a click";
    EXPECT_EQ(LongLineEdit::clicks, 0);
    DestroyWindow(edit);
    UnregisterClassA(type.lpszClassName, type.hInstance);
}

TEST_F(LargeLists, ACheckGlyphClickPastSixteenBitsTogglesTheItemUnderTheMouse) {
    ASSERT_TRUE(host.Exec("qorCreateCheckListBox",
                          {"Rect1", "0", "0", Lines(kLarge), "0", "True", "", "", "", ""}));
    ASSERT_TRUE(host.Exec("qorCheckListBoxCaptureEvents", {"Rect1", "None", "None", "None", "State", "[Clicked]"}));
    HWND list = qortest::ListBoxOf(host.ControlWindow("Rect1"));
    ASSERT_NE(list, nullptr);
    for (int index : {65536 + 3, kLarge - 2}) {
        SCOPED_TRACE(index);
        SendMessageA(list, LB_SETTOPINDEX, index - 1, 0);
        host.ClearLog();
        ASSERT_TRUE(host.Activate());
        const RECT r = ItemRect(list, index);
        host.ClickAt(list, r.left + 7, (r.top + r.bottom) / 2);
        host.Pump(30);
        EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, index, 0), 1) << "checked";
        EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, index - 65536, 0), 0) << "the item 65,536 places earlier";
        EXPECT_EQ(host.Var("[Clicked]"), Numbered(index));
        EXPECT_EQ(host.Var(Numbered(index)), "Checked");
        EXPECT_FALSE(host.HasVar(Numbered(index - 65536)));
        EXPECT_EQ(host.ScriptLines(), std::vector<std::string>{"GoSub \"State\""});
    }
}

TEST_F(LargeLists, ListsAndTheSmartEditAnswerForTheirLastItems) {
    const std::string lines = Lines(kLarge);
    struct Case {
        const char* create;
        std::vector<std::string> params;
    };
    const Case cases[] = {
        {"qorCreateDropDown", {"Rect1", "0", "0", lines, "0", "0", "", "1", "1", "[V]"}},
        {"qorCreateListBox", {"Rect1", "0", "0", lines, "0", "0", "", "0", "1", "[V]"}},
        {"qorCreateCheckListBox", {"Rect1", "0", "0", lines, "0", "0", "", "", "", "[V]"}},
        {"qorCreateSmartEdit", {"Rect1", "[V]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.create);
        ASSERT_TRUE(host.Exec(c.create, c.params)) << host.LastError();
        if (std::string(c.create) == "qorCreateSmartEdit") {
            ASSERT_TRUE(host.Exec("qorSmartEditSetProperties", {"Rect1", "", "False", "", "", "", "clNone", "3", ""}));
            ASSERT_TRUE(host.Exec("qorSmartEditSetText", {"Rect1", lines, "0"}));
            ASSERT_TRUE(host.Exec("qorSmartEditSetCaretPos", {"Rect1", "4", "99999"}));
            for (const auto& [item, value] : std::vector<std::pair<std::string, std::string>>{
                     {"7", "99999"}, {"6", "4"}, {"9", std::to_string(99998 * 13 + 4)}}) {
                host.SetVar("[Info]", "<unset>");
                ASSERT_TRUE(host.Exec("qorSmartEditGetInfo", {"Rect1", item, "[Info]"}));
                EXPECT_EQ(host.Var("[Info]"), value) << item;
            }
        }
        EXPECT_EQ(qortest::RunListAction(host, "qorListSize", {}), std::to_string(kLarge));
        EXPECT_EQ(qortest::RunListAction(host, "qorListGetItem", {"99999"}), Numbered(99998));
        EXPECT_EQ(qortest::RunListAction(host, "qorListFindItem", {Numbered(99997)}), "99998");
        ASSERT_TRUE(host.Exec("qorListMoveItem", {"Rect1", "99999", "70000"}));
        EXPECT_EQ(qortest::RunListAction(host, "qorListGetItem", {"70000"}), Numbered(99998));
    }
}

TEST_F(LargeLists, ManyItemsInOneCallGoInWithRedrawOff) {
    const std::string rows = "1;a\r\n2;b\r\n3;c\r\n4;d\r\n5;e\r\n6;f";
    struct Case {
        const char* create;
        std::vector<std::string> params;
        int drawing; // inserts that may draw: a check list takes a text as one item, one per add
    };
    const Case cases[] = {
        {"qorCreateDropDown", {"Rect1", "0", "0", rows, "1", "1", ";", "0", "1", "[V]"}, 0},
        {"qorCreateListBox", {"Rect1", "0", "0", rows, "1", "1", ";", "1", "1", "[V]"}, 0},
        {"qorCreateCheckListBox", {"Rect1", "1", "0", rows, "0", "0", "", "", "", ""}, 4},
    };
    ASSERT_NE(host.PatchPluginImport("USER32.dll", "SendMessageA", reinterpret_cast<void*>(&WatchedSend)), nullptr);
    ASSERT_NE(host.PatchPluginImport("USER32.dll", "CallWindowProcA", reinterpret_cast<void*>(&WatchedCall)), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.create);
        g_watch = {};
        ASSERT_TRUE(host.Exec(c.create, c.params));
        for (const char* position : {"1", "3", "0"})
            ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", position, rows}));
        ASSERT_TRUE(host.Exec("qorListSort", {"Rect1", "0"}));
        ASSERT_TRUE(host.Exec("qorListAddItem", {"Rect1", "0", rows}));
        EXPECT_GE(g_watch.inserts, 6 * 2) << "the creation and the sort insert every item";
        EXPECT_EQ(g_watch.insertsWhileDrawing, c.drawing);
        EXPECT_TRUE(g_watch.quiet.empty()) << "redraw is on again";
    }
}

} // namespace
