#pragma once
// The SmartEdit's platform-free rules: its command words, its information
// items and the scroll-bar and alignment codes, and the search over plain
// item texts that the SmartEdit and the CheckListBox share.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qor {

// The editing commands that actions 29 to 41 and 43 reach.
enum class MemoCommand {
    Unknown,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Undo,
    Redo,
    ClearUndo,
    DeselectAll,
    Clear,
    ScrollToCaret,
    ScrollLine,
    SelectText,
    SetCaretPos,
};

// The exact (case-sensitive) word; anything else is Unknown.
MemoCommand MemoCommandFromWord(const std::string& word);
// The fixed word that a command action passes ("" for other ids).
const char* MemoCommandWordForAction(int id);

// GetInfo: the item number as text ("0" to "11") or -1 for any other text.
int MemoInfoItemFromText(const std::string& text);
// Names of the items as the editing dialog lists them, in number order.
const std::vector<std::string>& MemoInfoItemNames();

enum class MemoScrollBars { Vertical, Horizontal, None, Both, Keep };
// "0" vertical, "1" horizontal, "2" none, "3" both, anything else keeps.
MemoScrollBars MemoScrollBarsFromCode(const std::string& code);
// "Vertical", "Horizontal", "No Scroll" or "Both".
std::string MemoScrollBarsName(bool horizontal, bool vertical);

enum class MemoAlignment { Center, Left, Right, Keep };
// "0" centred, "1" left, "2" right, anything else keeps.
MemoAlignment MemoAlignmentFromCode(const std::string& code);

// The whole text as get item -1 writes it: without one final CR LF.
std::string WithoutFinalLineBreak(std::string text);

// Splits a text at CR LF only, as an edit control that does not wrap breaks
// its lines; an empty last line (after a final CR LF, or of an empty text) is
// not counted. The lines are views into `text`.
std::vector<std::string_view> SplitEditLines(std::string_view text);

// The text of the item at a position; the view must stay valid until the
// next call.
using ItemTextAt = std::function<std::string_view(int)>;

// Extended search over plain item texts (items without rows). Returns the
// one-based numbers of the matches in decimal: search-in "0" with match "0"
// (equal ignoring case) or "1" (contains ignoring case); every other
// combination matches nothing. Search-in "1" is handled by the caller.
std::vector<std::string> FindPlainMatches(int count, const ItemTextAt& itemText, const std::string& searchIn,
                                          const std::string& match, const std::string& text);

// find item: the number of the first item equal to text ignoring letter case
// (both sides lowered), or "0".
std::string FindPlainItem(int count, const ItemTextAt& itemText, const std::string& text);

} // namespace qor
