#pragma once
// Carrying out the commands both key managers share: a script line, a
// subroutine, a click on a host object and opening through the shell.
#include <windows.h>

#include <string>

namespace qor {

// Posts a left-button press and release to the window of the named host
// object; nothing when the host answers 0. Throws when the answer is not a
// window handle.
void ClickHostObject(const std::string& name);

// ShellExecute "open" with the normal show state.
void OpenWithShell(HWND owner, const std::string& target);

} // namespace qor
