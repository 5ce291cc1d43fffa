#pragma once
// One system-wide hot key held for a window. Its id is a global atom, taken
// when it is registered and deleted when it is released.
//
// Auto-repeat: while a combination is held the system posts WM_HOTKEY again
// and again. MOD_NOREPEAT stops that only where the system honours the flag,
// so a holder that wants one event per press also asks TakePress: a press
// counts only when the key was seen up since the previous one. While a press
// is held a timer on the window (its id is the hot key's id) polls the key.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/WinHandles.h"

namespace qor {

enum class KeyRepeat : uint8_t { Repeats, Once };

class SystemHotKey {
public:
    SystemHotKey() = default;
    ~SystemHotKey() { Release(); }
    SystemHotKey(SystemHotKey&& other) noexcept;
    SystemHotKey& operator=(SystemHotKey&& other) noexcept;
    SystemHotKey(const SystemHotKey&) = delete;
    SystemHotKey& operator=(const SystemHotKey&) = delete;

    // Takes the atom of atomName as id and registers the hot key value (key
    // code and Ctrl, Shift, Alt; never the Windows key) for window; Once asks
    // the system for MOD_NOREPEAT, and registers without it where the system
    // refuses the flag. False when the system refuses; nothing is held then.
    bool Register(HWND window, const std::string& atomName, uint32_t value, KeyRepeat repeat);
    // Unregisters and deletes the atom (when held). Returns whether the system
    // confirmed the unregistration.
    bool Release() noexcept;
    // The process is ending: the window and its hot key go with it, and only
    // the atom, which lives in the window station, is handed back. Nothing is
    // held afterwards.
    void ReleaseAtomAtProcessExit() noexcept;

    // On a WM_HOTKEY of this hot key: false for a repeat of a press whose key
    // was not seen up since.
    bool TakePress();
    // On WM_TIMER: true when the timer was this hot key's (the message is
    // handled then).
    bool Poll(WPARAM timerId);
    // The caller waited until no key was down: the key counts as seen up, and
    // the WM_HOTKEY messages of this id that queued meanwhile are dropped.
    void KeySeenUp();

    bool Active() const { return window_ != nullptr; }
    ATOM Id() const { return atom_.get(); }
    uint32_t Value() const { return value_; }

private:
    void StopPolling() noexcept;

    HWND window_ = nullptr;
    UniqueGlobalAtom atom_;
    uint32_t value_ = 0;
    bool held_ = false; // a press was taken and its key not seen up yet
};

} // namespace qor
