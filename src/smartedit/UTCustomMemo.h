#pragma once
// The SmartEdit: a multi-line editor attached to a host rectangle, with a
// text variable, editing commands and queries, mouse and change events, and
// its lines offered as items to the list item actions.
//
// Text changes. The editor reports every change with EN_CHANGE from inside
// its own window procedure. The change steps (variable write, change
// subroutine) never run from there: a change made by an action runs them when
// the action has finished with the editor, and a change made by the user is
// posted to the form and runs them from the form's own window procedure. A
// subroutine may therefore remove or re-create the SmartEdit freely.
#include <optional>
#include <string>

#include "core/AttachedControl.h"
#include "core/ValueEncodings.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "lists/ListItemTarget.h"
#include "lists/PlainItemSearch.h"
#include "smartedit/HunSpellMemo.h"

namespace qor {

class TFMCustomMemo : public AttachedControl, public ListItemTarget {
public:
    TFMCustomMemo(const std::string& rectangleName, const std::string& textVariable);

    // qorSmartEditSetProperties: parameters 2 to 9. Values are stored one by
    // one and applied together only when all of them converted.
    void SetProperties(const Params& params);
    // qorSmartEditCaptureEvents: parameters 2 to 5.
    void CaptureEvents(const Params& params);
    // qorSmartEditSetText: mode "0" whole text, "1" selection, else nothing.
    void SetTextByMode(const std::string& text, const std::string& mode);
    // The command interface of actions 29 to 41 and 43.
    void Command(const std::string& word, int first, int second);
    // qorSmartEditGetInfo: the value of an item, nothing without a text
    // variable or for an unknown item.
    std::optional<std::string> Info(const std::string& item);

    // Runs the change steps when the editor changed since they last ran. Must
    // be the last thing a caller does with the control.
    void FlushChange();

    // ListItemTarget: the lines of the editor.
    void AddItem(int position, std::string&& text) override;
    void ChangeItem(int position, const std::string& text) override;
    void DeleteItem(int position) override;
    std::optional<std::string> FindItem(const std::string& text) override;
    std::optional<std::string> GetItem(int position, bool wholeRow) override;
    void MoveItem(int position, int newPosition) override;
    std::optional<std::string> Size() override;
    bool CanSort() const override { return false; }
    std::optional<std::string> FindItemEx(const std::string& searchIn, const std::string& match,
                                          const std::string& column, const std::string& text) override;
    ListSearchState& SearchState() override { return search_; }

    // The engine outlives the editor that asks it.
    THunSpell HunSpell1;
    THunSpellMemo Memo1;

    // State, as the script sees it.
    std::string LastText;
    std::string PreviousText;
    bool ReadOnlyOption = false;
    bool WordWrapOption = false;
    bool WantTabsOption = false;
    bool HideSelectionOption = false;
    bool HasCustomFont = false;
    FontSpec CustomFont;
    int32_t CustomColor = ColorNone;
    std::string ScrollBarsCode;
    std::string AlignmentCode;
    std::string TextVariable;
    std::string OnChangeSub;
    std::string OnDblClickSub;
    std::string OnRightClickSub;
    std::string OnClickSub;

protected:
    void BuildContent() override;
    void LayoutContent(int width, int height) override;
    void ClearMirroredVariables() override { WriteVariable(TextVariable, ""); }
    // Each change of the text runs its change steps as it happens; the list
    // actions' emptying of the search state comes after them.
    void AfterChange() override {
        FlushChange();
        if (!IsDestroyed()) SearchState().Reset();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyProperties();
    void MarkChanged();
    void RunChangeSteps();
    bool InsertLine(int index, const std::string& text);
    // The lines as the edit shows them, as views into `lines`' own storage.
    struct LineSnapshot {
        std::string text;                 // the whole text, when the edit does not wrap
        std::vector<std::string> wrapped; // one string per line, when it does
        std::vector<std::string_view> views;

        LineSnapshot() = default;
        LineSnapshot(const LineSnapshot&) = delete; // a copy's views would point into the original
        LineSnapshot& operator=(const LineSnapshot&) = delete;
    };
    void ReadLines(LineSnapshot& lines) const;

    // What the last successful set properties applied: the options above stay
    // stored but inactive when a later part of the same call fails.
    bool tabsApplied_ = false;
    std::optional<int32_t> textColor_;

    ListSearchState search_;
    UniqueFont defaultFont_;
    UniqueFont customFont_;
    UniqueBrush background_;
    COLORREF backgroundColor_ = 0;
    bool changePending_ = false;
    bool changePosted_ = false;
    bool recreating_ = false;
    bool leftDown_ = false;
};

// The attached SmartEdit: the registry entry of its rectangle.
class TQORMemo final : public TFMCustomMemo {
public:
    using TFMCustomMemo::TFMCustomMemo;
};

// Action handlers.
bool qorCreateSmartEdit(const Params& params);
bool qorSmartEditSetProperties(const Params& params);
bool qorSmartEditCaptureEvents(const Params& params);
bool qorSmartEditSetText(const Params& params);
bool qorSmartEditGetInfo(const Params& params);
// Actions 29 to 39: parameter 1 and the action's fixed command word.
bool SmartEditCommandAction(int32_t id, const Params& params);
// Actions 40, 41 and 43: parameters 2 and 3 as numbers, then the fixed word.
bool SmartEditPositionAction(int32_t id, const Params& params);

template <int32_t id>
bool SmartEditCommandRoute(const Params& params) {
    return SmartEditCommandAction(id, params);
}
template <int32_t id>
bool SmartEditPositionRoute(const Params& params) {
    return SmartEditPositionAction(id, params);
}

} // namespace qor
