#pragma once
// Editing-dialog tables of the system dialog actions (ids 59 to 63).
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

DialogSpec DialogActionDialog(int32_t id);

} // namespace qor
