#include "lists/ListValues.h"

namespace qor {

std::optional<std::string> DropDownValue(const ListItemStore& store, const std::string& resultMode,
                                         const DropDownState& state) {
    const bool numbers = resultMode == "0";
    const int count = store.Count();
    const int selection = state.selection >= 0 && state.selection < count ? state.selection : -1;
    switch (store.Mode()) {
    case ItemsMode::String:
        return numbers ? std::to_string(selection + 1) : state.editText;
    case ItemsMode::Array: {
        int index = selection;
        if (!state.listOnly && !(selection >= 0 && store.Item(selection).text == state.editText))
            index = store.FindExact(state.editText);
        if (numbers) return std::to_string(index + 1);
        return index < 0 ? std::string() : store.Item(index).customer.row;
    }
    case ItemsMode::Other:
        break;
    }
    return std::nullopt;
}

std::string ListBoxValue(const ListItemStore& store, const std::string& resultMode, const std::vector<int>& selected,
                         bool multiSelect) {
    std::vector<std::string> parts;
    if (store.Mode() != ItemsMode::Other && (resultMode == "0" || resultMode == "1")) {
        for (int index : selected) {
            if (index < 0 || index >= store.Count()) continue;
            if (resultMode == "0")
                parts.push_back(std::to_string(index + 1));
            else
                parts.push_back(store.Mode() == ItemsMode::String ? store.Item(index).text : store.Item(index).customer.row);
            if (!multiSelect) break;
        }
    }
    return JoinLines(parts);
}

} // namespace qor
