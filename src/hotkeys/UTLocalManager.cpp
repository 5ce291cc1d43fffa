#include "hotkeys/UTLocalManager.h"

#include <memory>

#include "core/EventBridge.h"
#include "core/FlagScope.h"
#include "core/ScriptError.h"
#include "host/HostServices.h"
#include "hotkeys/HotKeyFiles.h"
#include "hotkeys/KeyCommandRunner.h"
#include "hotkeys/KeyCommands.h"
#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

constexpr char kListVariable[] = "[qorLocalKeyManagerList]";
constexpr size_t kKeyTextSlots = 256 * 8;

std::unique_ptr<TFMLocalManager>& Instance() {
    static std::unique_ptr<TFMLocalManager> manager;
    return manager;
}

} // namespace

TFMLocalManager::TFMLocalManager() : keyTexts_(kKeyTextSlots) {
    hook_.reset(SetWindowsHookExA(WH_KEYBOARD, &HookProc, nullptr, GetCurrentThreadId()));
    if (!hook_) throw ScriptError("Cannot install the keyboard hook (error " + std::to_string(GetLastError()) + ").");
}

TFMLocalManager::~TFMLocalManager() = default;

LRESULT CALLBACK TFMLocalManager::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    // Only a message being taken from the queue runs a command: a look
    // without removing it would run the command a second time.
    const bool released = (lParam & 0x80000000) != 0;
    TFMLocalManager* manager = Instance().get();
    if (code == HC_ACTION && !released && manager) {
        try {
            if (manager->KeyPressed(static_cast<uint32_t>(wParam))) return 1;
        } catch (...) {
            return 1; // the command failed after the key was taken
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const std::string& TFMLocalManager::KeyText(uint32_t keyCode, bool ctrl, bool alt, bool shift) {
    const HKL layout = GetKeyboardLayout(0);
    if (layout != keyTextLayout_) {
        keyTexts_.assign(kKeyTextSlots, RememberedText());
        keyTextLayout_ = layout;
    }
    const size_t slot = (keyCode & 0xFF) | (ctrl ? 0x100u : 0u) | (alt ? 0x200u : 0u) | (shift ? 0x400u : 0u);
    RememberedText& remembered = keyTexts_[slot];
    std::string name = KeyName(keyCode);
    if (!remembered.known || remembered.name != name) {
        remembered.text = KeyEventText(keyCode & 0xFF, ctrl, alt, shift);
        remembered.name = std::move(name);
        remembered.known = true;
    }
    return remembered.text;
}

bool TFMLocalManager::KeyPressed(uint32_t keyCode) {
    const std::string& text = KeyText(keyCode, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0,
                                      GetKeyState(VK_SHIFT) < 0);
    if (text.empty()) return false;
    const int line = keys_.Find(text);
    if (line < 0) return false;
    // A copy: the command may delete its own entry or add others.
    Carry(LineValue(keys_.Lines()[static_cast<size_t>(line)]));
    return true;
}

void TFMLocalManager::Carry(const std::string& command) {
    const KeyCommandKind kind = CommandKindOf(command, false);
    const std::string argument = CommandArgument(command, kind);
    switch (kind) {
    case KeyCommandKind::Script: RunScriptLine(argument); break;
    case KeyCommandKind::Subroutine:
        if (!busy_) {
            FlagScope busy(busy_);
            RunSubroutine(argument);
        }
        break;
    case KeyCommandKind::Click: ClickHostObject(argument); break;
    case KeyCommandKind::Paste:
    case KeyCommandKind::Open: OpenWithShell(nullptr, argument); break;
    }
}

void TFMLocalManager::Publish() const { SetHostVariable(kListVariable, keys_.Text()); }

bool TFMLocalManager::AddLine(std::string line) {
    const size_t equals = line.find('=');
    if (equals == 0 || equals == std::string::npos) return false; // no key text
    if (keys_.AppendNew(std::move(line))) return true;
    ReportError(line.substr(0, equals) + " key is already in use.");
    return false;
}

void TFMLocalManager::Add(const std::string& keyText, const std::string& command) {
    if (!keyText.empty() && AddLine(keyText + "=" + command)) Publish();
}

void TFMLocalManager::Delete(const std::string& keyText) {
    const int line = keys_.Find(keyText);
    if (line < 0) return;
    keys_.RemoveAt(static_cast<size_t>(line));
    Publish();
}

void TFMLocalManager::Load(const std::string& path, bool decrypt) {
    if (!ListFileExists(path)) return;
    // No script runs during a load: the list is published once, at its end.
    bool added = false;
    for (std::string& line : ReadListFile(path, decrypt)) added = AddLine(std::move(line)) || added;
    if (added) Publish();
}

void TFMLocalManager::Save(const std::string& path, bool encrypt) const {
    WriteListFile(path, keys_.Lines(), encrypt);
}

TFMLocalManager& LocalManager() {
    auto& manager = Instance();
    if (!manager) manager = std::make_unique<TFMLocalManager>();
    return *manager;
}

void DestroyLocalManager() noexcept {
    try {
        Instance().reset();
    } catch (...) {
    }
}

bool qorAddLocalKeyInManager(const Params& params) {
    LocalManager().Add(params.at(0), params.at(1));
    return true;
}

bool qorDeleteLocalKeyFromManager(const Params& params) {
    LocalManager().Delete(params.at(0));
    return true;
}

bool qorLoadLocalKeyManager(const Params& params) {
    LocalManager().Load(params.at(0), IsTrueFlag(params.at(1)));
    return true;
}

bool qorSaveLocalKeyManager(const Params& params) {
    LocalManager().Save(params.at(0), IsTrueFlag(params.at(1)));
    return true;
}

} // namespace qor
