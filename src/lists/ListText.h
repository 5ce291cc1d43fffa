#pragma once
// Text rules shared by the list controls: line splitting, the row rule of
// Array mode, duplicate removal and the letter-case comparisons.
#include <string>
#include <vector>

#include "core/TextLines.h"

namespace qor {

enum class ItemsMode { String, Array, Other };
// "0" String, "1" Array, any other text neither (compared as text).
ItemsMode ItemsModeOf(const std::string& text);

// Keeps the first occurrence of each line, comparing lowered texts.
std::vector<std::string> RemoveDuplicateLines(const std::vector<std::string>& lines);

// The row rule: the delimiter (matched with letter case) becomes a line
// break and the result is split like lines. An empty delimiter keeps the row whole.
std::vector<std::string> RowFields(const std::string& row, const std::string& delimiter);
// Field `column` of the row, or the whole row when there is no such field.
std::string RowDisplayText(const std::string& row, const std::string& delimiter, int column);

// Equal ignoring letter case: both sides lowered with the ANSI mapping.
bool SameTextLowered(const std::string& a, const std::string& b);
// Contains ignoring letter case: both sides raised with the ANSI mapping.
bool ContainsTextUpper(const std::string& text, const std::string& part);

// Order of a sorted list: alphabetical without regard to letter case, as
// the system's list controls sort (on Windows through CompareString).
int CompareListTexts(const std::string& a, const std::string& b);

} // namespace qor
