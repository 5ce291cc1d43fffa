#include "hotkeys/SystemHotKey.h"

#include <utility>
#include <vector>

#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

constexpr UINT kModNoRepeat = 0x4000;
constexpr UINT kReleasePollPause = 15;

bool KeyDown(uint32_t keyCode) { return (GetAsyncKeyState(static_cast<int>(keyCode)) & 0x8000) != 0; }

} // namespace

SystemHotKey::SystemHotKey(SystemHotKey&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), atom_(std::move(other.atom_)), value_(other.value_),
      held_(std::exchange(other.held_, false)) {}

SystemHotKey& SystemHotKey::operator=(SystemHotKey&& other) noexcept {
    if (this != &other) {
        Release();
        window_ = std::exchange(other.window_, nullptr);
        atom_ = std::move(other.atom_);
        value_ = other.value_;
        held_ = std::exchange(other.held_, false);
    }
    return *this;
}

bool SystemHotKey::Register(HWND window, const std::string& atomName, uint32_t value, KeyRepeat repeat) {
    Release();
    UniqueGlobalAtom atom(GlobalAddAtomA(atomName.c_str()));
    if (!atom) return false;
    const SplitHotKeyValue split = SplitHotKey(value);
    const UINT flags = split.modFlags & ~kModWin;
    bool registered = false;
    if (repeat == KeyRepeat::Once) {
        registered = RegisterHotKey(window, atom.get(), flags | kModNoRepeat, split.keyCode) != FALSE;
        // A system that does not know the flag refuses it; a taken
        // combination stays taken without it.
        if (!registered && GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED) return false;
    }
    if (!registered && !RegisterHotKey(window, atom.get(), flags, split.keyCode)) return false;
    window_ = window;
    atom_ = std::move(atom);
    value_ = value;
    return true;
}

bool SystemHotKey::Release() noexcept {
    if (!window_) return false;
    StopPolling();
    const bool confirmed = UnregisterHotKey(window_, atom_.get()) != FALSE;
    window_ = nullptr;
    atom_.reset();
    return confirmed;
}

void SystemHotKey::ReleaseAtomAtProcessExit() noexcept {
    window_ = nullptr;
    held_ = false;
    atom_.reset();
}

void SystemHotKey::StopPolling() noexcept {
    if (held_ && window_) KillTimer(window_, atom_.get());
    held_ = false;
}

bool SystemHotKey::TakePress() {
    if (!window_) return false;
    if (held_) return false;
    // Without the timer the release would never be seen: every press counts.
    held_ = SetTimer(window_, atom_.get(), kReleasePollPause, nullptr) != 0;
    return true;
}

bool SystemHotKey::Poll(WPARAM timerId) {
    if (!window_ || !held_ || timerId != atom_.get()) return false;
    if (!KeyDown(SplitHotKey(value_).keyCode)) StopPolling();
    return true;
}

void SystemHotKey::KeySeenUp() {
    if (!window_) return;
    StopPolling();
    std::vector<MSG> others;
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_HOTKEY, WM_HOTKEY, PM_REMOVE | PM_NOYIELD))
        if (msg.wParam != atom_.get()) others.push_back(msg);
    for (const MSG& other : others) PostMessageA(other.hwnd, other.message, other.wParam, other.lParam);
}

} // namespace qor
