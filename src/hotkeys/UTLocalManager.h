#pragma once
// The local key manager: combinations bound to commands inside the host only,
// through a keyboard hook on the host's user-interface thread. A bound key
// press is taken away from the focused window. One per loaded plug-in, made
// by its first action and kept until the plug-in unloads.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "hotkeys/HotKeyList.h"

namespace qor {

class TFMLocalManager {
public:
    // Installs the hook on the calling thread.
    TFMLocalManager();
    ~TFMLocalManager();
    TFMLocalManager(const TFMLocalManager&) = delete;
    TFMLocalManager& operator=(const TFMLocalManager&) = delete;

    void Add(const std::string& keyText, const std::string& command);
    void Delete(const std::string& keyText);
    void Load(const std::string& path, bool decrypt);
    void Save(const std::string& path, bool encrypt) const;

    // A key press of the thread: true when it is bound (and so consumed).
    bool KeyPressed(uint32_t keyCode);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    const std::string& KeyText(uint32_t keyCode, bool ctrl, bool alt, bool shift);
    void Carry(const std::string& command);
    // Add of a whole "key=command" line, without publishing the list; true
    // when added.
    bool AddLine(std::string line);
    void Publish() const;

    KeyLineList keys_;
    UniqueHook hook_;
    bool busy_ = false;
    // Key texts by key code and modifiers, made on first use. Names outside
    // the fixed table are the keyboard layout's: all are forgotten when the
    // thread's layout changes, and each holds only while its key keeps the
    // name it was made from (the layout's keys can be renamed under the same
    // layout handle, as a change of the X server's layout does under Wine).
    struct RememberedText {
        bool known = false;
        std::string name, text;
    };
    std::vector<RememberedText> keyTexts_;
    HKL keyTextLayout_ = nullptr;
};

TFMLocalManager& LocalManager();
// At unload: the hook is removed.
void DestroyLocalManager() noexcept;

bool qorAddLocalKeyInManager(const Params& params);
bool qorDeleteLocalKeyFromManager(const Params& params);
bool qorLoadLocalKeyManager(const Params& params);
bool qorSaveLocalKeyManager(const Params& params);

} // namespace qor
