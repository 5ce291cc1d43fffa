#pragma once
// The search over plain item texts (items without rows) that list-like kinds
// whose items are single texts share: the SmartEdit's lines and the
// CheckListBox's items.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

// The text of the item at a position; the view must stay valid until the
// next call.
using ItemTextAt = std::function<std::string_view(int)>;

// Extended search over plain item texts. Returns the one-based numbers of the
// matches in decimal: search-in "0" with match "0" (equal ignoring case) or
// "1" (contains ignoring case); every other combination matches nothing.
// Search-in "1" is handled by the caller.
std::vector<std::string> FindPlainMatches(int count, const ItemTextAt& itemText, const std::string& searchIn,
                                          const std::string& match, const std::string& text);

// find item: the number of the first item equal to text ignoring letter case
// (both sides lowered), or "0".
std::string FindPlainItem(int count, const ItemTextAt& itemText, const std::string& text);

} // namespace qor
