// After the host destroys a rectangle's window (and with it the control's
// windows), no later action on the control and not its removal may call into
// a window handle that is gone: the plug-in's window calls are watched through
// its import table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostEmulator.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

std::vector<std::string> g_staleCalls;

void Check(const char* function, HWND window) {
    if (window && !IsWindow(window)) g_staleCalls.push_back(function);
}

LRESULT WINAPI WatchedSendMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    Check("SendMessageA", w);
    return SendMessageA(w, m, wp, lp);
}
BOOL WINAPI WatchedPostMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    Check("PostMessageA", w);
    return PostMessageA(w, m, wp, lp);
}
LRESULT WINAPI WatchedCallWindowProc(WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp) {
    Check("CallWindowProcA", w);
    // A system control's own procedure called for a window that is gone.
    if (w && !IsWindow(w)) return 0;
    return CallWindowProcA(proc, w, m, wp, lp);
}
BOOL WINAPI WatchedInvalidateRect(HWND w, const RECT* r, BOOL erase) {
    Check("InvalidateRect", w);
    // A null window would repaint every window of the desktop.
    if (!w) g_staleCalls.push_back("InvalidateRect(null)");
    return InvalidateRect(w, r, erase);
}
BOOL WINAPI WatchedSetWindowText(HWND w, LPCSTR text) {
    Check("SetWindowTextA", w);
    return SetWindowTextA(w, text);
}
int WINAPI WatchedGetWindowText(HWND w, LPSTR text, int size) {
    Check("GetWindowTextA", w);
    return GetWindowTextA(w, text, size);
}
int WINAPI WatchedGetWindowTextLength(HWND w) {
    Check("GetWindowTextLengthA", w);
    return GetWindowTextLengthA(w);
}
BOOL WINAPI WatchedSetWindowPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Check("SetWindowPos", w);
    return SetWindowPos(w, after, x, y, cx, cy, flags);
}

struct Kind {
    const char* name;
    const char* create;
    Strings params;
    std::vector<std::pair<const char*, Strings>> actions; // the kind's own, besides the list actions
    const char* remove;
};

const Kind kKinds[] = {
    {"DropDown",
     "qorCreateDropDown",
     {"Rect1", "0", "0", "a;1\r\nb;2", "1", "0", ";", "0", "1", "[V]"},
     {{"qorDropDownSetProperties", {"Rect1", "True", "True", "True", "'Arial', 10, (), (clRed)", "clYellow", "50", "b"}},
      {"qorDropDownSelect", {"Rect1", "2", "0"}},
      {"qorDropDownSelect", {"Rect1", "a", "1"}},
      {"qorDropDownCaptureEvents", {"Rect1", "Sub", "Sub", "Sub"}}},
     "qorRemoveDropDown"},
    {"ListOnlyDropDown",
     "qorCreateDropDown",
     {"Rect1", "0", "0", "a\r\nb", "0", "0", "", "1", "1", "[V]"},
     {{"qorDropDownSetProperties", {"Rect1", "", "", "", "", "clNone", "0", "b"}},
      {"qorDropDownSelect", {"Rect1", "b", "1"}}},
     "qorRemoveDropDown"},
    {"ListBox",
     "qorCreateListBox",
     {"Rect1", "0", "0", "a;1\r\nb;2", "1", "0", ";", "1", "1", "[V]"},
     {{"qorListBoxSetProperties", {"Rect1", "True", "True", "'Arial', 10, (), (clRed)", "clYellow"}},
      {"qorListBoxSelect", {"Rect1", "1\r\n2", "0"}},
      {"qorListBoxSelect", {"Rect1", "a", "1"}},
      {"qorListBoxSelect", {"Rect1", "b;2", "2"}},
      {"qorListBoxSetProperties", {"Rect1", "False", "False", "", "clNone"}}},
     "qorRemoveListBox"},
    {"SmartEdit",
     "qorCreateSmartEdit",
     {"Rect1", "[V]"},
     {{"qorSmartEditSetProperties", {"Rect1", "True", "False", "True", "False", "'Arial', 10, (), (clRed)", "clYellow", "3", "1"}},
      {"qorSmartEditSetText", {"Rect1", "x\r\ny", "0"}},
      {"qorSmartEditSetText", {"Rect1", "z", "1"}},
      {"qorSmartEditSelectAll", {"Rect1"}},
      {"qorSmartEditSetCaretPos", {"Rect1", "1", "1"}},
      {"qorSmartEditGetInfo", {"Rect1", "1", "[Info]"}}},
     "qorRemoveSmartEdit"},
    {"CheckListBox",
     "qorCreateCheckListBox",
     {"Rect1", "1", "1", "a\r\nb", "0", "True", "[C]", "[U]", "[G]", "[S]"},
     {{"qorCheckListBoxSetProperties", {"Rect1", "'Arial', 10, (), (clRed)", "clYellow"}},
      {"qorCheckListBoxSelect", {"Rect1", "1", "0"}},
      {"qorCheckListBoxSetState", {"Rect1", "a", "1", "1"}}},
     "qorRemoveCheckListBox"},
    {"TrackBar",
     "qorCreateTrackBar",
     {"Rect1", "20", "16", "0", "100", "50", "1", "False", "[V]"},
     {{"qorTrackBarSetProperties", {"Rect1", "True", "True", "True", "clRed", "clBlue", "clLime", "clYellow"}},
      {"qorTrackBarCaptureEvents", {"Rect1", "Sub", "Sub", "None"}},
      {"qorTrackBarUpdate", {"Rect1", "60", "0"}},
      {"qorTrackBarUpdate", {"Rect1", "10", "1"}},
      {"qorTrackBarUpdate", {"Rect1", "90", "2"}}},
     "qorRemoveTrackBar"},
    {"HotKey",
     "qorCreateHotKey",
     {"Rect1", "'Arial', 10, (), (clRed)", "Sub", "[V]"},
     {{"qorSetHotKey", {"Rect1", "Ctrl+Shift+K"}},
      {"qorFocusHotKey", {"Rect1", ""}}},
     "qorRemoveHotKey"},
    {"FileDragDrop",
     "qorCreateFileDragDrop",
     {"Rect1", "Drop files here", "clRed", "True", "[F1]", "[F2]", "[F3]", "Sub"},
     {},
     "qorRemoveFileDragDrop"},
};

