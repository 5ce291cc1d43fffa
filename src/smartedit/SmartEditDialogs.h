#pragma once
// Editing-dialog tables of the SmartEdit actions and the spell checker.
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

// Every SmartEdit id (24 to 43) and the spell checker's (73).
DialogSpec SmartEditDialog(int32_t id);

} // namespace qor
