#include "hotkeys/KeyCommandRunner.h"

#include <shellapi.h>

#include "core/ControlRegistry.h"

namespace qor {

void ClickHostObject(const std::string& name) {
    HWND target = ObjectWindowOf(name);
    if (!target) return;
    PostMessageA(target, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(target, WM_LBUTTONUP, 0, 0);
}

void OpenWithShell(HWND owner, const std::string& target) {
    ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace qor
