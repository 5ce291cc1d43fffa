#pragma once
// Hooks of the entry points into the subsystems.
#include <cstdint>

#include "host/PlugInUtils.h"

namespace qor {

// nbMessage code 2: every attached control of every kind is destroyed.
void DestroyAllAttachedControls() noexcept;
// The library is being unloaded: the key managers go, if they were created.
void OnUnload() noexcept;
// The process is ending with the library still loaded: only what outlives
// the process (the hot keys' global atoms) is handed back.
void OnProcessExit() noexcept;
// nbEditAction: the action's editing dialog; false when cancelled or unknown.
bool EditAction(int32_t id, HostString* params) noexcept;

} // namespace qor
