#include "hotkeys/UTHotManager.h"

#include <memory>

#include "core/AnsiText.h"
#include "core/EventBridge.h"
#include "host/HostServices.h"
#include "hotkeys/HotKeyFiles.h"
#include "hotkeys/KeyCommandRunner.h"
#include "hotkeys/KeyCommands.h"
#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

constexpr char kListVariable[] = "[qorHotKeyManagerList]";
constexpr char kEventModeVariable[] = "[qorBrindavelHKEventOn]";
constexpr DWORD kPastePause = 100;
// How long a foreground window may take to answer before the paste leaves
// it enabled.
constexpr UINT kAnswerLimit = 100;

std::unique_ptr<TFMHotManager>& Instance() {
    static std::unique_ptr<TFMHotManager> manager;
    return manager;
}

bool KeyUpMode() { return SameNameAscii(GetHostVariable(kEventModeVariable), "keyup"); }

// True when the window's thread answers a message in time. Disabling a window
// sends it messages: one that does not answer would block this thread.
bool Answers(HWND window) {
    if (IsHungAppWindow(window)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerLimit, &result) != 0;
}

// Re-enables the window a paste disabled, however the paste ends, unless the
// script switched to key-up mode meanwhile. A window that does not answer is
// left alone.
class DisabledWindow {
public:
    void Disable(HWND window) {
        window_ = window && Answers(window) ? window : nullptr;
        if (window_) EnableWindow(window_, FALSE);
    }
    void Enable() {
        if (window_) EnableWindow(window_, TRUE);
        window_ = nullptr;
    }
    ~DisabledWindow() {
        try {
            if (!KeyUpMode()) Enable();
        } catch (...) {
        }
    }

private:
    HWND window_ = nullptr;
};

} // namespace

TFMHotManager::TFMHotManager() {
    registrar_.OnHotKeyPressed = [this](uint32_t value, ATOM id) { HandlePress(value, id); };
}

void TFMHotManager::Publish() const { SetHostVariable(kListVariable, JoinListLines(display_)); }

bool TFMHotManager::AddEntry(const std::string& keyText, const std::string& command) {
    if (!registrar_.Add(TextToShortCut(keyText))) {
        ReportError("Failed to register this hotkey.");
        return false;
    }
    commands_.Append(keyText + "=" + command);
    display_.push_back(keyText + "=" + CommandDisplayForm(command));
    return true;
}

void TFMHotManager::Add(const std::string& keyText, const std::string& command) {
    if (AddEntry(keyText, command)) Publish();
}

void TFMHotManager::Delete(const std::string& keyText) {
    if (!registrar_.Remove(TextToShortCut(keyText))) return;
    const int line = commands_.Find(keyText);
    if (line < 0) return;
    commands_.RemoveAt(static_cast<size_t>(line));
    display_.erase(display_.begin() + line);
    Publish();
}

void TFMHotManager::Load(const std::string& path, bool decrypt) {
    if (!ListFileExists(path)) return;
    // No script runs during a load: the list is published once, at its end.
    bool added = false;
    for (const std::string& line : ReadListFile(path, decrypt)) added = AddEntry(LineName(line), LineValue(line)) || added;
    if (added) Publish();
}

void TFMHotManager::Save(const std::string& path, bool encrypt) const {
    WriteListFile(path, commands_.Lines(), encrypt);
}

void TFMHotManager::HandlePress(uint32_t value, ATOM id) {
    const std::string text = ShortCutToText(value);
    try {
        if (KeyUpMode()) {
            // Once per press: the repeats of a held combination neither run
            // the command again nor clear the last key text.
            if (!registrar_.TakePress(id)) return;
            if (text == lastKeyText_) return;
            lastKeyText_ = text;
            if (WaitForKeysReleased()) registrar_.KeySeenUp(id);
        }
        const int line = commands_.Find(text);
        // A copy: the command may delete its own entry.
        if (line >= 0) Carry(LineValue(commands_.Lines()[static_cast<size_t>(line)]), value);
    } catch (...) {
        // A failing command ends the handling quietly.
    }
    try {
        if (KeyUpMode()) lastKeyText_.clear();
    } catch (...) {
    }
}

void TFMHotManager::Carry(const std::string& command, uint32_t value) {
    const KeyCommandKind kind = CommandKindOf(command, true);
    const std::string argument = CommandArgument(command, kind);
    switch (kind) {
    case KeyCommandKind::Script: RunScriptLine(argument); break;
    case KeyCommandKind::Subroutine: RunSubroutine(argument); break;
    case KeyCommandKind::Click: ClickHostObject(argument); break;
    case KeyCommandKind::Paste: Paste(command, value); break;
    case KeyCommandKind::Open: OpenWithShell(registrar_.Window(), argument); break;
    }
}

void TFMHotManager::Paste(const std::string& command, uint32_t value) {
    HWND window = registrar_.Window();
    DisabledWindow foreground;
    if (!KeyUpMode()) {
        // The held modifiers are let go while the foreground window cannot
        // react to them (a lone Alt release would open its menu).
        foreground.Disable(GetForegroundWindow());
        ReleaseModifiersOf(ShortCutToText(value));
        Sleep(kPastePause);
        foreground.Enable();
    }
    try {
        clipboard_.Backup(window);
    } catch (...) {
    }
    Sleep(kPastePause);
    PutPasteText(window, PasteText(command));
    SendPasteKeystroke();
    WaitForKeysReleased();
    Sleep(kPastePause);
    try {
        clipboard_.Restore(window);
    } catch (...) {
    }
}

TFMHotManager& HotManager() {
    auto& manager = Instance();
    if (!manager) manager = std::make_unique<TFMHotManager>();
    return *manager;
}

void TFMHotManager::ReleaseAtomsAtProcessExit() noexcept { registrar_.ReleaseAtomsAtProcessExit(); }

void AbandonHotManagerAtProcessExit() noexcept {
    auto& manager = Instance();
    if (!manager) return;
    manager->ReleaseAtomsAtProcessExit();
    // Its window and timers go with the process; no destructor may call the
    // window system this late.
    manager.release();
}

void DestroyHotManager() noexcept {
    try {
        Instance().reset();
    } catch (...) {
    }
}

bool qorAddHotKeyInManager(const Params& params) {
    HotManager().Add(params.at(0), params.at(1));
    return true;
}

bool qorDeleteHotKeyFromManager(const Params& params) {
    HotManager().Delete(params.at(0));
    return true;
}

bool qorLoadHotKeyManager(const Params& params) {
    HotManager().Load(params.at(0), IsTrueFlag(params.at(1)));
    return true;
}

bool qorSaveHotKeyManager(const Params& params) {
    HotManager().Save(params.at(0), IsTrueFlag(params.at(1)));
    return true;
}

} // namespace qor
