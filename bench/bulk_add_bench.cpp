// Timing of one qorListAddItem whose text holds many lines, against the bare
// Win32 control doing the same inserts with redraw suspended.
//
// 10,000 lines added in one call, at the start (position 1) and at the end,
// to a visible list of 100 items: DropDown and multi-select ListBox in String
// mode (the text becomes one item) and Array mode (one item per line, at a
// position in reverse order), and the CheckListBox (one item). The bare
// ListBox also sets its horizontal range to the widest item, as the ListBox
// does; painting is left out on both sides. Target: within 1.5 times.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

using qorbench::Pad;
using qorbench::Seconds;

constexpr int kLines = 10000;
constexpr int kStartItems = 100;
constexpr int kRuns = 10;
// A case that adds one item takes about a millisecond, where one disturbance
// of the machine weighs most: it gets more runs for a steady best.
constexpr int kRunsOneItem = 25;

enum class Kind { DropDown, ListBox, CheckListBox };

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

struct Case {
    const char* name;
    Kind kind;
    bool array;
    bool atStart;
};

// What the list shows for the added text, in the order the inserts happen.
std::vector<std::string> Shown(const Case& c, const std::vector<std::string>& names, const std::string& text) {
    if (!c.array) return {text};
    return names;
}

double Bare(HWND parent, const Case& c, const std::vector<std::string>& start, const std::vector<std::string>& shown) {
    const bool combo = c.kind == Kind::DropDown;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL;
    if (combo) style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    else style |= WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_EXTENDEDSEL;
    if (c.kind == Kind::CheckListBox) style = (style & ~WS_HSCROLL) | LBS_OWNERDRAWFIXED;
    HWND control = CreateWindowExA(combo ? 0 : WS_EX_CLIENTEDGE, combo ? "COMBOBOX" : "LISTBOX", "", style, 0, 0, 300,
                                   200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(qorbench::ControlFont()), FALSE);
    const UINT insert = combo ? CB_INSERTSTRING : LB_INSERTSTRING;
    for (const auto& t : start) SendMessageA(control, insert, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(t.c_str()));
    UpdateWindow(control);
    const double t = Seconds([&] {
        SendMessageA(control, WM_SETREDRAW, FALSE, 0);
        for (const auto& line : shown)
            SendMessageA(control, insert, c.atStart ? 0 : static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(line.c_str()));
        if (c.kind == Kind::ListBox) {
            // The ListBox's horizontal range follows its widest item.
            HDC dc = GetDC(control);
            HGDIOBJ old = SelectObject(dc, qorbench::ControlFont());
            LONG widest = 0;
            for (const auto& line : shown) {
                SIZE size{};
                GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
                widest = std::max(widest, size.cx);
            }
            SelectObject(dc, old);
            ReleaseDC(control, dc);
            SendMessageA(control, LB_SETHORIZONTALEXTENT, widest, 0);
        }
        SendMessageA(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control, nullptr, TRUE);
    });
    UpdateWindow(control);
    DestroyWindow(control);
    return t;
}

double Plugin(qorhost::HostEmulator& host, const Case& c, const std::string& startText, const std::string& text) {
    const std::string mode = c.array ? "1" : "0";
    bool made = false;
    switch (c.kind) {
    case Kind::DropDown:
        made = host.Exec("qorCreateDropDown", {"Bench", "0", "0", startText, mode, "1", ";", "0", "1", "[Bench]"});
        break;
    case Kind::ListBox:
        made = host.Exec("qorCreateListBox", {"Bench", "0", "0", startText, mode, "1", ";", "1", "1", "[Bench]"});
        break;
    case Kind::CheckListBox:
        made = host.Exec("qorCreateCheckListBox", {"Bench", "1", "0", startText, "0", "0", "", "", "", ""});
        break;
    }
    if (!made) std::fprintf(stderr, "creation failed: %s\n", host.LastError().c_str());
    HWND control = host.ControlWindow("Bench");
    RedrawWindow(control, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Both sides leave the painting to the next paint message. The argument
    // vector is the bench's own: it is built before the clock starts.
    const std::vector<std::string> add = {"Bench", c.atStart ? "1" : "0", text};
    const double t = Seconds([&] {
        if (!host.Exec("qorListAddItem", add))
            std::fprintf(stderr, "add failed: %s\n", host.LastError().c_str());
    });
    host.Message(2);
    return t;
}

} // namespace

int main() {
    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    HWND baselineParent = qorbench::SideBySide(host);

    std::vector<std::string> stringLines, rowLines, names, startRows, startShown;
    for (int i = 0; i < kLines; ++i) {
        stringLines.push_back("Line " + Pad(i) + " of the pasted file");
        rowLines.push_back(Pad(i) + ";Surname" + Pad(i) + ";Town " + std::to_string(i % 97));
    }
    // Inserted one after the other at the start, the lines end in reverse order.
    for (int i = 0; i < kLines; ++i) names.push_back("Surname" + Pad(i));
    for (int i = 0; i < kStartItems; ++i) {
        startRows.push_back("S" + Pad(i) + ";Start" + Pad(i) + ";x");
        startShown.push_back("Start" + Pad(i));
    }
    const std::string stringText = Joined(stringLines);
    const std::string rowText = Joined(rowLines);

    const Case cases[] = {
        {"DropDown, String, at start", Kind::DropDown, false, true},
        {"DropDown, String, at end", Kind::DropDown, false, false},
        {"DropDown, Array, at start", Kind::DropDown, true, true},
        {"DropDown, Array, at end", Kind::DropDown, true, false},
        {"ListBox, String, at start", Kind::ListBox, false, true},
        {"ListBox, String, at end", Kind::ListBox, false, false},
        {"ListBox, Array, at start", Kind::ListBox, true, true},
        {"ListBox, Array, at end", Kind::ListBox, true, false},
        {"CheckListBox, at start", Kind::CheckListBox, false, true},
        {"CheckListBox, at end", Kind::CheckListBox, false, false},
    };
    std::printf("One qorListAddItem of %d lines into a list of %d items (best of %d, one-item cases %d; seconds)\n",
                kLines, kStartItems, kRuns, kRunsOneItem);
    std::printf("%-30s %10s %10s %8s\n", "case", "plug-in", "bare", "ratio");
    bool ok = true;
    for (const Case& c : cases) {
        const std::string& text = c.array ? rowText : stringText;
        const std::string startText = Joined(c.array ? startRows : startShown);
        const std::vector<std::string> shown = Shown(c, names, text);
        double mine = 1e30, bare = 1e30;
        const int runs = c.array ? kRuns : kRunsOneItem;
        for (int run = 0; run < runs; ++run) {
            mine = std::min(mine, Plugin(host, c, startText, text));
            bare = std::min(bare, Bare(baselineParent, c, startShown, shown));
        }
        const double ratio = mine / bare;
        ok = ok && ratio <= 1.5;
        std::printf("%-30s %10.4f %10.4f %8.2f%s\n", c.name, mine, bare, ratio, ratio <= 1.5 ? "" : "  (over 1.5)");
    }
    return ok ? 0 : 2;
}
