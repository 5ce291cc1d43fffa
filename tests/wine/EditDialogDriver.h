#pragma once
// Drives the plug-in's modal editing dialogs from inside their own message
// loop: a thread timer looks for the window a step names (by caption, enabled
// and visible), runs the step on it and moves on. A step that opens a nested
// modal window (a picker) returns only when that window is closed by a later
// step. Fields are found by their label text through the dialog's id scheme.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "host/ActionCatalogue.h"

namespace qortest {

struct DialogStep {
    std::string caption; // the window to act on; empty: any dialog box
    std::function<void(HWND window)> act;
};

namespace detail {

struct EditRun {
    std::vector<DialogStep> steps;
    size_t next = 0;
    int idleTicks = 0;
    bool failed = false;
    std::vector<HWND> acting; // windows whose step is running (input helpers pump)
};
inline EditRun* g_run = nullptr;

struct CaptionSearch {
    const char* caption;
    HWND found;
};

inline BOOL CALLBACK MatchCaption(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<CaptionSearch*>(lParam);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    char cls[32] = {};
    if (!*search.caption) GetClassNameA(window, cls, sizeof cls);
    const bool named = *search.caption ? search.caption == std::string(text) : std::string(cls) == "#32770";
    if (IsWindowVisible(window) && IsWindowEnabled(window) && named) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

inline BOOL CALLBACK CloseDialogs(HWND window, LPARAM) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

inline void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD) {
    EditRun* run = g_run;
    if (!run) return;
    if (run->next >= run->steps.size()) {
        // Every step ran but a dialog is still open: close it, the run failed.
        if (++run->idleTicks > 200) {
            run->idleTicks = 0;
            run->failed = true;
            EnumThreadWindows(GetCurrentThreadId(), CloseDialogs, 0);
        }
        return;
    }
    const DialogStep& step = run->steps[run->next];
    CaptionSearch search{step.caption.c_str(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        // A dialog that never shows up must not hang the test run.
        if (++run->idleTicks > 200) {
            run->next = run->steps.size();
            run->failed = true;
            EnumThreadWindows(GetCurrentThreadId(), CloseDialogs, 0);
        }
        return;
    }
    // A step that pumps (a real click) must not let the next step on the same
    // window run inside it; a nested modal window's steps may.
    for (HWND w : run->acting)
        if (w == search.found) return;
    run->idleTicks = 0;
    run->acting.push_back(search.found); // bringing it forward pumps too
    // Keyboard input goes to the foreground window, as when the author works.
    qorhost::HostEmulator::FocusWindow(search.found);
    ++run->next; // before acting: a nested modal loop runs the next steps
    step.act(search.found);
    run->acting.pop_back();
}

} // namespace detail

// Makes the call (one that runs a modal window: an editing dialog, an action
// that shows a system dialog, the About box) while the steps run; `completed`
// tells whether every step found its window. Returns the call's result.
template <typename Call>
bool RunWithSteps(qorhost::HostEmulator& host, Call call, std::vector<DialogStep> steps, bool* completed = nullptr) {
    detail::EditRun run;
    run.steps = std::move(steps);
    detail::g_run = &run;
    host.Activate();
    const UINT_PTR timer = SetTimer(nullptr, 0, 25, detail::StepTimer);
    const bool result = call();
    KillTimer(nullptr, timer);
    detail::g_run = nullptr;
    if (completed) *completed = run.next == run.steps.size() && !run.failed;
    return result;
}

// nbEditAction(id) while the steps run.
inline bool EditWithSteps(qorhost::HostEmulator& host, int32_t id, std::vector<std::string>& params,
                          std::vector<DialogStep> steps, bool* completed = nullptr) {
    return RunWithSteps(host, [&] { return host.Edit(id, params); }, std::move(steps), completed);
}

// The caption of an action's editing dialog.
inline std::string EditCaption(int32_t id) {
    if (id == 57) return "FindItemEx Properties";
    if (id == 63) return "FolderDialog Properties";
    return std::string(qor::FindAction(id)->name).substr(3) + " Properties";
}

inline std::string TextOf(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The child whose text is `label`: a field's label, a group box or a check box.
inline HWND Labelled(HWND dialog, const std::string& label) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child) == label) return child;
    return nullptr;
}

// The control a label names: the next id for labels and group boxes (so the
// first entry of a radio group), the check box itself.
inline HWND Field(HWND dialog, const std::string& label) {
    HWND named = Labelled(dialog, label);
    if (!named) return nullptr;
    const int id = GetDlgCtrlID(named);
    if ((id - 100) % 20 != 0) return named;
    return GetDlgItem(dialog, id + 1);
}

// Entry k (from 0) of a radio group or check list.
inline HWND Entry(HWND dialog, const std::string& groupLabel, int k) {
    HWND group = Labelled(dialog, groupLabel);
    return group ? GetDlgItem(dialog, GetDlgCtrlID(group) + 1 + k) : nullptr;
}

