#pragma once
// Helpers for the list control tests: finding the native controls inside a
// control window, reading their items, and real mouse input on item rectangles.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostEmulator.h"

namespace qortest {


namespace detail {

struct ClassSearch {
    const char* name;
    HWND found;
};

inline BOOL CALLBACK MatchClass(HWND child, LPARAM lParam) {
    auto& search = *reinterpret_cast<ClassSearch*>(lParam);
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, search.name) == 0) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

inline std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageA(control, lengthMessage, index, 0);
    if (length < 0) return "<none>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(control, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

inline HWND FindChildOfClass(HWND form, const char* className) {
    detail::ClassSearch search{className, nullptr};
    EnumChildWindows(form, detail::MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::vector<std::string> ComboTexts(HWND combo) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) texts.push_back(detail::ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    return texts;
}

inline std::vector<std::string> ListBoxTexts(HWND list) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) texts.push_back(detail::ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
    return texts;
}

inline std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

inline std::vector<int> SelectedItems(HWND list) {
    std::vector<int> selected;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0) selected.push_back(i);
    return selected;
}

inline void PickComboItem(qorhost::HostEmulator& host, HWND combo, int index) {
    if (!SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
        RECT r{};
        GetClientRect(combo, &r);
        host.ClickAt(combo, r.right - 6, r.bottom / 2);
    }
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    HWND list = info.hwndList;
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    host.ClickAt(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    host.Pump(30);
}

inline void ClickListItem(qorhost::HostEmulator& host, HWND list, int index, bool doubleClick = false,
                          bool right = false) {
    RECT item{};
    if (SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return;
    RECT client{};
    GetClientRect(list, &client);
    if (item.top < 0 || item.bottom > client.bottom) {
        SendMessageA(list, LB_SETTOPINDEX, index, 0);
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    }
    host.ClickAt(list, item.left + 10, (item.top + item.bottom) / 2, right, doubleClick);
    host.Pump(30);
}

// Runs a list action on Rect1 with `rest` as its middle parameters and "[Out]"
// as its last; returns what "[Out]" holds afterwards ("<unset>" when nothing
// was written).
inline std::string RunListAction(qorhost::HostEmulator& host, const std::string& action,
                                 const std::vector<std::string>& rest) {
    std::vector<std::string> params = {"Rect1"};
    params.insert(params.end(), rest.begin(), rest.end());
    params.push_back("[Out]");
    host.SetVar("[Out]", "<unset>");
    host.Exec(action, params);
    return host.Var("[Out]");
}

inline HWND ComboOf(HWND form) { return form ? FindChildOfClass(form, "ComboBox") : nullptr; }
inline HWND ListBoxOf(HWND form) { return form ? FindChildOfClass(form, "ListBox") : nullptr; }
inline HWND EditOf(HWND form) { return form ? FindChildOfClass(form, "Edit") : nullptr; }

} // namespace qortest
