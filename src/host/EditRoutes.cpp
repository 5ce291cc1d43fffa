#include "host/EditRoutes.h"

#include "checklist/CheckListDialogs.h"
#include "core/SharedDialogs.h"
#include "dialogs/DialogActionDialogs.h"
#include "filedrop/FileDropDialogs.h"
#include "hotkeys/HotKeyDialogs.h"
#include "lists/ListDialogs.h"
#include "smartedit/SmartEditDialogs.h"
#include "trackbar/TrackBarDialogs.h"

namespace qor {

namespace {

DialogSpec RectangleOnly(int32_t) { return RectangleOnlyDialog(); }

} // namespace

const std::vector<EditRoute>& EditRoutes() {
    static const std::vector<EditRoute> routes = {
        // Hot key field and key managers: the shared file dialog.
        {3, HotKeyFileDialog},
        {4, HotKeyFileDialog},
        {66, HotKeyFileDialog},
        {67, HotKeyFileDialog},
        {70, HotKeyFileDialog},
        {71, HotKeyFileDialog},
        {72, RectangleOnly},
        // DropDown and ListBox.
        {5, CreateListDialog},
        {18, CreateListDialog},
        {14, ListSetPropertiesDialog},
        {19, ListSetPropertiesDialog},
        {15, ListCaptureEventsDialog},
        {20, ListCaptureEventsDialog},
        {16, ListSelectDialog},
        {21, ListSelectDialog},
        {17, ListRemoveDialog},
        {22, ListRemoveDialog},
        // List item operations.
        {6, ListItemDialog},
        {7, ListItemDialog},
        {8, ListItemDialog},
        {9, ListItemDialog},
        {10, ListItemDialog},
        {11, ListItemDialog},
        {12, ListItemDialog},
        {13, ListItemDialog},
        {58, ListItemDialog},
        {57, FindItemExDialog},
        // SmartEdit and its spell checker.
        {24, SmartEditDialog},
        {25, SmartEditDialog},
        {26, SmartEditDialog},
        {27, SmartEditDialog},
        {28, SmartEditDialog},
        {29, SmartEditDialog},
        {30, SmartEditDialog},
        {31, SmartEditDialog},
        {32, SmartEditDialog},
        {33, SmartEditDialog},
        {34, SmartEditDialog},
        {35, SmartEditDialog},
        {36, SmartEditDialog},
        {37, SmartEditDialog},
        {38, SmartEditDialog},
        {39, SmartEditDialog},
        {40, SmartEditDialog},
        {41, SmartEditDialog},
        {42, SmartEditDialog},
        {43, SmartEditDialog},
        {73, SmartEditDialog},
        // Hot key field, key managers' add and delete.
        {1, HotKeyFieldDialog},
        {2, HotKeyFieldDialog},
        {23, HotKeyFieldDialog},
        {64, KeyManagerDialog},
        {65, KeyManagerDialog},
        {68, KeyManagerDialog},
        {69, KeyManagerDialog},
        // File drop and track bar.
        {44, FileDropDialog},
        {45, FileDropDialog},
        {46, TrackBarDialog},
        {47, TrackBarDialog},
        {48, TrackBarDialog},
        {49, TrackBarDialog},
        {50, TrackBarDialog},
        // CheckListBox.
        {51, CheckListDialog},
        {52, CheckListDialog},
        {53, CheckListDialog},
        {54, CheckListDialog},
        {55, CheckListDialog},
        {56, CheckListDialog},
        // System dialogs.
        {59, DialogActionDialog},
        {60, DialogActionDialog},
        {61, DialogActionDialog},
        {62, DialogActionDialog},
        {63, DialogActionDialog},
    };
    return routes;
}

} // namespace qor
