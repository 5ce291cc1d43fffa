#include "lists/PlainItemSearch.h"

#include "core/AnsiText.h"

namespace qor {

std::vector<std::string> FindPlainMatches(int count, const ItemTextAt& itemText, const std::string& searchIn,
                                          const std::string& match, const std::string& text) {
    std::vector<std::string> results;
    if (searchIn != "0" || (match != "0" && match != "1")) return results;
    const bool exact = match == "0";
    // An empty text is contained in nothing (as a substring search reports it).
    if (!exact && text.empty()) return results;
    // Both comparisons fold the text to find once, not once per item.
    const std::string lowered = AnsiLowerCase(text);
    const std::string raised = AnsiUpperCase(text);
    for (int i = 0; i < count; ++i) {
        const std::string_view item = itemText(i);
        if (exact ? LowersTo(item, lowered) : RaisedContains(item, raised)) results.push_back(std::to_string(i + 1));
    }
    return results;
}

std::string FindPlainItem(int count, const ItemTextAt& itemText, const std::string& text) {
    const std::string lowered = AnsiLowerCase(text);
    for (int i = 0; i < count; ++i)
        if (LowersTo(itemText(i), lowered)) return std::to_string(i + 1);
    return "0";
}

} // namespace qor