inline HWND TooltipOf(HWND dialog) {
    struct Search {
        HWND dialog, found;
    } search{dialog, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM l) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(l);
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (_stricmp(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(w, GW_OWNER) == s.dialog) {
                s.found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string HintOf(HWND dialog, HWND button) {
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = text;
    SendMessageA(TooltipOf(dialog), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// The hints of a field's picker buttons, left to right.
inline std::vector<std::string> PickerHints(HWND dialog, HWND field) {
    std::vector<std::string> hints;
    const int base = 100 + (GetDlgCtrlID(field) - 100) / 20 * 20;
    for (int offset = 12; offset < 20; ++offset)
        if (HWND button = GetDlgItem(dialog, base + offset)) hints.push_back(HintOf(dialog, button));
    return hints;
}

inline HWND Picker(HWND dialog, HWND field, const std::string& hint) {
    const int base = 100 + (GetDlgCtrlID(field) - 100) / 20 * 20;
    for (int offset = 12; offset < 20; ++offset)
        if (HWND button = GetDlgItem(dialog, base + offset))
            if (HintOf(dialog, button) == hint) return button;
    return nullptr;
}

// "checked", "clear" or "grey".
inline std::string CheckOf(HWND button) {
    switch (SendMessageA(button, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return "checked";
    case BST_INDETERMINATE: return "grey";
    default: return "clear";
    }
}

// The selected entry of a drop-down list ("" for none).
inline std::string Selected(HWND combo) {
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return "";
    char text[256] = {};
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Real input: a click in the middle of a control.
inline void ClickCentre(qorhost::HostEmulator& host, HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    host.ClickAt(control, r.right / 2, r.bottom / 2);
}

// Real keyboard input, queued without pumping: the dialog's own modal loop
// must see it, since Enter, Escape, Tab and Alt+letter are the dialog
// manager's keys. Act on the result in a later step.
inline void QueueKey(WORD virtualKey, bool alt = false, bool shift = false, bool ctrl = false) {
    qorhost::HostEmulator::SendKeyPress(virtualKey, shift, ctrl, alt);
}

inline void QueueText(const std::string& text) { qorhost::HostEmulator::SendText(text); }

inline void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// ---- keyboard walks -------------------------------------------------------

// When set, DialogKey adds the control that has the focus after each key.
inline std::vector<HWND>* g_focusTrail = nullptr;
inline HWND FocusedChild(HWND dialog);

// A real key press, handled at once as the dialog's modal loop handles it
// (the dialog manager first), for walks that look at each key's effect.
inline void DialogKey(HWND dialog, WORD virtualKey, bool shift = false, bool alt = false) {
    struct Trail {
        HWND dialog;
        ~Trail() {
            if (g_focusTrail) g_focusTrail->push_back(FocusedChild(dialog));
        }
    } trail{dialog};
    qorhost::HostEmulator::SendKeyPress(virtualKey, shift, false, alt);
    const DWORD start = GetTickCount();
    bool released = false;
    while (GetTickCount() - start < 1000) {
        MSG msg;
        bool any = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.wParam == virtualKey) released = true;
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (released && !any && !(GetAsyncKeyState(VK_MENU) & 0x8000)) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// The dialog's child that holds the focus (a drop-down's edit counts as the drop-down).
inline HWND FocusedChild(HWND dialog) {
    HWND w = GetFocus();
    while (w && GetParent(w) != dialog) w = GetParent(w);
    return w;
}

inline bool IsLabel(HWND w) {
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (_stricmp(cls, "Static") == 0) return true;
    return _stricmp(cls, "Button") == 0 && (GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

inline bool IsRadio(HWND w) {
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    const LONG type = GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK;
    return _stricmp(cls, "Button") == 0 && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
}

// What the author can reach: every shown, enabled control that is not a
// label, one entry per radio group (the checked one, else the first), in
// creation order.
inline std::vector<HWND> ReachableControls(HWND dialog) {
    std::vector<HWND> reachable;
    std::vector<HWND> group; // the radio group being read
    auto closeGroup = [&] {
        if (group.empty()) return;
        HWND pick = group.front();
        for (HWND r : group)
            if (SendMessageA(r, BM_GETCHECK, 0, 0) == BST_CHECKED) pick = r;
        reachable.push_back(pick);
        group.clear();
    };
    for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        const bool radio = IsRadio(w);
        if (!radio || (GetWindowLongA(w, GWL_STYLE) & WS_GROUP)) closeGroup();
        if (!IsWindowVisible(w) || !IsWindowEnabled(w) || IsLabel(w)) continue;
        if (radio) group.push_back(w);
        else reachable.push_back(w);
    }
    closeGroup();
    return reachable;
}

// Reading order: rows from the top (windows whose heights overlap share a
// row), each row from the left.
inline std::vector<HWND> InReadingOrder(std::vector<HWND> windows) {
    auto box = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    };
    std::stable_sort(windows.begin(), windows.end(), [&](HWND a, HWND b) { return box(a).top < box(b).top; });
    std::vector<HWND> ordered;
    for (size_t start = 0; start < windows.size();) {
        size_t end = start + 1;
        LONG bottom = box(windows[start]).bottom;
        while (end < windows.size() && box(windows[end]).top < bottom) bottom = std::max(bottom, box(windows[end++]).bottom);
        std::stable_sort(windows.begin() + start, windows.begin() + end,
                         [&](HWND a, HWND b) { return box(a).left < box(b).left; });
        ordered.insert(ordered.end(), windows.begin() + start, windows.begin() + end);
        start = end;
    }
    return ordered;
}

// Presses Tab until the focus comes back to where it started (at most `limit`
// presses); the controls it visited, the starting one first.
inline std::vector<HWND> TabCycle(HWND dialog, size_t limit) {
    HWND first = FocusedChild(dialog);
    std::vector<HWND> visited{first};
    for (size_t n = 0; n < limit; ++n) {
        DialogKey(dialog, VK_TAB);
        HWND now = FocusedChild(dialog);
        if (now == first) break;
        visited.push_back(now);
    }
    return visited;
}

// The letter after a single "&" in a label ('\0' for none).
inline char Mnemonic(const std::string& label) {
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] != '&') return static_cast<char>(toupper(static_cast<unsigned char>(label[i + 1])));
        ++i;
    }
    return '\0';
}

} // namespace qortest
