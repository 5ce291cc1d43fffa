// Timing of the list controls against bare Win32 lists doing the same work.
//
// 1. Creation: a DropDown and a ListBox with 100,000 String-mode items and
//    with 100,000 Array-mode rows, against a combo box / list box filled with
//    the same displayed texts (redraw off, storage reserved). Target: within
//    1.5 times the bare fill.
// 2. qorListBoxSelect by text: 10,000 lines on 100,000 items against 1,000
//    lines on 10,000 items. Target: growth no faster than n log n (12.5 for
//    ten times the size).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

using qorbench::Best;
using qorbench::Pad;
using qorbench::Seconds;

// Shuffled so that neither list sees its items in order.
std::vector<int> Order(int count) {
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i) order[i] = i;
    unsigned seed = 12345;
    for (int i = count - 1; i > 0; --i) {
        seed = seed * 1103515245u + 12345u;
        std::swap(order[i], order[(seed >> 8) % static_cast<unsigned>(i + 1)]);
    }
    return order;
}

struct Items {
    std::string text;                // the items parameter
    std::vector<std::string> shown;  // what the list shows
};

Items StringItems(int count) {
    Items items;
    for (int n : Order(count)) {
        std::string line = "Item " + Pad(n) + " of the benchmark list";
        items.text += line + "\r\n";
        items.shown.push_back(line);
    }
    return items;
}

Items ArrayItems(int count) {
    Items items;
    for (int n : Order(count)) {
        std::string name = "Surname" + Pad(n);
        items.text += Pad(n) + ";" + name + ";Town " + std::to_string(n % 97) + ";" + std::to_string(n * 7) + "\r\n";
        items.shown.push_back(name);
    }
    return items;
}

// The bare Win32 fill of a control of the same class, style and font.
constexpr int kRuns = 7;

double Baseline(HWND parent, bool combo, const std::vector<std::string>& texts) {
    HWND control = nullptr;
    return Best(
        1,
        [&] {
            if (control) DestroyWindow(control);
            control = nullptr;
        },
        [&] {
            const DWORD style = combo ? WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS
                                      : WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                            LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
            control = CreateWindowExA(combo ? 0 : WS_EX_CLIENTEDGE, combo ? "COMBOBOX" : "LISTBOX", "", style, 0, 0,
                                      300, 200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(qorbench::ControlFont()), FALSE);
            size_t bytes = 0;
            for (const auto& t : texts) bytes += t.size() + 1;
            SendMessageA(control, WM_SETREDRAW, FALSE, 0);
            SendMessageA(control, combo ? CB_INITSTORAGE : LB_INITSTORAGE, texts.size(), bytes);
            const UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING;
            for (const auto& t : texts) SendMessageA(control, add, 0, reinterpret_cast<LPARAM>(t.c_str()));
            SendMessageA(control, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(control, nullptr, TRUE);
        });
}

double Plugin(qorhost::HostEmulator& host, bool combo, const std::string& items, const std::string& mode) {
    const std::string action = combo ? "qorCreateDropDown" : "qorCreateListBox";
    return Best(
        1, [&] { host.Exec(combo ? "qorRemoveDropDown" : "qorRemoveListBox", {"Bench"}); },
        [&] {
            if (!host.Exec(action, {"Bench", "0", "0", items, mode, "1", ";", "0", "1", "[Bench]"}))
                std::fprintf(stderr, "creation failed: %s\n", host.LastError().c_str());
        });
}

double SelectTime(qorhost::HostEmulator& host, int count, int lines) {
    const Items items = StringItems(count);
    host.Exec("qorCreateListBox", {"Bench", "0", "0", items.text, "0", "0", "", "1", "0", "[Bench]"});
    std::string wanted;
    for (int i = 0; i < lines; ++i) wanted += "ITEM " + Pad((i * 7919) % count) + " OF THE BENCHMARK LIST\r\n";
    const double t = Best(kRuns, [] {}, [&] { host.Exec("qorListBoxSelect", {"Bench", wanted, "1"}); });
    host.Exec("qorRemoveListBox", {"Bench"});
    return t;
}

} // namespace

int main() {
    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    HWND baselineParent = qorbench::SideBySide(host);

    const int kCount = 100000;
    const Items strings = StringItems(kCount);
    const Items rows = ArrayItems(kCount);
    bool ok = true;
    std::printf("Creation with %d items (best of %d, seconds)\n", kCount, kRuns);
    std::printf("%-30s %10s %10s %8s\n", "case", "plug-in", "bare", "ratio");
    struct Case {
        const char* name;
        bool combo;
        const Items* items;
        const char* mode;
    };
    const Case cases[] = {
        {"DropDown, String mode", true, &strings, "0"},
        {"DropDown, Array mode", true, &rows, "1"},
        {"ListBox, String mode", false, &strings, "0"},
        {"ListBox, Array mode", false, &rows, "1"},
    };
    for (const Case& c : cases) {
        // Alternating runs, so that both sides meet the same machine load.
        double mine = 1e30, bare = 1e30;
        for (int run = 0; run < kRuns; ++run) {
            mine = std::min(mine, Plugin(host, c.combo, c.items->text, c.mode));
            bare = std::min(bare, Baseline(baselineParent, c.combo, c.items->shown));
        }
        const double ratio = mine / bare;
        ok = ok && ratio <= 1.5;
        std::printf("%-30s %10.3f %10.3f %8.2f%s\n", c.name, mine, bare, ratio, ratio <= 1.5 ? "" : "  (over 1.5)");
        host.Exec(c.combo ? "qorRemoveDropDown" : "qorRemoveListBox", {"Bench"});
    }

    const double small = SelectTime(host, 10000, 1000);
    const double large = SelectTime(host, 100000, 10000);
    const double growth = large / small;
    const double nlogn = (100000.0 * std::log(100000.0)) / (10000.0 * std::log(10000.0));
    std::printf("\nqorListBoxSelect by text, multiple selection (best of %d, seconds)\n", kRuns);
    std::printf("  1,000 lines on 10,000 items:    %.4f\n", small);
    std::printf("  10,000 lines on 100,000 items:  %.4f\n", large);
    std::printf("  growth factor %.2f (n log n: %.2f)%s\n", growth, nlogn, growth <= nlogn * 1.2 ? "" : "  (faster than n log n)");
    ok = ok && growth <= nlogn * 1.2;
    return ok ? 0 : 2;
}
