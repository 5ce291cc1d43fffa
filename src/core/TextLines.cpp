#include "core/TextLines.h"

namespace qor {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](size_t start, size_t length) { lines.emplace_back(text, start, length); });
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string joined;
    joined.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) joined += "\r\n";
        joined += lines[i];
    }
    return joined;
}

} // namespace qor
