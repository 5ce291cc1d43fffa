#pragma once
// The table that connects action ids to the editing-dialog tables of each kind.
#include <cstdint>
#include <vector>

#include "core/EditDialog.h"

namespace qor {

// Builds the dialog for an action id (dialogs shared by several ids read it).
using DialogMaker = DialogSpec (*)(int32_t id);

struct EditRoute {
    int32_t id;
    DialogMaker dialog;
};

const std::vector<EditRoute>& EditRoutes();

} // namespace qor
