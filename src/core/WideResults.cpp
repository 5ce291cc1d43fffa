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

namespace {

// The edit's own answer in 32 bits: a click it takes as the user's places the
// caret on the character, whose offset EM_GETSEL gives in full; the selection
// is put back afterwards.
int CharUnderClick(HWND edit, LPARAM at) {
    DWORD from = 0, to = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(edit, WM_LBUTTONUP, 0, at);
    DWORD caret = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    SendMessageA(edit, EM_SETSEL, from, to);
    return static_cast<int>(caret);
}

} // namespace

int EditCharAtPoint(HWND edit, POINT client) {
    const LPARAM at = MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y));
    const LRESULT packed = SendMessageA(edit, EM_CHARFROMPOS, 0, at);
    if (packed == -1) return -1;
    const auto firstVisible = static_cast<int32_t>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int32_t line = WidenLow16(HIWORD(packed), firstVisible < 0 ? 0 : firstVisible);
    const LRESULT start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (start < 0) return static_cast<int>(LOWORD(packed));
    // On a longer line the low 16 bits fit several characters, and the pixel
    // positions that could tell them apart wrap at 16 bits too.
    if (SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0) > 0xFFFF) return CharUnderClick(edit, at);
    return WidenLow16(LOWORD(packed), static_cast<int32_t>(start));
}

} // namespace qor
