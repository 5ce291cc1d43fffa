#pragma once
// Drives the plug-in's modal editing dialogs from inside their own message
// loop: a thread timer looks for the window a step names (by caption, enabled
// and visible), runs the step on it and moves on. A step that opens a nested
// modal window (a picker) returns only when that window is closed by a later
// step. Fields are found by their label text through the dialog's id scheme.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "HostEmulator.h"

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

} // namespace qortest
