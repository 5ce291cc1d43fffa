#pragma once
// The CheckListBox: an owner-drawn Win32 list box with a check glyph per
// item (check box, check mark or radio button), attached to a host rectangle.
// It mirrors its checked, unchecked, grayed and selected items into host
// variables, optionally one variable per item, runs host subroutines for its
// events, and offers its items to the list item actions.
//
// Every item's check state lives in the list box's item data, so it moves
// with the item when items are inserted, removed or sorted.
//
// User events. Check-state changes made with the mouse or the keyboard run
// their steps after the list box has finished handling the message; the
// selection-change and double-click notifications, which the list box sends
// from inside its own handling, are posted to the form and run from the
// form's window procedure. A subroutine may remove or re-create the control.
#include <optional>
#include <string>
#include <vector>

#include "checklist/CheckListAccessible.h"
#include "checklist/CheckListRules.h"
#include "core/AttachedControl.h"
#include "core/StoredSettings.h"
#include "core/ValueEncodings.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "lists/ListItemTarget.h"
#include "lists/PlainItemSearch.h"

namespace qor {

class TFMCustomCheckListBox : public AttachedControl, public ListItemTarget {
public:
    // params: the ten parameters of qorCreateCheckListBox.
    explicit TFMCustomCheckListBox(const Params& params);

    // qorCheckListBoxSetProperties: parameters 2 and 3.
    void SetProperties(const std::string& fontSpec, const std::string& color);
    // qorCheckListBoxCaptureEvents: parameters 2 to 6.
    void CaptureEvents(const Params& params);
    // qorCheckListBoxSelect: replaces the selection, then the selection-change steps.
    void SelectItems(const std::string& items, const std::string& selectBy);
    // qorCheckListBoxSetState: sets states without state-change subroutines.
    void SetStates(const std::string& items, const std::string& stateCode, const std::string& selectBy);

    // ListItemTarget
    void AddItem(int position, std::string&& text) override;
    void ChangeItem(int position, const std::string& text) override;
    void DeleteItem(int position) override;
    std::optional<std::string> FindItem(const std::string& text) override;
    std::optional<std::string> GetItem(int position, bool wholeRow) override;
    void MoveItem(int position, int newPosition) override;
    std::optional<std::string> Size() override;
    void SetSorted(bool sorted) override;
    std::optional<std::string> FindItemEx(const std::string& searchIn, const std::string& match,
                                          const std::string& column, const std::string& text) override;
    ListSearchState& SearchState() override { return search_; }

    // The check list.
    UniqueHwnd JvxCheckListBox1;

    // State, as the script sees it.
    std::string SelectedText;
    std::string PreviousSelectedText;
    bool SuppressEvents = false;
    bool MultiSelectOption = false;
    bool AllowGrayOption = false;
    std::string ItemsText;
    std::string CheckKindCode;
    bool IndividualVariables = false;
    std::string CheckedVariable;
    std::string UncheckedVariable;
    std::string GrayedVariable;
    std::string SelectedVariable;
    // The font, as set-properties calls stored and applied it.
    struct Look {
        bool HasCustomFont = false;
        FontSpec CustomFont;
    };
    StoredSettings<Look> look_;
    int32_t CustomColor = ColorNone;
    std::string OnSelectionChangeSub;
    std::string OnDblClickSub;
    std::string OnRightClickSub;
    std::string OnStateChangeSub;
    std::string ClickedItemVariable;

protected:
    void BuildContent() override;
    void LayoutContent(int width, int height) override;
    void ClearMirroredVariables() override;
    void UpdateValueAfterChange() override { Refresh(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CheckListAccessible;
    // A message to the list box's own procedure. Internal queries skip the
    // subclass filter: under Wine every filtered message costs two window
    // property look-ups in the server, which dominated filling large lists.
    LRESULT List(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Items of the list box.
    int Count() const;
    std::string ItemText(int index) const;
    std::vector<std::string> textsAtWindowEnd_; // for the destruction writes after the window went
    // Item texts for the shared plain-item search, read into one buffer.
    ItemTextAt ItemTextReader() const;
    CheckState ItemState(int index) const;
    std::vector<std::string> Texts() const;
    std::vector<CheckState> States() const;
    std::vector<int> SelectedIndexes() const;
    void StoreState(int index, CheckState state);
    int InsertItem(int index, const std::string& text, CheckState state);
    int SortedPosition(const std::string& text) const;

    // Sets an item's state under the list's rules; every actual change of a
    // notifying item runs the state-change steps. False when the control
    // died in a subroutine.
    bool SetItemState(int index, CheckState wanted);
    bool StateChanged(int index);
    void ClickCheck();
    void SelectionChange();
    void Refresh();
    void Toggle(int index);
    void CheckAll(CheckState state);
    void ForgetItem(const std::string& text, CheckState state);

    void ApplyFont();
    void DrawItem(const DRAWITEMSTRUCT& item);
    int GlyphAreaWidth() const;

    Params create_;
    WNDPROC listProc_ = nullptr;
    CheckKind kind_ = CheckKind::Box;
    bool sorted_ = false;
    int itemHeight_ = 13;
    ListSearchState search_;
    UniqueFont defaultFont_;
    UniqueFont customFont_;
    UniqueBrush background_;
    COLORREF backgroundColor_ = 0;
    CheckListAccessible accessible_{*this};
};

// The attached CheckListBox: the registry entry of its rectangle.
class TQORCheckListBox final : public TFMCustomCheckListBox {
public:
    using TFMCustomCheckListBox::TFMCustomCheckListBox;
};

bool qorCreateCheckListBox(const Params& params);
bool qorCheckListBoxSetProperties(const Params& params);
bool qorCheckListBoxCaptureEvents(const Params& params);
bool qorCheckListBoxSelect(const Params& params);
bool qorCheckListBoxSetState(const Params& params);

} // namespace qor
