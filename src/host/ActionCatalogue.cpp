#include "host/ActionCatalogue.h"

namespace qor {

namespace {

// In announcement order: a category header (id 0, no hint, no parameters)
// followed by its actions. Kind 1 is a plain text parameter, kind 6 names a
// host variable.
const CatalogueEntry kCatalogue[kCatalogueSize] = {
    {0, "HotKey Gadget", "", 0, {}},
    {1, "qorCreateHotKey", "Creates hot key object.", 4, {1, 1, 1, 6}},
    {23, "qorSetHotKey", "Set the hot key.", 2, {1, 1}},
    {72, "qorFocusHotKey", "Actives the hot key control.", 2, {1, 1}},
    {2, "qorRemoveHotKey", "Removes hot key object.", 1, {1}},
    {3, "qorLoadHotKeys", "Loads hot keys.", 2, {1, 1}},
    {4, "qorSaveHotKeys", "Saves hot keys.", 2, {1, 1}},
    {0, "HotKey Manager", "", 0, {}},
    {64, "qorAddHotKeyInManager", "Adds specified hotkey in the hotkey manager.", 2, {1, 1}},
    {65, "qorDeleteHotKeyFromManager", "Removes specified hotkey from hotkey manager", 1, {1}},
    {66, "qorLoadHotKeyManager", "Loads hotkey manager from file.", 2, {1, 1}},
    {67, "qorSaveHotKeyManager", "Saves hotkey manage to a file.", 2, {1, 1}},
    {0, "LocalKey Manager", "", 0, {}},
    {68, "qorAddLocalKeyInManager", "Adds specified localkey in the localkey manager.", 2, {1, 1}},
    {69, "qorDeleteLocalKeyFromManager", "Removes specified localkey from localkey manager", 1, {1}},
    {70, "qorLoadLocalKeyManager", "Loads localkey manager from file.", 2, {1, 1}},
    {71, "qorSaveLocalKeyManager", "Saves localkey manage to a file.", 2, {1, 1}},
    {0, "DropDown", "", 0, {}},
    {5, "qorCreateDropDown", "Creates DropDown Object.", 10, {1, 1, 1, 1, 1, 1, 1, 1, 1, 6}},
    {14, "qorDropDownSetProperties", "Set DropDown object properties.i.e. font, color", 8, {1, 1, 1, 1, 1, 1, 1, 1}},
    {15, "qorDropDownCaptureEvents", " Captures events of DropDown.", 4, {1, 1, 1, 1}},
    {16, "qorDropDownSelect", "Select items of the DropDown.", 3, {1, 1, 1}},
    {17, "qorRemoveDropDown", "Remove DropDown control.", 1, {1}},
    {0, "ListBox", "", 0, {}},
    {18, "qorCreateListBox", "Creates ListBox Object.", 10, {1, 1, 1, 1, 1, 1, 1, 1, 1, 6}},
    {19, "qorListBoxSetProperties", "Sets properties of the ListBox. i.e. font, color", 5, {1, 1, 1, 1, 1}},
    {20, "qorListBoxCaptureEvents", "Capture ListBox Events.", 4, {1, 1, 1, 1}},
    {21, "qorListBoxSelect", "Select items of the ListBox.", 3, {1, 1, 1}},
    {22, "qorRemoveListBox", "Removes ListBox Control.", 1, {1}},
    {0, "SmartEdit", "", 0, {}},
    {24, "qorCreateSmartEdit", "Creates SmartEdit.", 2, {1, 6}},
    {73, "qorSmartEditActiveSpellChecker", "Activates spell checker in smartedit.", 3, {1, 1, 1}},
    {25, "qorSmartEditSetProperties", "Sets SmartEdit Properties. i.e. font, color", 9, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {26, "qorSmartEditCaptureEvents", "Capture SmartEdit Events.", 5, {1, 1, 1, 1, 1}},
    {27, "qorSmartEditSetText", "Set text in the SmartEdit object.", 3, {1, 1, 1}},
    {29, "qorSmartEditUndo", "Undo the text written in the SmartEdit.", 1, {1}},
    {30, "qorSmartEditRedo", "Redo the text undone in the SmartEdit.", 1, {1}},
    {31, "qorSmartEditClearUndo", "Clear undo in the SmartEdit.", 1, {1}},
    {32, "qorSmartEditCut", "Cut the selected text from the SmartEdit.", 1, {1}},
    {33, "qorSmartEditCopy", "Copy the selected text from the SmartEdit.", 1, {1}},
    {34, "qorSmartEditPaste", "Paste text in the SmartEdit.", 1, {1}},
    {35, "qorSmartEditDelete", "Deletes selected text from the SmartEdit.", 1, {1}},
    {36, "qorSmartEditSelectAll", "Select all the text in the SmartEdit.", 1, {1}},
    {37, "qorSmartEditDeselectAll", "Deselect all the selected text in the SmartEdit.", 1, {1}},
    {38, "qorSmartEditFocus", "Actives the SmartEdit control.", 1, {1}},
    {43, "qorSmartEditSetCaretPos", "Move Caret to a specific position.", 3, {1, 1, 1}},
    {39, "qorSmartEditScrollToCaret", "Move scroll to the caret.", 1, {1}},
    {40, "qorSmartEditScroll", "Scrolls the SmartEdit.", 3, {1, 1, 1}},
    {41, "qorSmartEditSelect", "Select text from the SmartEdit.", 3, {1, 1, 1}},
    {42, "qorSmartEditGetInfo", "Gets the information of the SmartEdit.", 3, {1, 1, 6}},
    {28, "qorRemoveSmartEdit", "Removes the SmartEdit from the rectangle object..", 1, {1}},
    {0, "CheckListBox", "", 0, {}},
    {51, "qorCreateCheckListBox", "Create CheckListBox object.", 10, {1, 1, 1, 1, 1, 1, 6, 6, 6, 6}},
    {52, "qorCheckListBoxSetProperties", "Sets the properties of the CheckListBox.", 3, {1, 1, 1}},
    {53, "qorCheckListBoxCaptureEvents", "Captures events of CheckListBox.", 6, {1, 1, 1, 1, 1, 6}},
    {54, "qorCheckListBoxSelect", "Select items of the CheckListBox.", 3, {1, 1, 1}},
    {55, "qorCheckListBoxSetState", "Set the state of the CheckBox/ RadioButton.", 4, {1, 1, 1, 1}},
    {56, "qorRemoveCheckListBox", "Removes CheckListBox Control.", 1, {1}},
    {0, "Dropdown and ListBox and SmartEdit", "", 0, {}},
    {6, "qorListAddItem", "Add item in the DropDown, ListBox, SmartEdit and CheckListBox.", 3, {1, 1, 1}},
    {7, "qorListChangeItem", "Modify an existing item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, {1, 1, 1}},
    {8, "qorListDeleteItem", "Remove an item from a DropDown or ListBox or SmartEdit or CheckListBox object..", 2, {1, 1}},
    {9, "qorListFindItem", "Search for an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, {1, 1, 6}},
    {57, "qorListFindItemEx", "Search for an item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.", 6, {1, 1, 1, 1, 1, 6}},
    {58, "qorListFindNextItemEx", "Search for the next item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.", 2, {1, 6}},
    {10, "qorListGetItem", "Retrieve the text of an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, {1, 1, 6}},
    {11, "qorListMoveItem", "Move an item in a DropDown or ListBox or SmartEdit or CheckListBox object.", 3, {1, 1, 1}},
    {12, "qorListSize", "Count the total number of items in a DropDown or ListBox or SmartEdit or CheckListBox object.", 2, {1, 6}},
    {13, "qorListSort", "Arrange the items in a DropDown or ListBox or CheckListBox object in alphabetical order.", 2, {1, 6}},
    {0, "FileDragDrop", "", 0, {}},
    {44, "qorCreateFileDragDrop", "Creates FileDragDrop Object.", 8, {1, 1, 1, 1, 6, 6, 6, 1}},
    {45, "qorRemoveFileDragDrop", "Removes FileDragDrop Control", 1, {1}},
    {0, "TrackBar and VolumeSlider", "", 0, {}},
    {46, "qorCreateTrackBar", "Creates a TrackBar object.", 9, {1, 1, 1, 1, 1, 1, 1, 1, 6}},
    {47, "qorTrackBarSetProperties", "Sets property of the TrackBar object.", 8, {1, 1, 1, 1, 1, 1, 1, 1}},
    {48, "qorTrackBarCaptureEvents", "Captures events of CheckListBox.", 4, {1, 1, 1, 1}},
    {49, "qorTrackBarUpdate", "Updates the Value/ Minimum or Maximum of the TrackBar object.", 3, {1, 1, 1}},
    {50, "qorRemoveTrackBar", "Removes TrackBar Control", 1, {1}},
    {0, "Dialogs", "", 0, {}},
    {59, "qorFileOpenDialog", "Shows the FileOpenDialog.", 7, {1, 1, 1, 1, 1, 1, 6}},
    {62, "qorFileSaveDialog", "Shows the FileSaveDialog.", 7, {1, 1, 1, 1, 1, 1, 6}},
    {63, "qorFolderBoxDialog", "Shows the FolderBoxDialog.", 5, {1, 1, 1, 1, 6}},
    {60, "qorFontDialog", "Shows a FontDialog.", 3, {1, 1, 6}},
    {61, "qorColorDialog", "Shows a ColorDialog.", 6, {1, 1, 1, 1, 6, 6}},
};

} // namespace

const CatalogueEntry* CatalogueBegin() { return kCatalogue; }
const CatalogueEntry* CatalogueEnd() { return kCatalogue + kCatalogueSize; }

const CatalogueEntry* FindAction(int32_t id) {
    if (id < kFirstActionId || id > kLastActionId) return nullptr;
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.id == id) return &entry;
    return nullptr;
}

const CatalogueEntry* FindActionByName(const std::string& name) {
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.id != 0 && name == entry.name) return &entry;
    return nullptr;
}

} // namespace qor
