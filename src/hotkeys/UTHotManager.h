#pragma once
// The global hot key manager: system-wide combinations bound to commands
// (script line, subroutine, click, paste, shell open). One per loaded
// plug-in, made by its first action and kept until the plug-in unloads.
#include <cstdint>
#include <string>
#include <vector>

#include "host/PlugInUtils.h"
#include "hotkeys/HotKeyList.h"
#include "hotkeys/HotKeyManager.h"
#include "hotkeys/KeySending.h"

namespace qor {

class TFMHotManager {
public:
    TFMHotManager();

    void Add(const std::string& keyText, const std::string& command);
    void Delete(const std::string& keyText);
    void Load(const std::string& path, bool decrypt);
    void Save(const std::string& path, bool encrypt) const;

    // The process is ending: the atoms are handed back, nothing else is touched.
    void ReleaseAtomsAtProcessExit() noexcept;

private:
    void HandlePress(uint32_t value, ATOM id);
    void Carry(const std::string& command, uint32_t value);
    void Paste(const std::string& command, uint32_t value);
    // Add without publishing the lists; true when added.
    bool AddEntry(const std::string& keyText, const std::string& command);
    void Publish() const;

    THotKeyManager registrar_;
    KeyLineList commands_;
    std::vector<std::string> display_;
    std::string lastKeyText_;
    ClipboardBackup clipboard_;
};

// Made on first use.
TFMHotManager& HotManager();
// At unload: every hot key and atom released, the hidden window destroyed.
void DestroyHotManager() noexcept;
// At process exit: the atoms handed back, the manager left to the system.
void AbandonHotManagerAtProcessExit() noexcept;

bool qorAddHotKeyInManager(const Params& params);
bool qorDeleteHotKeyFromManager(const Params& params);
bool qorLoadHotKeyManager(const Params& params);
bool qorSaveHotKeyManager(const Params& params);

} // namespace qor
