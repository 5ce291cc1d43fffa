#include "hotkeys/SystemHotKey.h"

#include <utility>

#include "hotkeys/ShortCutText.h"

namespace qor {

SystemHotKey::SystemHotKey(SystemHotKey&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), atom_(std::move(other.atom_)), value_(other.value_) {}

SystemHotKey& SystemHotKey::operator=(SystemHotKey&& other) noexcept {
    if (this != &other) {
        Release();
        window_ = std::exchange(other.window_, nullptr);
        atom_ = std::move(other.atom_);
        value_ = other.value_;
    }
    return *this;
}

bool SystemHotKey::Register(HWND window, const std::string& atomName, uint32_t value) {
    Release();
    UniqueGlobalAtom atom(GlobalAddAtomA(atomName.c_str()));
    if (!atom) return false;
    const SplitHotKeyValue split = SplitHotKey(value);
    if (!RegisterHotKey(window, atom.get(), split.modFlags & ~kModWin, split.keyCode)) return false;
    window_ = window;
    atom_ = std::move(atom);
    value_ = value;
    return true;
}

bool SystemHotKey::Release() noexcept {
    if (!window_) return false;
    const bool confirmed = UnregisterHotKey(window_, atom_.get()) != FALSE;
    window_ = nullptr;
    atom_.reset();
    return confirmed;
}

} // namespace qor
