#pragma once
// The values the DropDown and the ListBox write to their result variables.
#include <optional>
#include <string>
#include <vector>

#include "lists/ListItemStore.h"

namespace qor {

// What the combo box shows: the selected index (-1 for none) and the edit text.
struct DropDownState {
    int selection = -1;
    std::string editText;
    bool listOnly = false;
};

// The DropDown's value; nullopt when the items mode computes none.
std::optional<std::string> DropDownValue(const ListItemStore& store, const std::string& resultMode,
                                         const DropDownState& state);

// The ListBox's value from the selected indexes (ascending); single selection
// takes the first only. Selected items are joined by CR LF.
std::string ListBoxValue(const ListItemStore& store, const std::string& resultMode,
                         const std::vector<int>& selected, bool multiSelect);

// OnChange bookkeeping shared by the list controls: true (and the previous
// value updated) when the current value differs from it.
inline bool TakeChange(const std::string& current, std::string& previous) {
    if (current == previous) return false;
    previous = current;
    return true;
}

} // namespace qor
