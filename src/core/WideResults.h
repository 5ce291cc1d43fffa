#pragma once
// Positions in list boxes and edits worked out in 32 bits. Use these instead
// of LB_ITEMFROMPOINT and EM_CHARFROMPOS, whose answers carry 16 bits only.
#include <windows.h>

namespace qor {

// The list box item under a point of its client area, from the top index and
// the item height, confirmed with the item's rectangle; -1 when no item is there.
// For lists whose items all have one height.
int ListItemAtPoint(HWND list, POINT client);

// The offset of the edit's character nearest a point of its client area: the
// line from EM_CHARFROMPOS widened from the first visible line, the offset
// widened from that line's start; -1 outside the client area. On a line of
// more than 65,535 characters, where the low 16 bits fit several characters,
// the edit answers a click at the point and its selection is put back.
int EditCharAtPoint(HWND edit, POINT client);

} // namespace qor
