#pragma once
// Editing-dialog tables of the check list actions (ids 51 to 56).
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

DialogSpec CheckListDialog(int32_t id);

} // namespace qor
