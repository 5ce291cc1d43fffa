#pragma once
// The texts the dialog actions read and write: options lists, the file
// dialogs' parameters and results, the folder dialog's title and the colour
// dialog's custom colour list. Failures throw ScriptError with the message
// the script author sees.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qor {

// A flag text (as the flag parameters read), false when it does not read.
bool FlagOrFalse(const std::string& text);

// Comma-separated flag texts (blanks around an item are ignored); item i switches option i on. Missing items and
// items that do not read as flags count as false; extra items are ignored.
std::vector<bool> ReadOptionList(const std::string& list, size_t count);

// The default extension without one leading ".".
std::string DefaultExtensionOf(const std::string& extension);
// The longest path the system's dialogs take, its terminating zero included.
constexpr size_t kPathLimit = 260;
// A folder the dialogs may start in: one that does not fit the path limit is
// left out (empty), as a folder that does not exist is.
std::string StartFolderOf(const std::string& folder);
// The initial folder without a trailing backslash, unless it follows a drive
// colon ("C:\" stays); empty when it does not fit the path limit.
std::string InitialFolderOf(const std::string& folder);
// "Text files|*.txt|Any File|*.*" as the system wants it: every part ends
// with a zero byte and a second one ends the list. Empty for no filter.
std::string FilterBlockOf(const std::string& filter);
// The chosen files of a file dialog's result buffer as full paths joined by
// ";". With the explorer look a multiple selection is the folder and the
// names, each ending with a zero byte; the old look separates them by blanks.
// A single choice is the full path. fileOffset is where the dialog says the
// (first) name starts: a multiple selection has its separator just before it,
// a single choice a part of its path, so leftover bytes of a longer initial
// name behind a single choice are never read as more files.
std::string ChosenFilesOf(const char* buffer, size_t size, bool multiSelect, bool explorerLook, size_t fileOffset);

// The folder dialog's text above the tree: the title, and the status text on
// a second line when there is one.
std::string FolderDialogTitle(const std::string& title, const std::string& status);

// Sixteen custom colour slots "ColorA" to "ColorP"; -1 is an unused slot.
using CustomColors = std::array<int32_t, 16>;
// Lines "Color" + letter + "=" + hexadecimal value (names compared without
// regard to A-Z case, the first line of a name counts). Slots without a line,
// or with an empty value, get -1. A value that is not hexadecimal fails with
// "'<value>' is not a valid integer value".
CustomColors ReadCustomColors(const std::string& list);
// The same list read line by line for a chooser to start from: a value that is
// not hexadecimal leaves only its own slot unused (-1) and fails nothing.
CustomColors ReadCustomColorsLeniently(const std::string& list);
// The list again: the lines given keep their place with the new values, the
// slots that had no line are appended in letter order, other lines stay.
// Lines are joined by CR LF without a final line break.
std::string WriteCustomColors(const std::string& list, const CustomColors& colors);
// A slot's value as lower-case hexadecimal of at least six digits, negative
// values as their 32-bit two's complement (-1 is "ffffffff").
std::string CustomColorText(int32_t color);

} // namespace qor
