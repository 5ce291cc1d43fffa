#include "dialogs/DialogValues.h"

#include <cstdio>

#include "core/AnsiText.h"
#include "core/ScriptError.h"
#include "core/TextLines.h"
#include "core/ValueEncodings.h"

namespace qor {

namespace {

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

constexpr size_t kSlotCount = std::tuple_size<CustomColors>::value;

std::string SlotName(size_t slot) { return std::string("Color") + static_cast<char>('A' + slot); }

// The slot a line names ("ColorA=..." to "ColorP=...", A-Z case ignored), or -1.
int SlotOfLine(const std::string& line, std::string& value) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return -1;
    const std::string name = line.substr(0, equals);
    for (size_t slot = 0; slot < kSlotCount; ++slot) {
        if (SameNameAscii(name, SlotName(slot))) {
            value = line.substr(equals + 1);
            return static_cast<int>(slot);
        }
    }
    return -1;
}

} // namespace

bool FlagOrFalse(const std::string& text) {
    try {
        return TextToFlag(text);
    } catch (const ScriptError&) {
        return false;
    }
}

std::vector<bool> ReadOptionList(const std::string& list, size_t count) {
    std::vector<bool> options(count, false);
    size_t start = 0;
    for (size_t i = 0; i < count && start <= list.size(); ++i) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        options[i] = FlagOrFalse(TrimBlanks(list.substr(start, comma - start)));
        start = comma + 1;
    }
    return options;
}

std::string DefaultExtensionOf(const std::string& extension) {
    return !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
}

std::string StartFolderOf(const std::string& folder) { return folder.size() < kPathLimit ? folder : std::string(); }

std::string InitialFolderOf(const std::string& folder) {
    const size_t n = folder.size();
    if (n == 0 || folder[n - 1] != '\\') return StartFolderOf(folder);
    if (n >= 2 && folder[n - 2] == ':') return StartFolderOf(folder);
    return StartFolderOf(folder.substr(0, n - 1));
}

std::string FilterBlockOf(const std::string& filter) {
    if (filter.empty()) return {};
    std::string block = filter;
    for (char& c : block)
        if (c == '|') c = '\0';
    block.push_back('\0');
    block.push_back('\0');
    return block;
}

std::string ChosenFilesOf(const char* buffer, size_t size, bool multiSelect, bool explorerLook, size_t fileOffset) {
    std::vector<std::string> parts;
    const char between = explorerLook ? '\0' : ' ';
    if (multiSelect && fileOffset > 0 && fileOffset <= size && buffer[fileOffset - 1] != between)
        multiSelect = false; // one file: its full path up to the first zero
    if (multiSelect && explorerLook) {
        size_t pos = 0;
        while (pos < size && buffer[pos]) {
            size_t end = pos;
            while (end < size && buffer[end]) ++end;
            parts.emplace_back(buffer + pos, end - pos);
            pos = end + 1;
        }
    } else {
        size_t end = 0;
        while (end < size && buffer[end]) ++end;
        const std::string text(buffer, end);
        if (!multiSelect) return text;
        size_t pos = 0;
        while (pos <= text.size()) {
            size_t blank = text.find(' ', pos);
            if (blank == std::string::npos) blank = text.size();
            if (blank > pos) parts.push_back(text.substr(pos, blank - pos));
            pos = blank + 1;
        }
    }
    if (parts.size() <= 1) return parts.empty() ? std::string() : parts[0];
    const std::string& folder = parts[0];
    const std::string separator = !folder.empty() && folder.back() == '\\' ? "" : "\\";
    std::string joined;
    for (size_t i = 1; i < parts.size(); ++i) {
        if (i > 1) joined += ';';
        joined += folder + separator + parts[i];
    }
    return joined;
}

std::string FolderDialogTitle(const std::string& title, const std::string& status) {
    return status.empty() ? title : title + "\r\n" + status;
}

namespace {

CustomColors ReadColors(const std::string& list, bool lenient) {
    CustomColors colors;
    colors.fill(-1);
    std::vector<bool> seen(kSlotCount, false);
    for (const std::string& line : SplitLines(list)) {
        std::string value;
        const int slot = SlotOfLine(line, value);
        if (slot < 0 || seen[slot]) continue;
        seen[slot] = true;
        if (value.empty()) continue;
        int32_t color = 0;
        if (TryTextToInt("$" + value, color))
            colors[slot] = color;
        else if (!lenient)
            throw ScriptError("'" + value + "' is not a valid integer value");
    }
    return colors;
}

} // namespace

CustomColors ReadCustomColors(const std::string& list) { return ReadColors(list, false); }

CustomColors ReadCustomColorsLeniently(const std::string& list) { return ReadColors(list, true); }

std::string WriteCustomColors(const std::string& list, const CustomColors& colors) {
    std::vector<std::string> lines = SplitLines(list);
    std::vector<bool> written(kSlotCount, false);
    for (std::string& line : lines) {
        std::string value;
        const int slot = SlotOfLine(line, value);
        if (slot < 0 || written[slot]) continue;
        written[slot] = true;
        line = SlotName(slot) + "=" + CustomColorText(colors[slot]);
    }
    for (size_t slot = 0; slot < kSlotCount; ++slot)
        if (!written[slot]) lines.push_back(SlotName(slot) + "=" + CustomColorText(colors[slot]));
    return JoinLines(lines);
}

std::string CustomColorText(int32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "%.6x", static_cast<unsigned>(static_cast<uint32_t>(color)));
    return text;
}

} // namespace qor
