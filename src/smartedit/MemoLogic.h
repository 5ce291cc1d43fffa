#pragma once
// The SmartEdit's platform-free rules: its command words, its information
// items and the scroll-bar and alignment codes, and the line splitting of its
// text.
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

} // namespace qor
