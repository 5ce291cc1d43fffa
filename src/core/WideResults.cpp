#include "core/WideResults.h"

#include "core/WideIndex.h"

namespace qor {

int ListItemAtPoint(HWND list, POINT client) {
    RECT area{};
    if (!GetClientRect(list, &area) || !PtInRect(&area, client)) return -1;
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    if (top < 0 || count <= 0 || height <= 0) return -1;
    const LRESULT index = top + client.y / height;
    if (index >= count) return -1;
    RECT item{};
    if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR ||
        !PtInRect(&item, client))
        return -1;
    return static_cast<int>(index);
}

int EditCharAtPoint(HWND edit, POINT client) {
    const LRESULT packed =
        SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    if (packed == -1) return -1;
    const auto firstVisible = static_cast<int32_t>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int32_t line = WidenLow16(HIWORD(packed), firstVisible < 0 ? 0 : firstVisible);
    const LRESULT start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (start < 0) return static_cast<int>(LOWORD(packed));
    return WidenLow16(LOWORD(packed), static_cast<int32_t>(start));
}

} // namespace qor
