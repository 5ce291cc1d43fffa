#include "host/ActionRoutes.h"

#include "core/ControlRegistry.h"
#include "checklist/UTCustomCheckListBox.h"
#include "smartedit/SpellCheckerAction.h"
#include "dialogs/DialogActions.h"
#include "filedrop/UTCustomFileContainer.h"
#include "smartedit/UTCustomMemo.h"
#include "lists/UTCustomDropDown.h"
#include "lists/ListItemOperations.h"
#include "lists/UTCustomListBox.h"
#include "trackbar/UTCustomTrackBar.h"
#include "hotkeys/UTCustomHotKey.h"
#include "hotkeys/UTHotManager.h"
#include "hotkeys/UTLocalManager.h"

namespace qor {

namespace {

template <ControlKind kind>
bool RemoveKind(const Params& params) {
    return RemoveAction(kind, params[0]);
}

} // namespace

const std::vector<ActionRoute>& ActionRoutes() {
    static const std::vector<ActionRoute> routes = {
        // DropDown.
        {5, qorCreateDropDown},
        {14, qorDropDownSetProperties},
        {15, qorDropDownCaptureEvents},
        {16, qorDropDownSelect},
        // ListBox.
        {18, qorCreateListBox},
        {19, qorListBoxSetProperties},
        {20, qorListBoxCaptureEvents},
        {21, qorListBoxSelect},
        // List item operations.
        {6, qorListAddItem},
        {7, qorListChangeItem},
        {8, qorListDeleteItem},
        {9, qorListFindItem},
        {10, qorListGetItem},
        {11, qorListMoveItem},
        {12, qorListSize},
        {13, qorListSort},
        {57, qorListFindItemEx},
        {58, qorListFindNextItemEx},
        // SmartEdit.
        {24, qorCreateSmartEdit},
        {25, qorSmartEditSetProperties},
        {26, qorSmartEditCaptureEvents},
        {27, qorSmartEditSetText},
        {29, SmartEditCommandRoute<29>},
        {30, SmartEditCommandRoute<30>},
        {31, SmartEditCommandRoute<31>},
        {32, SmartEditCommandRoute<32>},
        {33, SmartEditCommandRoute<33>},
        {34, SmartEditCommandRoute<34>},
        {35, SmartEditCommandRoute<35>},
        {36, SmartEditCommandRoute<36>},
        {37, SmartEditCommandRoute<37>},
        {38, SmartEditCommandRoute<38>},
        {39, SmartEditCommandRoute<39>},
        {40, SmartEditPositionRoute<40>},
        {41, SmartEditPositionRoute<41>},
        {42, qorSmartEditGetInfo},
        {43, SmartEditPositionRoute<43>},
        {73, qorSmartEditActiveSpellChecker},
        // CheckListBox.
        {51, qorCreateCheckListBox},
        {52, qorCheckListBoxSetProperties},
        {53, qorCheckListBoxCaptureEvents},
        {54, qorCheckListBoxSelect},
        {55, qorCheckListBoxSetState},
        // TrackBar.
        {46, qorCreateTrackBar},
        {47, qorTrackBarSetProperties},
        {48, qorTrackBarCaptureEvents},
        {49, qorTrackBarUpdate},
        // Hot key field, global hot key manager, local key manager.
        {1, qorCreateHotKey},
        {3, qorLoadHotKeys},
        {4, qorSaveHotKeys},
        {23, qorSetHotKey},
        {72, qorFocusHotKey},
        {64, qorAddHotKeyInManager},
        {65, qorDeleteHotKeyFromManager},
        {66, qorLoadHotKeyManager},
        {67, qorSaveHotKeyManager},
        {68, qorAddLocalKeyInManager},
        {69, qorDeleteLocalKeyFromManager},
        {70, qorLoadLocalKeyManager},
        {71, qorSaveLocalKeyManager},
        // FileDragDrop.
        {44, qorCreateFileDragDrop},
        // System dialogs.
        {59, qorFileOpenDialog},
        {60, qorFontDialog},
        {61, qorColorDialog},
        {62, qorFileSaveDialog},
        {63, qorFolderBoxDialog},
        // The seven remove actions.
        {2, RemoveKind<ControlKind::HotKey>},
        {17, RemoveKind<ControlKind::DropDown>},
        {22, RemoveKind<ControlKind::ListBox>},
        {28, RemoveKind<ControlKind::SmartEdit>},
        {45, RemoveKind<ControlKind::FileDragDrop>},
        {50, RemoveKind<ControlKind::TrackBar>},
        {56, RemoveKind<ControlKind::CheckListBox>},
    };
    return routes;
}

} // namespace qor
