#include "host/PlugInLifetime.h"

#include "core/ControlRegistry.h"
#include "core/FormWindow.h"

namespace qor {

void DestroyAllAttachedControls() noexcept { DestroyAllControls(); }

void OnUnload() noexcept {
    // Controls the host did not discard keep their windows, made inert.
    HandBackWindowsAtUnload();
    UnregisterFormClass();
}

bool EditAction(int32_t, HostString*) noexcept {
    // No action has an editing dialog in this version: the host keeps the
    // parameters as they are.
    return false;
}

} // namespace qor
