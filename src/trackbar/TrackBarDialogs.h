#pragma once
// Editing-dialog tables of the track bar actions (ids 46 to 50).
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

DialogSpec TrackBarDialog(int32_t id);

} // namespace qor
