#pragma once
// The spell checker's platform-free rules: how words are cut out of a line,
// which words count as correct without asking the engine, the code page of a
// dictionary's encoding name, the option list of the activation action, the
// zigzag's geometry, the right-click menu's entries and the plain-text files
// it reads (a dictionary's first line, the custom word list).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

// One of the 36 bytes that end a word (the apostrophe and the digits do not).
bool IsWordDelimiter(char c);

// A word of a line: its byte offset and length.
struct WordSpan {
    size_t start = 0;
    size_t length = 0;
    bool operator==(const WordSpan& other) const { return start == other.start && length == other.length; }
};

// The maximal runs of non-delimiters of one line, in order.
std::vector<WordSpan> SplitWords(std::string_view line);

// What is checked and underlined of a word: one pair of enclosing single
// quotes comes off when the word is longer than two characters and starts and
// ends with "'".
WordSpan StripEnclosingQuotes(std::string_view line, WordSpan word);

// The word that holds the caret column for the right-click menu: the run of
// non-delimiters around the column; its enclosing quotes come off when at
// least one more character follows the run on the line. Empty when the
// column touches no word.
WordSpan WordAtColumn(std::string_view line, size_t column);

// Checking options that make a word correct without the engine: a word with a
// digit, or a word whose every character is an upper-case letter.
bool IgnoredWord(std::string_view word, bool ignoreWordsWithNumbers, bool ignoreAllCaps);

// The code page of a dictionary's encoding name (compared without regard to
// case); `ansiCodePage` for any name the table does not know.
uint32_t CodePageOfEncoding(std::string_view encoding, uint32_t ansiCodePage);
// Texts pass unchanged when the dictionary's code page is the system's, or
// ISO-8859-1 on a Windows-1252 system.
bool SameCodePage(uint32_t dictionaryCodePage, uint32_t ansiCodePage);

// The activation's option list: up to four texts cut at every ",", the
// missing ones empty.
std::vector<std::string> SplitSpellOptions(const std::string& text);

// The zigzag from x `start` to `end` in steps of `step` pixels (2 at 96 DPI,
// more at higher DPIs), alternately on the base line and `step` pixels below
// it, as a polyline's points.
struct ZigzagPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ZigzagPoint& other) const { return x == other.x && y == other.y; }
};
std::vector<ZigzagPoint> ZigzagPoints(int start, int end, int baseLine, int step = 2);
// The pixels a 1-pixel polyline through ZigzagPoints(start, end, baseLine, step)
// sets (each segment without its end point), set to `color` in a top-down
// image of `stride` pixels a row, inside `clip` (right and bottom excluded).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
void PaintZigzag(uint32_t* pixels, size_t stride, const PixelRect& clip, int start, int end, int baseLine,
                 uint32_t color, int step = 2);
// The base line of a line whose top is `top`: its bottom less the border
// margin, less 20 divided by the text height rounded to the nearest integer.
int ZigzagBaseLine(int top, int textHeight, int borderMargin);

// One entry of the right-click menu of a misspelt word.
enum class SpellMenuAction { Replace, Separator, Ignore, Add };
struct SpellMenuEntry {
    SpellMenuAction action = SpellMenuAction::Replace;
    std::string caption;
    std::string hint;
};
// The entries for `word`: none when it is correct; otherwise one per
// suggestion, then, with the Add/Ignore menu on, a separator, "Ignore" and,
// with the custom word list on, "Add".
std::vector<SpellMenuEntry> SpellMenuEntries(const std::string& word, bool correct,
                                             const std::vector<std::string>& suggestions, bool addMenu,
                                             bool customDic);
// A menu caption with every "&" removed, as the replacement takes it.
std::string WithoutAmpersands(std::string caption);

// A dictionary (".dic") starts with its entry count: a decimal number,
// possibly after a UTF-8 byte order mark, alone or followed by blanks.
bool LooksLikeDictionary(std::string_view firstBytes);

// The custom word list file: one word per line (CR LF, LF or CR), empty lines
// left out; written back with CR LF after every word.
std::vector<std::string> ParseWordList(std::string_view text);
std::string FormatWordList(const std::vector<std::string>& words);
// The words of a saved list followed by the added words it lacks: the saved
// order is kept and no word appears twice.
std::vector<std::string> MergeWordLists(std::vector<std::string> saved, const std::vector<std::string>& added);

} // namespace qor