// Every list item action, with the rectangle first and a result variable where one is taken.
const std::vector<std::pair<const char*, Strings>> kListActions = {
    {"qorListAddItem", {"Rect1", "1", "c;3\r\nd;4"}},
    {"qorListAddItem", {"Rect1", "0", "e;5"}},
    {"qorListChangeItem", {"Rect1", "1", "f;6"}},
    {"qorListMoveItem", {"Rect1", "1", "2"}},
    {"qorListSort", {"Rect1", "0"}},
    {"qorListFindItem", {"Rect1", "b", "[R]"}},
    {"qorListGetItem", {"Rect1", "all", "[R]"}},
    {"qorListSize", {"Rect1", "[R]"}},
    {"qorListFindItemEx", {"Rect1", "0", "1", "0", "b", "[R]"}},
    {"qorListFindNextItemEx", {"Rect1", "[R]"}},
    {"qorListDeleteItem", {"Rect1", "1"}},
    {"qorListDeleteItem", {"Rect1", "all"}},
};

TEST(StaleHandles, NoCallReachesAWindowTheHostDestroyed) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        HostEmulator host;
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 120);
        ASSERT_TRUE(host.Exec(kind.create, kind.params)) << host.LastError();
        // Search strips and re-created editors exist before the window goes.
        for (const auto& [action, params] : kind.actions) host.Exec(action, params);
        host.Pump(20);
        const std::pair<const char*, void*> watched[] = {
            {"SendMessageA", reinterpret_cast<void*>(&WatchedSendMessage)},
            {"PostMessageA", reinterpret_cast<void*>(&WatchedPostMessage)},
            {"CallWindowProcA", reinterpret_cast<void*>(&WatchedCallWindowProc)},
            {"InvalidateRect", reinterpret_cast<void*>(&WatchedInvalidateRect)},
            {"SetWindowTextA", reinterpret_cast<void*>(&WatchedSetWindowText)},
            {"GetWindowTextA", reinterpret_cast<void*>(&WatchedGetWindowText)},
            {"GetWindowTextLengthA", reinterpret_cast<void*>(&WatchedGetWindowTextLength)},
            {"SetWindowPos", reinterpret_cast<void*>(&WatchedSetWindowPos)},
        };
        for (const auto& [function, replacement] : watched)
            ASSERT_NE(host.PatchPluginImport("USER32.dll", function, replacement), nullptr) << function;
        g_staleCalls.clear();

        host.RemoveRectangle("Rect1");
        for (const auto& [action, params] : kind.actions) host.Exec(action, params);
        for (const auto& [action, params] : kListActions) host.Exec(action, params);
        host.Pump(20);
        EXPECT_TRUE(host.Exec(kind.remove, {"Rect1"})) << "the entry stayed until now";
        EXPECT_EQ(g_staleCalls, Strings{});
    }
}

} // namespace
