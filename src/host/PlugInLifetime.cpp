#include "host/PlugInLifetime.h"

namespace qor {

void DestroyAllAttachedControls() noexcept {}

void OnUnload() noexcept {}

bool EditAction(int32_t, HostString*) noexcept {
    // No action has an editing dialog in this version: the host keeps the
    // parameters as they are.
    return false;
}

} // namespace qor
