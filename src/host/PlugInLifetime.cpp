#include "host/PlugInLifetime.h"

#include "core/ControlRegistry.h"
#include "core/FormWindow.h"
#include "core/ThemedLook.h"
#include "hotkeys/UTCustomHotKey.h"
#include "hotkeys/UTHotManager.h"
#include "hotkeys/UTLocalManager.h"

namespace qor {

void DestroyAllAttachedControls() noexcept { DestroyAllControls(); }

void OnUnload() noexcept {
    // The key managers' hot keys, atoms, hook and window go before the code.
    DestroyHotManager();
    DestroyLocalManager();
    // Fields the host did not discard let go of their combinations and atoms.
    ReleaseHotKeyFieldsAtDetach(false);
    // Controls the host did not discard keep their windows, made inert.
    HandBackWindowsAtUnload();
    UnregisterFormClass();
    ReleaseThemedLook();
}

void OnProcessExit() noexcept {
    // Windows, hot keys and hooks end with the process, and the window system
    // is no place to call this late. Global atoms live in the window station
    // and outlast the process: those are handed back.
    AbandonHotManagerAtProcessExit();
    ReleaseHotKeyFieldsAtDetach(true);
}

} // namespace qor
