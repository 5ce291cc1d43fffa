#pragma once
// What the DropDown and the ListBox share: the creation parameters, the item
// store with its row records and search state, the item operations of the
// list item actions, fonts and colours, and the way user events reach the
// host.
//
// User events. A native combo box or list box reports what the user did from
// inside its own window procedure, and carries on with its own bookkeeping
// after the notification returns. A host subroutine run from there could
// destroy the native control under its own feet. Notifications are therefore
// posted back to the form and handled from the form's own window procedure,
// after the native control has finished: there the subroutine may remove or
// recreate the control freely (RunEvent tells whether it still lives).
#include <optional>
#include <string>

#include "core/AttachedControl.h"
#include "core/ValueEncodings.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "lists/ListItemStore.h"
#include "lists/ListItemTarget.h"

namespace qor {

// A native list's own window procedure, captured before the list is
// subclassed. Bulk work from the control's own code (filling, selecting many
// items) talks to it directly instead of paying the subclass's per-message
// bookkeeping for every item.
class DirectList {
public:
    void Capture(HWND window) {
        window_ = window;
        proc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    }
    HWND window() const { return window_; }
    WNDPROC proc() const { return proc_; }
    // The window is gone: later calls do nothing and answer 0.
    void Forget() {
        window_ = nullptr;
        proc_ = nullptr;
    }
    LRESULT operator()(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        if (!window_) return 0;
        return proc_ ? CallWindowProcA(proc_, window_, message, wParam, lParam)
                     : SendMessageA(window_, message, wParam, lParam);
    }

private:
    HWND window_ = nullptr;
    WNDPROC proc_ = nullptr;
};

// The messages of a native list box or combo box that a batch uses.
struct NativeListMessages {
    UINT count, insert, initStorage, reset;
};
constexpr NativeListMessages kListBoxMessages{LB_GETCOUNT, LB_INSERTSTRING, LB_INITSTORAGE, LB_RESETCONTENT};
constexpr NativeListMessages kComboBoxMessages{CB_GETCOUNT, CB_INSERTSTRING, CB_INITSTORAGE, CB_RESETCONTENT};

class ListControlBase : public AttachedControl, public ListItemTarget, protected ListItemView {
public:
    // params: the ten creation parameters of the create action.
    ListControlBase(ControlKind kind, const Params& params, const char* kindName);

    const ListItemStore& Store() const { return store_; }

    // ListItemTarget
    void AddItem(int position, std::string&& text) override { store_.Add(position, std::move(text)); }
    void ChangeItem(int position, const std::string& text) override { store_.Change(position, text); }
    void DeleteItem(int position) override { store_.Delete(position); }
    std::optional<std::string> FindItem(const std::string& text) override { return store_.Find(text); }
    std::optional<std::string> GetItem(int position, bool wholeRow) override { return store_.Get(position, wholeRow); }
    void MoveItem(int position, int newPosition) override { store_.Move(position, newPosition); }
    std::optional<std::string> Size() override { return store_.Size(); }
    void SetSorted(bool sorted) override { store_.SetSorted(sorted); }
    std::optional<std::string> FindItemEx(const std::string& searchIn, const std::string& match,
                                          const std::string& column, const std::string& text) override {
        return store_.FindEx(searchIn, match, column, text);
    }
    ListSearchState& SearchState() override { return store_.search; }

protected:
    // Reads the creation flags (sorted, prevent duplicates).
    void ReadFlags();
    // Loads the items into the store, which fills the native list through
    // the view. Throws conversion failures.
    void LoadItems() { store_.Load(settings_); }

    // The form's window is being destroyed (by a removal or because the host
    // destroyed the rectangle's window): the kind forgets its child windows'
    // handles, so that nothing later calls into a dead or reused handle.
    virtual void ForgetChildren() = 0;

    // Queues a user event for the form's own window procedure.
    void PostEvent(WPARAM event);
    virtual void HandleEvent(WPARAM /*event*/) {}

    // Puts the items at `indexes` (ascending places in `items`) into a native
    // list or combo box, with redraw off for the whole batch.
    static void InsertIntoNativeList(const DirectList& list, const NativeListMessages& messages,
                                     const std::vector<ListItem>& items, const std::vector<int>& indexes);
    // Empties a native list or combo box and puts `items` into it, in one
    // batch as InsertIntoNativeList does.
    static void FillNativeList(const DirectList& list, const NativeListMessages& messages,
                               const std::vector<ListItem>& items);

    // Colours of the native children: text in the font's colour, background
    // in the colour last applied. Returns 0 when nothing was set.
    LRESULT ColorChild(HDC dc);
    void ApplyBackground(int32_t color);
    void ApplyFontSpec(const FontSpec& spec, HWND target);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ClearMirroredVariables() override { WriteVariable(ResultVariable, ""); }

    // Creation parameters, as given.
    ListSettings settings_;
    std::string Style;
    std::string ResultMode;
    std::string ResultVariable;
    // Values at the last update and at the last change check.
    std::string CurrentValue;
    std::string PreviousValue;
    std::string OnChangeSub;

    ListItemStore store_;
    UniqueFont font_;               // the list's font (default or given)
    bool fontGiven_ = false;        // a font was set by the script
    std::optional<FontSpec> Font;   // the font spec last given by the script
    int32_t fontColor_ = SystemColor(COLOR_WINDOWTEXT);
    int32_t Color = ColorNone;      // as last given to the set-properties action
    UniqueBrush background_;        // the colour applied, if any
    COLORREF backgroundColor_ = 0;

private:
    std::string sortedText_;
    std::string noDuplicatesText_;
};

} // namespace qor
