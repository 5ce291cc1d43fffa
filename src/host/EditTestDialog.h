#pragma once
// A dialog that exists only in the test build: the field kinds and the
// behaviour shape the key manager dialogs need (a hot key capture field, a
// variable field and an invisible holder that follow each other), a cream and
// a red bold note, and an option check list, so the engine can be exercised
// before any action routes them.
#ifdef QOR_TEST_BUILD
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

constexpr int32_t kTestDialogId = 1101; // four parameters: holder, options, flag, flag
DialogSpec TestDialog(int32_t id);

} // namespace qor
#endif
