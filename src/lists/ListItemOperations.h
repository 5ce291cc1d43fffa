#pragma once
// The ten list item actions. Each looks the rectangle up in the DropDown,
// ListBox, SmartEdit and CheckListBox lists, in this order (qorListSort skips
// SmartEdit), and works on the first control found through ListItemTarget.
// A missing control and an array search on a list without rows are reported
// in the LastError variable while the action succeeds.
#include "host/PlugInUtils.h"

namespace qor {

// Takes its parameters over: the added text is moved into the list.
bool qorListAddItem(Params&& params);
bool qorListChangeItem(const Params& params);
bool qorListDeleteItem(const Params& params);
bool qorListFindItem(const Params& params);
bool qorListGetItem(const Params& params);
bool qorListMoveItem(const Params& params);
bool qorListSize(const Params& params);
bool qorListSort(const Params& params);
bool qorListFindItemEx(const Params& params);
bool qorListFindNextItemEx(const Params& params);

} // namespace qor
