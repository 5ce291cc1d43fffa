#pragma once
// Editing-dialog tables of the file drop actions (ids 44 and 45).
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

DialogSpec FileDropDialog(int32_t id);

} // namespace qor
