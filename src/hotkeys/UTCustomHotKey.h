#pragma once
// The hot key field: the system's hot key input control attached to a host
// rectangle. It mirrors its combination as shortcut text into a host variable
// and, when the script named a subroutine, holds the combination as a
// system-wide hot key for its own window; pressing it anywhere runs the
// subroutine. A refused registration writes "ERROR" to the variable.
#include <cstdint>
#include <string>

#include "core/AttachedControl.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "hotkeys/SystemHotKey.h"

namespace qor {

class TFMCustomHotKey : public AttachedControl {
public:
    // params: the four parameters of qorCreateHotKey.
    explicit TFMCustomHotKey(const Params& params);

    // The input field's combination as a hot key value (0: none).
    uint32_t Value() const;
    // qorSetHotKey, steps 2 to 4.
    void SetShortCut(const std::string& text);
    // qorFocusHotKey.
    void Focus();
    // qorLoadHotKeys, one field: `text` as read from the file.
    void LoadShortCut(const std::string& text);

    UniqueHwnd HotKey1;
    SystemHotKey JvApplicationHotKey1;
    std::string OnHotKeySub;
    std::string ResultVariable;

protected:
    void BuildContent() override;
    void AfterPlaced() override;
    void LayoutContent(int width, int height) override;
    void ClearMirroredVariables() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetValue(uint32_t value);
    // Deactivates, then registers `value`; a refusal writes "ERROR".
    void Reactivate(uint32_t value);
    // After a new combination: the variable, then the system hot key.
    void CombinationChanged();

    std::string fontSpec_;
    UniqueFont font_;
};

class TQORHotKey final : public TFMCustomHotKey {
public:
    using TFMCustomHotKey::TFMCustomHotKey;
};

// The library detaches while fields are left (the host did not discard
// them). On unload each field releases its hot key and atom; at process exit
// only the atom is handed back, since the windows and their hot keys go with
// the process.
void ReleaseHotKeyFieldsAtDetach(bool processExit) noexcept;

bool qorCreateHotKey(const Params& params);
bool qorLoadHotKeys(const Params& params);
bool qorSaveHotKeys(const Params& params);
bool qorSetHotKey(const Params& params);
bool qorFocusHotKey(const Params& params);

} // namespace qor
