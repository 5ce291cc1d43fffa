#pragma once
// Multi-line texts as the host passes them: lines end at CR, LF or CR LF, and
// lists are written back joined by CR LF without a final line break.
#include <string>
#include <vector>

namespace qor {

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

} // namespace qor
