#include "lists/ListText.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "core/AnsiText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qor {

ItemsMode ItemsModeOf(const std::string& text) {
    if (text == "0") return ItemsMode::String;
    if (text == "1") return ItemsMode::Array;
    return ItemsMode::Other;
}

std::vector<std::string> RemoveDuplicateLines(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    std::unordered_set<std::string> seen;
    seen.reserve(lines.size());
    for (const auto& line : lines)
        if (seen.insert(AnsiLowerCase(line)).second) kept.push_back(line);
    return kept;
}

std::vector<std::string> RowFields(const std::string& row, const std::string& delimiter) {
    if (delimiter.empty()) return SplitLines(row);
    std::string broken;
    broken.reserve(row.size());
    size_t pos = 0;
    for (;;) {
        const size_t hit = row.find(delimiter, pos);
        if (hit == std::string::npos) break;
        broken.append(row, pos, hit - pos);
        broken += "\r\n";
        pos = hit + delimiter.size();
    }
    broken.append(row, pos, std::string::npos);
    return SplitLines(broken);
}

namespace {

bool HasLineBreak(const std::string& text) {
    return std::memchr(text.data(), '\r', text.size()) || std::memchr(text.data(), '\n', text.size());
}

} // namespace

std::string RowDisplayText(const std::string& row, const std::string& delimiter, int column) {
    if (column < 0) return row;
    // Common case without line breaks: the fields lie between delimiters, and
    // a delimiter at the very end adds no field.
    if (!delimiter.empty() && !HasLineBreak(row) && !HasLineBreak(delimiter)) {
        size_t start = 0;
        for (int field = 0; field < column; ++field) {
            const size_t hit = row.find(delimiter, start);
            if (hit == std::string::npos) return row;
            start = hit + delimiter.size();
        }
        if (start >= row.size()) return row; // nothing after the last delimiter: no such field
        const size_t end = row.find(delimiter, start);
        return row.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    std::vector<std::string> fields = RowFields(row, delimiter);
    if (static_cast<size_t>(column) >= fields.size()) return row;
    return std::move(fields[column]);
}

bool SameTextLowered(const std::string& a, const std::string& b) {
    return a.size() == b.size() && AnsiLowerCase(a) == AnsiLowerCase(b);
}

bool ContainsTextUpper(const std::string& text, const std::string& part) {
    return AnsiUpperCase(text).find(AnsiUpperCase(part)) != std::string::npos;
}

int CompareListTexts(const std::string& a, const std::string& b) {
#ifdef _WIN32
    const int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                                 static_cast<int>(b.size()));
    if (r != 0) return r - CSTR_EQUAL;
#endif
    const std::string la = AnsiLowerCase(a), lb = AnsiLowerCase(b);
    return la < lb ? -1 : (lb < la ? 1 : 0);
}

} // namespace qor
