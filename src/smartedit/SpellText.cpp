#include "smartedit/SpellText.h"

#include <algorithm>
#include <cmath>

#include "core/AnsiText.h"

namespace qor {

namespace {

// The 36 delimiters, as 8-bit codes.
constexpr unsigned char kDelimiters[] = {
    0x2E, 0x3B, 0x2C, 0x3A, 0x21, 0xB7, 0x22, 0x5E, 0x2B, 0x2D, 0x2A, 0x2F, 0x5C, 0xA8, 0x20, 0x09, 0x60, 0x5B,
    0x5D, 0x28, 0x29, 0xBA, 0xAA, 0x7B, 0x7D, 0x3F, 0xBF, 0x25, 0x3D, 0x3C, 0x3E, 0x24, 0x40, 0x7C, 0x7E, 0x26,
};
static_assert(sizeof kDelimiters == 36, "the word delimiters are 36 bytes");

struct DelimiterTable {
    bool is[256] = {};
    DelimiterTable() {
        for (unsigned char c : kDelimiters) is[c] = true;
    }
};

const DelimiterTable& Delimiters() {
    static const DelimiterTable table;
    return table;
}

bool IsQuote(char c) { return c == '\''; }

bool IsUpperLetter(char c) { return AnsiLowerChar(c) != c; }

} // namespace

bool IsWordDelimiter(char c) { return Delimiters().is[static_cast<unsigned char>(c)]; }

std::vector<WordSpan> SplitWords(std::string_view line) {
    std::vector<WordSpan> words;
    const DelimiterTable& table = Delimiters();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && table.is[static_cast<unsigned char>(line[i])]) ++i;
        const size_t start = i;
        while (i < line.size() && !table.is[static_cast<unsigned char>(line[i])]) ++i;
        if (i > start) words.push_back({start, i - start});
    }
    return words;
}

WordSpan StripEnclosingQuotes(std::string_view line, WordSpan word) {
    if (word.length > 2 && IsQuote(line[word.start]) && IsQuote(line[word.start + word.length - 1]))
        return {word.start + 1, word.length - 2};
    return word;
}

WordSpan WordAtColumn(std::string_view line, size_t column) {
    if (column > line.size()) return {column, 0};
    size_t start = column;
    while (start > 0 && !IsWordDelimiter(line[start - 1])) --start;
    size_t end = column;
    while (end < line.size() && !IsWordDelimiter(line[end])) ++end;
    WordSpan word{start, end - start};
    if (end < line.size() && word.length >= 2 && IsQuote(line[start]) && IsQuote(line[end - 1]))
        word = {start + 1, word.length - 2};
    return word;
}

bool IgnoredWord(std::string_view word, bool ignoreWordsWithNumbers, bool ignoreAllCaps) {
    if (ignoreWordsWithNumbers)
        for (char c : word)
            if (c >= '0' && c <= '9') return true;
    if (ignoreAllCaps && !word.empty()) {
        for (char c : word)
            if (!IsUpperLetter(c)) return false;
        return true;
    }
    return false;
}

uint32_t CodePageOfEncoding(std::string_view encoding, uint32_t ansiCodePage) {
    struct Entry {
        const char* name;
        uint32_t codePage;
    };
    static const Entry kTable[] = {
        {"utf8", 65001},         {"utf-8", 65001},        {"iso-8859-1", 28591},  {"iso8859-1", 28591},
        {"iso-8859-2", 28592},   {"iso8859-2", 28592},    {"iso-8859-3", 28593},  {"iso8859-3", 28593},
        {"iso-8859-4", 28594},   {"iso8859-4", 28594},    {"iso-8859-5", 28595},  {"iso8859-5", 28595},
        {"iso-8859-6", 28596},   {"iso8859-6", 28596},    {"iso-8859-7", 28597},  {"iso8859-7", 28597},
        {"iso-8859-8", 28598},   {"iso8859-8", 28598},    {"iso-8859-9", 28599},  {"iso8859-9", 28599},
        {"iso-8859-13", 28603},  {"iso8859-13", 28603},   {"iso-8859-15", 28605}, {"iso8859-15", 28605},
        {"koi8-r", 20866},
    };
    std::string lowered(encoding);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const Entry& entry : kTable)
        if (lowered == entry.name) return entry.codePage;
    return ansiCodePage;
}

