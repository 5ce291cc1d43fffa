#pragma once
namespace qor {

// The seven kinds of attached control; each has its own registry list.
enum class ControlKind { HotKey, DropDown, ListBox, SmartEdit, FileDragDrop, TrackBar, CheckListBox };
constexpr int kControlKindCount = 7;

// The words that name a kind in "There is no ... control attached to ..." messages
// of the remove actions.
const char* RemoveKindWords(ControlKind kind);

} // namespace qor
