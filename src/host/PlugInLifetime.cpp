#include "host/PlugInLifetime.h"

#include "core/ControlRegistry.h"
#include "core/FormWindow.h"
#include "core/ThemedLook.h"
#include "hotkeys/UTHotManager.h"
#include "hotkeys/UTLocalManager.h"

namespace qor {

void DestroyAllAttachedControls() noexcept { DestroyAllControls(); }

void OnUnload() noexcept {
    // The key managers' hot keys, atoms, hook and window go before the code.
    DestroyHotManager();
    DestroyLocalManager();
    // Controls the host did not discard keep their windows, made inert.
    HandBackWindowsAtUnload();
    UnregisterFormClass();
    ReleaseThemedLook();
}

} // namespace qor