bool SameCodePage(uint32_t dictionaryCodePage, uint32_t ansiCodePage) {
    return dictionaryCodePage == ansiCodePage || (dictionaryCodePage == 28591 && ansiCodePage == 1252);
}

std::vector<std::string> SplitSpellOptions(const std::string& text) {
    std::vector<std::string> options(4);
    size_t index = 0, start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        if (index < options.size()) options[index] = text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
        ++index;
    }
    return options;
}

std::vector<ZigzagPoint> ZigzagPoints(int start, int end, int baseLine, int step) {
    std::vector<ZigzagPoint> points;
    if (end < start || step < 1) return points;
    points.reserve(static_cast<size_t>((end - start) / step + 1));
    bool down = false;
    for (int x = start; x <= end; x += step, down = !down) points.push_back({x, baseLine + (down ? step : 0)});
    return points;
}

void PaintZigzag(uint32_t* pixels, size_t stride, const PixelRect& clip, int start, int end, int baseLine,
                 uint32_t color, int step) {
    if (step < 1 || end - start < step) return;
    // The last point ends the last segment and is not drawn.
    const int last = start + (end - start) / step * step;
    for (int x = std::max(start, clip.left); x < std::min(last, clip.right); ++x) {
        // Down from the base line over `step` pixels, then up again.
        const int phase = (x - start) % (2 * step);
        const int y = baseLine + (phase <= step ? phase : 2 * step - phase);
        if (y >= clip.top && y < clip.bottom) pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = color;
    }
}

int ZigzagBaseLine(int top, int textHeight, int borderMargin) {
    const int lift = textHeight > 0 ? static_cast<int>(std::lround(20.0 / textHeight)) : 0;
    return top + textHeight - borderMargin - lift;
}

std::vector<SpellMenuEntry> SpellMenuEntries(const std::string& word, bool correct,
                                             const std::vector<std::string>& suggestions, bool addMenu,
                                             bool customDic) {
    std::vector<SpellMenuEntry> entries;
    if (correct) return entries;
    for (const std::string& suggestion : suggestions)
        entries.push_back({SpellMenuAction::Replace, suggestion, "|Change word to \"" + suggestion + "\""});
    if (!addMenu) return entries;
    entries.push_back({SpellMenuAction::Separator, "-", ""});
    entries.push_back({SpellMenuAction::Ignore, "Ignore \"" + word + "\"", "|Ignore all occurrences of \"" + word + "\""});
    if (customDic)
        entries.push_back({SpellMenuAction::Add, "Add \"" + word + "\"", "|Add \"" + word + "\" to the custom dictionary"});
    return entries;
}

std::string WithoutAmpersands(std::string caption) {
    std::string out;
    out.reserve(caption.size());
    for (char c : caption)
        if (c != '&') out += c;
    return out;
}

bool LooksLikeDictionary(std::string_view firstBytes) {
    if (firstBytes.substr(0, 3) == "\xEF\xBB\xBF") firstBytes.remove_prefix(3);
    size_t i = 0;
    while (i < firstBytes.size() && firstBytes[i] >= '0' && firstBytes[i] <= '9') ++i;
    if (i == 0) return false;
    for (; i < firstBytes.size(); ++i) {
        const char c = firstBytes[i];
        if (c == '\r' || c == '\n') return true;
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

std::vector<std::string> ParseWordList(std::string_view text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) words.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return words;
}

std::vector<std::string> MergeWordLists(std::vector<std::string> saved, const std::vector<std::string>& added) {
    for (const std::string& word : added)
        if (std::find(saved.begin(), saved.end(), word) == saved.end()) saved.push_back(word);
    return saved;
}

std::string FormatWordList(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += word + "\r\n";
    return text;
}

} // namespace qor
