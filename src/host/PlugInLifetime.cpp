#include "host/PlugInLifetime.h"

#include "core/ControlRegistry.h"
#include "core/FormWindow.h"

namespace qor {

void DestroyAllAttachedControls() noexcept { DestroyAllControls(); }

void OnUnload() noexcept {
    UnregisterFormClass();
}

} // namespace qor
