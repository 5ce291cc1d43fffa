#pragma once
// The DropDown: a combo box inside a host rectangle whose result variable
// follows the user's choice (item number, text or whole row).
#include <string>

#include "core/StoredSettings.h"
#include "host/PlugInUtils.h"
#include "lists/ListControlBase.h"

namespace qor {

class TFMCustomDropDown : public ListControlBase {
public:
    explicit TFMCustomDropDown(const Params& params);

    void SetProperties(const Params& params);
    void CaptureEvents(const Params& params);
    void Select(const std::string& item, const std::string& selectBy);

    HWND ComboBox() const { return Combobox1; }

    // The value update: computes the value, writes the result variable and
    // runs OnChange when the value changed.
    void ComboBox1Change();

protected:
    void BuildContent() override;
    void LayoutContent(int width, int height) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleEvent(WPARAM event) override;
    void UpdateValueAfterChange() override { ComboBox1Change(); }
    void ForgetChildren() override;

    // ListItemView: the combo box's item list.
    void ShowAll(const std::vector<ListItem>& items) override;
    void ShowInserted(int index, const std::string& text) override;
    void ShowInsertedMany(const std::vector<ListItem>& items, const std::vector<int>& indexes) override;
    void ShowRemoved(int index) override;
    void ShowChanged(int index, const std::string& text) override;
    void ShowMoved(int from, int to) override;
    void ShowReordered(const std::vector<int>& oldIndexAt, const std::vector<ListItem>& items) override;

private:
    bool ListOnly() const { return Style == "1"; }
    std::string EditText() const;
    int Selection() const;
    void ApplyPresetText();
    void FormResize();
    // Typing aids on a key typed into the edit field (editable style) or the
    // combo box itself (list-only style). True when the key was consumed.
    bool TypingAid(HWND target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ComboBox2DropDown();
    void ComboBox2CloseUp();

    HWND Combobox1 = nullptr;
    DirectList comboDirect_;
    HWND edit_ = nullptr;
    // The typing aids, as set-properties calls stored and applied them.
    struct TypingAids {
        bool AutoCloseUp = false;
        bool AutoComplete = false;
        bool AutoDropDown = false;
    };
    StoredSettings<TypingAids> aids_;
    const TypingAids& Aids() const { return aids_.Applied(); }
    int DropDownWidth = 0;
    std::string PresetText;
    std::string OnDropDownSub;
    std::string OnCloseUpSub;
    std::string searchPrefix_; // list-only auto complete
    DWORD lastKeyTime_ = 0;
};

class TQORDropDown final : public TFMCustomDropDown {
public:
    using TFMCustomDropDown::TFMCustomDropDown;
};

bool qorCreateDropDown(const Params& params);
bool qorDropDownSetProperties(const Params& params);
bool qorDropDownCaptureEvents(const Params& params);
bool qorDropDownSelect(const Params& params);

} // namespace qor
