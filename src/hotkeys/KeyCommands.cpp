#include "hotkeys/KeyCommands.h"

#include "core/AnsiText.h"
#include "core/ValueEncodings.h"
#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

constexpr char kLineBreakMark[] = "{#10}";
constexpr int kDisplayedPieces = 15;

bool IsModifierName(const std::string& name) {
    return SameNameAscii(name, "Ctrl") || SameNameAscii(name, "Alt") || SameNameAscii(name, "Shift");
}

} // namespace

KeyCommandKind CommandKindOf(const std::string& command, bool pasteAllowed) {
    if (command.empty()) return KeyCommandKind::Open;
    switch (command[0]) {
    case '*': return KeyCommandKind::Script;
    case ':': return KeyCommandKind::Subroutine;
    case '|': return KeyCommandKind::Click;
    case '^': return pasteAllowed ? KeyCommandKind::Paste : KeyCommandKind::Open;
    }
    return KeyCommandKind::Open;
}

std::string CommandArgument(const std::string& command, KeyCommandKind kind) {
    return kind == KeyCommandKind::Open || command.empty() ? command : command.substr(1);
}

std::string CommandDisplayForm(const std::string& command) {
    const KeyCommandKind kind = CommandKindOf(command, true);
    if (kind != KeyCommandKind::Paste) return CommandArgument(command, kind);
    const std::string text = ReplaceText(command.substr(1), kLineBreakMark, " ", true, true);
    // Pieces end at every blank and every line break (CR LF being one).
    std::string shown;
    int pieces = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size() && pieces < kDisplayedPieces; ++i) {
        const bool end = i == text.size();
        const char c = end ? '\0' : text[i];
        if (!end && c != ' ' && c != '\r' && c != '\n') continue;
        shown.append(text, start, i - start);
        shown += ' ';
        ++pieces;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown;
}

std::string PasteText(const std::string& command) {
    const std::string text = !command.empty() && command[0] == '^' ? command.substr(1) : command;
    return ReplaceText(text, kLineBreakMark, "\r\n", true, true);
}

std::string KeyEventText(uint32_t keyCode, bool ctrl, bool alt, bool shift) {
    std::string text;
    if (ctrl) text += "Ctrl+";
    if (alt) text += "Alt+";
    if (shift) text += "Shift+";
    const std::string name = KeyName(keyCode);
    if (!IsModifierName(name)) text += name;
    return ShortCutToText(TextToShortCut(text));
}

} // namespace qor
