#pragma once
// The registrar of the global hot key manager: a hidden window that holds
// system hot keys, one record per combination, each with the global atom of
// "HotKeyManagerHotKey" + the value in decimal as its id. A press of a held
// combination is reported through OnHotKeyPressed, repeats included (the
// owner decides whether a repeat counts, see SystemHotKey).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/FormWindow.h"
#include "hotkeys/SystemHotKey.h"

namespace qor {

class THotKeyManager {
public:
    THotKeyManager();
    // Releases every hot key, the most recently added first, then the window.
    ~THotKeyManager();
    THotKeyManager(const THotKeyManager&) = delete;
    THotKeyManager& operator=(const THotKeyManager&) = delete;

    HWND Window() const;
    // False when the system refuses the combination.
    bool Add(uint32_t value);
    // Releases the first record of the value. False when there is none or
    // the system did not confirm.
    bool Remove(uint32_t value);
    bool Holds(uint32_t value) const;
    // SystemHotKey::TakePress and KeySeenUp of the record with this id; a
    // press of an id no record holds any more does not count.
    bool TakePress(ATOM id);
    void KeySeenUp(ATOM id);
    // The process is ending: only the atoms are handed back.
    void ReleaseAtomsAtProcessExit() noexcept;

    std::function<void(uint32_t value, ATOM id)> OnHotKeyPressed;

private:
    class HiddenWindow;
    void Pressed(uint32_t value);
    void Poll(WPARAM timerId);
    SystemHotKey* Record(ATOM id);

    std::shared_ptr<HiddenWindow> window_;
    std::vector<SystemHotKey> records_;
};

} // namespace qor
