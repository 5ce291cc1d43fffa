#pragma once
// What every list-like control (DropDown, ListBox, SmartEdit, CheckListBox)
// offers to the ten list item actions. Positions count from 0; -1 stands for
// "all items" (delete, get) or "the end" (add).
//
// Operations that produce a value return it; std::nullopt means "write
// nothing" (for example a size query on a list whose items mode is unknown).
// The actions write returned values to the result variable named in their
// parameters. A failure throws ScriptError with the text the script sees; a
// ListNotice carries a message for the LastError variable while the action
// still succeeds.
#include <optional>
#include <stdexcept>
#include <string>

#include "lists/ListSearch.h"

namespace qor {

class ListNotice : public std::runtime_error {
public:
    explicit ListNotice(const std::string& message) : std::runtime_error(message) {}
};

class ListItemTarget {
public:
    virtual ~ListItemTarget() = default;

    virtual void AddItem(int position, std::string&& text) = 0;
    virtual void ChangeItem(int position, const std::string& text) = 0;
    virtual void DeleteItem(int position) = 0;
    // The number (position + 1) of the first item equal to text, "0" for none.
    virtual std::optional<std::string> FindItem(const std::string& text) = 0;
    // wholeRow matters only for lists with rows (DropDown and ListBox in Array mode).
    virtual std::optional<std::string> GetItem(int position, bool wholeRow) = 0;
    // Moves the item so that it ends at newPosition (counted after the removal).
    virtual void MoveItem(int position, int newPosition) = 0;
    virtual std::optional<std::string> Size() = 0;

    // qorListSort: kinds without a sorted state (SmartEdit) say so here and
    // are skipped when the action looks for its control.
    virtual bool CanSort() const { return true; }
    virtual void SetSorted(bool /*sorted*/) {}

    // Extended search: fills the search state and returns its first match
    // ("" when there is none). Search-in, match and column come as the texts of
    // the action's parameters.
    virtual std::optional<std::string> FindItemEx(const std::string& searchIn, const std::string& match,
                                                  const std::string& column, const std::string& text) = 0;
    // The next match of the last extended search (see ListSearchState::Next).
    virtual std::optional<std::string> FindNextItem() { return SearchState().Next(); }

    // Runs after every add, change, delete, move and sort: empties the search
    // state, then brings the control's variables up to date (which may run an
    // event subroutine that destroys the control: nothing may follow it).
    virtual void AfterChange() {
        SearchState().Reset();
        UpdateValueAfterChange();
    }

    virtual ListSearchState& SearchState() = 0;

protected:
    // The control's value update; a kind without one keeps the default.
    virtual void UpdateValueAfterChange() {}
};

} // namespace qor
