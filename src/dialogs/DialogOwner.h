#pragma once
// What every dialog action shares on the Windows side.
#include <windows.h>

#include <string>

namespace qor {

// The window a dialog belongs to: the host's active window, so that the
// dialog stays in front of the publication and the host waits for it.
inline HWND DialogOwner() { return GetActiveWindow(); }

// After a common dialog answered false: nothing when the user cancelled,
// else throws the failure with the dialog's error code.
void CheckCommonDialogOutcome(const char* dialog);

} // namespace qor
