#pragma once
// One system-wide hot key held for a window. Its id is a global atom, taken
// when it is registered and deleted when it is released.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/WinHandles.h"

namespace qor {

class SystemHotKey {
public:
    SystemHotKey() = default;
    ~SystemHotKey() { Release(); }
    SystemHotKey(SystemHotKey&& other) noexcept;
    SystemHotKey& operator=(SystemHotKey&& other) noexcept;
    SystemHotKey(const SystemHotKey&) = delete;
    SystemHotKey& operator=(const SystemHotKey&) = delete;

    // Takes the atom of atomName as id and registers the hot key value (key
    // code and Ctrl, Shift, Alt; never the Windows key) for window. False when
    // the system refuses; nothing is held then.
    bool Register(HWND window, const std::string& atomName, uint32_t value);
    // Unregisters and deletes the atom (when held). Returns whether the system
    // confirmed the unregistration.
    bool Release() noexcept;

    bool Active() const { return window_ != nullptr; }
    ATOM Id() const { return atom_.get(); }
    uint32_t Value() const { return value_; }

private:
    HWND window_ = nullptr;
    UniqueGlobalAtom atom_;
    uint32_t value_ = 0;
};

} // namespace qor
