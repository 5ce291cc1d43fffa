#include "hotkeys/HotKeyManager.h"

#include <string>

#include "hotkeys/ShortCutText.h"

namespace qor {

class THotKeyManager::HiddenWindow final : public FormWindow {
public:
    explicit HiddenWindow(THotKeyManager& owner) : owner_(&owner) {}
    void Forget() { owner_ = nullptr; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_HOTKEY && owner_) owner_->Pressed(JoinHotKey(HIWORD(lParam), LOWORD(lParam)));
        if (message == WM_TIMER && owner_) owner_->Poll(wParam);
        return FormWindow::WindowProc(message, wParam, lParam);
    }

private:
    THotKeyManager* owner_;
};

THotKeyManager::THotKeyManager() : window_(std::make_shared<HiddenWindow>(*this)) {
    window_->CreateAsChild(HWND_MESSAGE);
}

THotKeyManager::~THotKeyManager() {
    while (!records_.empty()) records_.pop_back(); // each record releases its hot key and atom
    window_->Forget();
    window_->Destroy();
}

HWND THotKeyManager::Window() const { return window_->hwnd(); }

bool THotKeyManager::Add(uint32_t value) {
    SystemHotKey record;
    // Immediate mode runs a command for every repeat: the repeats are kept.
    const std::string name = "HotKeyManagerHotKey" + std::to_string(value);
    if (!record.Register(Window(), name, value, KeyRepeat::Repeats)) return false;
    records_.push_back(std::move(record));
    return true;
}

bool THotKeyManager::Remove(uint32_t value) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->Value() != value) continue;
        const bool confirmed = it->Release();
        records_.erase(it);
        return confirmed;
    }
    return false;
}

bool THotKeyManager::Holds(uint32_t value) const {
    for (const auto& record : records_)
        if (record.Value() == value) return true;
    return false;
}

SystemHotKey* THotKeyManager::Record(ATOM id) {
    for (auto& record : records_)
        if (record.Id() == id) return &record;
    return nullptr;
}

bool THotKeyManager::TakePress(ATOM id) {
    SystemHotKey* record = Record(id);
    return record && record->TakePress();
}

void THotKeyManager::KeySeenUp(ATOM id) {
    if (SystemHotKey* record = Record(id)) record->KeySeenUp();
}

void THotKeyManager::Poll(WPARAM timerId) {
    for (auto& record : records_)
        if (record.Poll(timerId)) return;
}

void THotKeyManager::ReleaseAtomsAtProcessExit() noexcept {
    for (auto& record : records_) record.ReleaseAtomAtProcessExit();
    records_.clear();
}

void THotKeyManager::Pressed(uint32_t value) {
    for (const auto& record : records_)
        if (record.Value() == value) {
            if (OnHotKeyPressed) OnHotKeyPressed(value, record.Id());
            return;
        }
}

} // namespace qor
