#pragma once
// Editing-dialog tables of the DropDown, the ListBox and the list item actions.
#include <cstdint>

#include "core/EditDialog.h"

namespace qor {

DialogSpec CreateListDialog(int32_t id);        // 5 DropDown, 18 ListBox
DialogSpec ListSetPropertiesDialog(int32_t id); // 14, 19
DialogSpec ListCaptureEventsDialog(int32_t id); // 15, 20
DialogSpec ListSelectDialog(int32_t id);        // 16, 21
DialogSpec ListRemoveDialog(int32_t id);        // 17, 22
DialogSpec ListItemDialog(int32_t id);          // 6 to 13, 58
DialogSpec FindItemExDialog(int32_t id);        // 57

} // namespace qor
