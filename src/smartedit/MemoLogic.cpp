#include "smartedit/MemoLogic.h"

namespace qor {

namespace {

struct CommandWord {
    const char* word;
    MemoCommand command;
};

const CommandWord kCommandWords[] = {
    {"cut", MemoCommand::Cut},
    {"copy", MemoCommand::Copy},
    {"paste", MemoCommand::Paste},
    {"delete", MemoCommand::Delete},
    {"select all", MemoCommand::SelectAll},
    {"undo", MemoCommand::Undo},
    {"redo", MemoCommand::Redo},
    {"clear undo", MemoCommand::ClearUndo},
    {"deselect all", MemoCommand::DeselectAll},
    {"clear", MemoCommand::Clear},
    {"scroll to caret", MemoCommand::ScrollToCaret},
    {"scroll line", MemoCommand::ScrollLine},
    {"select text", MemoCommand::SelectText},
    {"set caret pos", MemoCommand::SetCaretPos},
};

} // namespace

MemoCommand MemoCommandFromWord(const std::string& word) {
    for (const auto& entry : kCommandWords)
        if (word == entry.word) return entry.command;
    return MemoCommand::Unknown;
}

const char* MemoCommandWordForAction(int id) {
    switch (id) {
    case 29: return "undo";
    case 30: return "redo";
    case 31: return "clear undo";
    case 32: return "cut";
    case 33: return "copy";
    case 34: return "paste";
    case 35: return "delete";
    case 36: return "select all";
    case 37: return "deselect all";
    case 38: return "clear";
    case 39: return "scroll to caret";
    case 40: return "scroll line";
    case 41: return "select text";
    case 43: return "set caret pos";
    }
    return "";
}

int MemoInfoItemFromText(const std::string& text) {
    const auto& names = MemoInfoItemNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (text == std::to_string(i)) return static_cast<int>(i);
    return -1;
}

const std::vector<std::string>& MemoInfoItemNames() {
    static const std::vector<std::string> names = {
        "SelectedText",   "Text",           "FirstVisibleLineNo", "IsReadOnly",
        "HideSelection",  "IsWordWrap",     "CaretPositionX",     "CaretPositionY",
        "Handle",         "SelectionStart", "SelectionLength",    "ScrollBars",
    };
    return names;
}

MemoScrollBars MemoScrollBarsFromCode(const std::string& code) {
    if (code == "0") return MemoScrollBars::Vertical;
    if (code == "1") return MemoScrollBars::Horizontal;
    if (code == "2") return MemoScrollBars::None;
    if (code == "3") return MemoScrollBars::Both;
    return MemoScrollBars::Keep;
}

std::string MemoScrollBarsName(bool horizontal, bool vertical) {
    if (horizontal && vertical) return "Both";
    if (horizontal) return "Horizontal";
    if (vertical) return "Vertical";
    return "No Scroll";
}

MemoAlignment MemoAlignmentFromCode(const std::string& code) {
    if (code == "0") return MemoAlignment::Center;
    if (code == "1") return MemoAlignment::Left;
    if (code == "2") return MemoAlignment::Right;
    return MemoAlignment::Keep;
}

std::string WithoutFinalLineBreak(std::string text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

std::vector<std::string_view> SplitEditLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        const size_t hit = text.find("\r\n", start);
        if (hit == std::string_view::npos) break;
        lines.push_back(text.substr(start, hit - start));
        start = hit + 2;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

} // namespace qor
