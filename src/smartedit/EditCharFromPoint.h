#pragma once
// Hit testing in a multi-line edit control for texts of any length:
// EM_CHARFROMPOS reports the character and line only in 16 bits each, so
// texts over 65,535 characters (or lines) need the full numbers put back.
#include <windows.h>

namespace qor {

// The offset of the character nearest to a point in the edit's client area,
// counted from the start of the whole text.
int EditCharFromPoint(HWND edit, POINT client);

} // namespace qor
