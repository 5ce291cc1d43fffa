#include "core/ThemedLook.h"

#include <commctrl.h>

#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "resource.h"

namespace qor {

namespace {

// Made at the first scope and kept until the library unloads.
UniqueActCtx g_context;
bool g_tried = false;

void MakeContext() noexcept {
    g_tried = true;
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = PlugInInstance();
    request.lpResourceName = MAKEINTRESOURCEA(IDR_QOR_MANIFEST);
    const HANDLE context = CreateActCtxA(&request);
    if (context == INVALID_HANDLE_VALUE) return;
    g_context.reset(context);
}

// Once, inside the context: the version 6 library registers its classes, and
// stays in the process for good. Windows left behind by an unload without
// cleanup keep its window procedures, which must not go with the plug-in.
void PrepareControls() noexcept {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    HMODULE commonControls = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "comctl32.dll", &commonControls);
}

} // namespace

ThemedLookScope::ThemedLookScope() noexcept {
    if (!g_tried) {
        MakeContext();
        if (g_context && ActivateActCtx(g_context.get(), &cookie_)) {
            PrepareControls();
            DeactivateActCtx(0, cookie_);
        }
    }
    if (g_context) active_ = ActivateActCtx(g_context.get(), &cookie_) != FALSE;
}

ThemedLookScope::~ThemedLookScope() {
    if (active_) DeactivateActCtx(0, cookie_);
}

void ReleaseThemedLook() noexcept {
    g_context.reset();
    g_tried = false;
}

} // namespace qor
