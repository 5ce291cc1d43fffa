// Timing of the SmartEdit and the CheckListBox against bare Win32 controls
// making the same control calls in the same run.
//
// SmartEdit with 100,000 lines (word wrap off on both sides): filling, size,
// get item of all lines, find item of the last line, and 1,000 lines added one
// by one. CheckListBox with 100,000 items: creation, and set state by text
// with 10,000 lines.
//
// Where the action hands a value to the host, the bare side hands the same
// value to the same host store, so both sides pay the host's copy. The host
// keeps no log here: a log of every megabyte-sized write would measure the
// emulator's memory, not the controls.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

using qorbench::Pad;
using qorbench::Seconds;

using qorbench::Best;
using qorbench::Row;

std::string EditText(HWND edit) {
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

int EditItemCount(HWND edit) {
    int count = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    const int last = static_cast<int>(SendMessageA(edit, EM_LINEINDEX, count - 1, 0));
    if (count > 0 && SendMessageA(edit, EM_LINELENGTH, last, 0) == 0) --count;
    return count;
}

void BenchSmartEdit(qorhost::HostEmulator& host, HWND bareParent) {
    const int kLines = 100000;
    std::string text;
    for (int i = 0; i < kLines; ++i) text += "Line " + Pad(i) + " of the benchmark text\r\n";
    const std::string last = "Line " + Pad(kLines - 1) + " of the benchmark text";

    HWND bare = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                                0, 0, 300, 200, bareParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(bare, EM_SETLIMITTEXT, 0, 0);
    // The SmartEdit's own font: the edit lays its lines out in it.
    SendMessageA(bare, WM_SETFONT, reinterpret_cast<WPARAM>(qorbench::ControlFont()), FALSE);
    host.Exec("qorCreateSmartEdit", {"Bench", "[BenchText]"});
    host.Exec("qorSmartEditSetProperties", {"Bench", "", "False", "", "", "", "clNone", "", ""});

    std::printf("SmartEdit, %d lines (seconds)\n%-44s %9s %9s %7s\n", kLines, "case", "plug-in", "bare", "ratio");
    Row("set the whole text",
        Seconds([&] { host.Exec("qorSmartEditSetText", {"Bench", text, "0"}); }),
        Seconds([&] {
            SetWindowTextA(bare, text.c_str());
            host.OnSetVariable("[BenchText]", EditText(bare).c_str());
        }));
    Row("size", Best([&] { host.Exec("qorListSize", {"Bench", "[Out]"}); }),
        Best([&] { host.OnSetVariable("[Out]", std::to_string(EditItemCount(bare)).c_str()); }));
    Row("get item of all lines", Best([&] { host.Exec("qorListGetItem", {"Bench", "all", "[Out]"}); }),
        Best([&] {
            std::string all = EditText(bare);
            if (all.size() >= 2) all.resize(all.size() - 2); // without the final line break
            host.OnSetVariable("[Out]", all.c_str());
        }));
    Row("find item of the last line", Best([&] { host.Exec("qorListFindItem", {"Bench", last, "[Out]"}); }),
        Best([&] {
            // The same calls: the text once, then the lines compared ignoring case.
            const std::string all = EditText(bare);
            std::string lowered = last;
            CharLowerBuffA(&lowered[0], static_cast<DWORD>(lowered.size()));
            size_t start = 0;
            int number = 1;
            while (start < all.size()) {
                size_t end = all.find("\r\n", start);
                if (end == std::string::npos) end = all.size();
                std::string line = all.substr(start, end - start);
                if (!line.empty()) CharLowerBuffA(&line[0], static_cast<DWORD>(line.size()));
                if (line == lowered) break;
                start = end + 2;
                ++number;
            }
            host.OnSetVariable("[Out]", std::to_string(number).c_str());
        }));
    if (host.Var("[Out]") != std::to_string(kLines)) std::printf("  (find wrote %s)\n", host.Var("[Out]").c_str());
    auto bareAdd = [&](const std::string& line) {
        const int count = EditItemCount(bare);
        const int at = static_cast<int>(SendMessageA(bare, EM_LINEINDEX, count, 0));
        SendMessageA(bare, EM_SETSEL, at, at);
        SendMessageA(bare, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>((line + "\r\n").c_str()));
    };
    Row("add 1,000 lines one by one (text variable)",
        Seconds([&] {
            for (int i = 0; i < 1000; ++i) host.Exec("qorListAddItem", {"Bench", "0", "Added " + Pad(i)});
        }),
        Seconds([&] {
            // The bare side also reads the text after each change, as the variable write needs.
            for (int i = 0; i < 1000; ++i) {
                bareAdd("Added " + Pad(i));
                host.OnSetVariable("[BenchText]", EditText(bare).c_str());
            }
        }));
    host.Exec("qorCreateSmartEdit", {"Bench", ""});
    host.Exec("qorSmartEditSetProperties", {"Bench", "", "False", "", "", "", "clNone", "", ""});
    host.Exec("qorSmartEditSetText", {"Bench", text, "0"});
    SetWindowTextA(bare, text.c_str());
    Row("add 1,000 lines one by one (no variable)",
        Seconds([&] {
            for (int i = 0; i < 1000; ++i) host.Exec("qorListAddItem", {"Bench", "0", "Added " + Pad(i)});
        }),
        Seconds([&] {
            for (int i = 0; i < 1000; ++i) bareAdd("Added " + Pad(i));
        }));
    host.Exec("qorRemoveSmartEdit", {"Bench"});
    DestroyWindow(bare);
}

void BenchCheckList(qorhost::HostEmulator& host, HWND bareParent) {
    const int kItems = 100000;
    std::string items;
    std::vector<std::string> texts;
    for (int i = 0; i < kItems; ++i) {
        texts.push_back("Choice " + Pad((i * 7919) % kItems));
        items += texts.back() + "\r\n";
    }
    std::string wanted;
    std::vector<std::string> wantedLines;
    for (int i = 0; i < 10000; ++i) {
        wantedLines.push_back("CHOICE " + Pad((i * 104729) % kItems));
        wanted += wantedLines.back() + "\r\n";
    }
    HWND bare = nullptr;
    std::printf("\nCheckListBox, %d items (seconds)\n%-44s %9s %9s %7s\n", kItems, "case", "plug-in", "bare", "ratio");
    Row("creation",
        Seconds([&] {
            host.Exec("qorCreateCheckListBox",
                      {"Bench", "False", "False", items, "0", "False", "[C]", "[U]", "[G]", "[S]"});
        }),
        Seconds([&] {
            bare = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                       LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                   0, 0, 300, 200, bareParent, nullptr, GetModuleHandleA(nullptr), nullptr);
            size_t bytes = 0;
            for (const auto& t : texts) bytes += t.size() + 1;
            SendMessageA(bare, WM_SETREDRAW, FALSE, 0);
            SendMessageA(bare, LB_INITSTORAGE, texts.size(), bytes);
            for (const auto& t : texts) {
                const LRESULT at = SendMessageA(bare, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(t.c_str()));
                SendMessageA(bare, LB_SETITEMDATA, at, 0);
            }
            SendMessageA(bare, WM_SETREDRAW, TRUE, 0);
        }));
    Row("set state by text, 10,000 lines",
        Seconds([&] { host.Exec("qorCheckListBoxSetState", {"Bench", wanted, "1", "1"}); }),
        Seconds([&] {
            std::unordered_set<std::string> set;
            for (std::string line : wantedLines) {
                CharLowerBuffA(&line[0], static_cast<DWORD>(line.size()));
                set.insert(line);
            }
            const int n = static_cast<int>(SendMessageA(bare, LB_GETCOUNT, 0, 0));
            char buffer[256];
            for (int i = 0; i < n; ++i) {
                const LRESULT length = SendMessageA(bare, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
                std::string item(buffer, static_cast<size_t>(length > 0 ? length : 0));
                if (!item.empty()) CharLowerBuffA(&item[0], static_cast<DWORD>(item.size()));
                if (!set.count(item) || SendMessageA(bare, LB_GETITEMDATA, i, 0) == 1) continue;
                SendMessageA(bare, LB_SETITEMDATA, i, 1);
                RECT r{};
                if (SendMessageA(bare, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
                    InvalidateRect(bare, &r, FALSE);
            }
            // The three state lists, as the click-check writes them.
            std::string lists[3];
            for (int i = 0; i < n; ++i) {
                const LRESULT length = SendMessageA(bare, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
                std::string& list = lists[SendMessageA(bare, LB_GETITEMDATA, i, 0) == 1 ? 0 : 1];
                if (!list.empty()) list += "\r\n";
                list.append(buffer, static_cast<size_t>(length > 0 ? length : 0));
            }
            host.OnSetVariable("[C]", lists[0].c_str());
            host.OnSetVariable("[U]", lists[1].c_str());
            host.OnSetVariable("[G]", lists[2].c_str());
        }));
    std::printf("  (checked items written: %zu characters)\n", host.Var("[C]").size());
    host.Exec("qorRemoveCheckListBox", {"Bench"});
    DestroyWindow(bare);
}

} // namespace

int main() {
    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    HWND bareParent = qorbench::SideBySide(host);
    BenchSmartEdit(host, bareParent);
    BenchCheckList(host, bareParent);
    return 0;
}
