#pragma once
// The commands of the key managers and the texts derived from them.
//
// A command is known by its first character: "*" a script line, ":" a
// subroutine, "|" a click on a host object, "^" text to paste (global
// manager only); anything else is opened through the shell.
#include <cstdint>
#include <string>

namespace qor {

enum class KeyCommandKind { Script, Subroutine, Click, Paste, Open };

// pasteAllowed false: the local manager, which opens "^..." like any other text.
KeyCommandKind CommandKindOf(const std::string& command, bool pasteAllowed);
// The command without its first character (the whole command for Open).
std::string CommandArgument(const std::string& command, KeyCommandKind kind);

// What the global manager's display list shows for a command.
std::string CommandDisplayForm(const std::string& command);
// The text a paste command types: the leading "^" removed and every "{#10}"
// (any letter case) a CR LF.
std::string PasteText(const std::string& command);

// The canonical shortcut text of a key press: the held modifiers and the key,
// nothing when the key is a modifier itself (Ctrl, Alt or Shift by name).
std::string KeyEventText(uint32_t keyCode, bool ctrl, bool alt, bool shift);

} // namespace qor
