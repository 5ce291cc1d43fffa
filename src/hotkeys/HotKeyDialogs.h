#pragma once
// Editing-dialog tables of the hot key field and the two key managers.
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

// The file dialog of the load and save actions (ids 3, 4, 66, 67, 70, 71): the
// file field and the decrypt or encrypt check box.
DialogSpec HotKeyFileDialog(int32_t id);

} // namespace qor
