#pragma once
// Editing-dialog tables of the hot key field and the two key managers.
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

// The file dialog of the load and save actions (ids 3, 4, 66, 67, 70, 71): the
// file field and the decrypt or encrypt check box.
DialogSpec HotKeyFileDialog(int32_t id);

// The hot key field's create, remove and set dialogs (ids 1, 2, 23).
DialogSpec HotKeyFieldDialog(int32_t id);

// The add and delete dialogs of the global (64, 65) and local (68, 69) managers.
DialogSpec KeyManagerDialog(int32_t id);

// The local manager's key field: the text a key-down shows (the pressed
// modifiers, then the key's name unless it is a modifier), and the canonical
// text it becomes at key-up.
std::string KeyDownText(uint32_t keyCode, bool ctrl, bool alt, bool shift);
std::string KeyUpText(const std::string& text);

} // namespace qor
