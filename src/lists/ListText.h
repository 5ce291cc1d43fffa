#pragma once
// Text rules shared by the list controls: line splitting, the row rule of
// Array mode, duplicate removal and the letter-case comparisons.
#include <string>
#include <vector>

namespace qor {

enum class ItemsMode { String, Array, Other };
// "0" String, "1" Array, any other text neither (compared as text).
ItemsMode ItemsModeOf(const std::string& text);

// CR, LF and CR LF end a line; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
// Calls line(start, length) for each line of text, as SplitLines splits it.
template <typename LineFn>
void ForEachLine(const std::string& text, LineFn&& line) {
    const size_t n = text.size();
    size_t start = 0, i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            line(start, i - start);
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) line(start, n - start);
}

// Lines joined by CR LF, without a final line break.
std::string JoinLines(const std::vector<std::string>& lines);

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
