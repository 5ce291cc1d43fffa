// The catalogue announced to the host: order, ids, names, hints and kinds.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/EventBridge.h"
#include "host/ActionCatalogue.h"

namespace {

// "id|name|kinds|hint" per announcement, in announcement order.
const std::vector<std::string> kExpected = {
        "0|HotKey Gadget||",
        "1|qorCreateHotKey|1116|Creates hot key object.",
        "23|qorSetHotKey|11|Set the hot key.",
        "72|qorFocusHotKey|11|Actives the hot key control.",
        "2|qorRemoveHotKey|1|Removes hot key object.",
        "3|qorLoadHotKeys|11|Loads hot keys.",
        "4|qorSaveHotKeys|11|Saves hot keys.",
        "0|HotKey Manager||",
        "64|qorAddHotKeyInManager|11|Adds specified hotkey in the hotkey manager.",
        "65|qorDeleteHotKeyFromManager|1|Removes specified hotkey from hotkey manager",
        "66|qorLoadHotKeyManager|11|Loads hotkey manager from file.",
        "67|qorSaveHotKeyManager|11|Saves hotkey manage to a file.",
        "0|LocalKey Manager||",
        "68|qorAddLocalKeyInManager|11|Adds specified localkey in the localkey manager.",
        "69|qorDeleteLocalKeyFromManager|1|Removes specified localkey from localkey manager",
        "70|qorLoadLocalKeyManager|11|Loads localkey manager from file.",
        "71|qorSaveLocalKeyManager|11|Saves localkey manage to a file.",
        "0|DropDown||",
        "5|qorCreateDropDown|1111111116|Creates DropDown Object.",
        "14|qorDropDownSetProperties|11111111|Set DropDown object properties.i.e. font, color",
        "15|qorDropDownCaptureEvents|1111| Captures events of DropDown.",
        "16|qorDropDownSelect|111|Select items of the DropDown.",
        "17|qorRemoveDropDown|1|Remove DropDown control.",
        "0|ListBox||",
        "18|qorCreateListBox|1111111116|Creates ListBox Object.",
        "19|qorListBoxSetProperties|11111|Sets properties of the ListBox. i.e. font, color",
        "20|qorListBoxCaptureEvents|1111|Capture ListBox Events.",
        "21|qorListBoxSelect|111|Select items of the ListBox.",
        "22|qorRemoveListBox|1|Removes ListBox Control.",
        "0|SmartEdit||",
        "24|qorCreateSmartEdit|16|Creates SmartEdit.",
        "73|qorSmartEditActiveSpellChecker|111|Activates spell checker in smartedit.",
        "25|qorSmartEditSetProperties|111111111|Sets SmartEdit Properties. i.e. font, color",
        "26|qorSmartEditCaptureEvents|11111|Capture SmartEdit Events.",
        "27|qorSmartEditSetText|111|Set text in the SmartEdit object.",
        "29|qorSmartEditUndo|1|Undo the text written in the SmartEdit.",
        "30|qorSmartEditRedo|1|Redo the text undone in the SmartEdit.",
        "31|qorSmartEditClearUndo|1|Clear undo in the SmartEdit.",
        "32|qorSmartEditCut|1|Cut the selected text from the SmartEdit.",
        "33|qorSmartEditCopy|1|Copy the selected text from the SmartEdit.",
        "34|qorSmartEditPaste|1|Paste text in the SmartEdit.",
        "35|qorSmartEditDelete|1|Deletes selected text from the SmartEdit.",
        "36|qorSmartEditSelectAll|1|Select all the text in the SmartEdit.",
        "37|qorSmartEditDeselectAll|1|Deselect all the selected text in the SmartEdit.",
        "38|qorSmartEditFocus|1|Actives the SmartEdit control.",
        "43|qorSmartEditSetCaretPos|111|Move Caret to a specific position.",
        "39|qorSmartEditScrollToCaret|1|Move scroll to the caret.",
        "40|qorSmartEditScroll|111|Scrolls the SmartEdit.",
        "41|qorSmartEditSelect|111|Select text from the SmartEdit.",
        "42|qorSmartEditGetInfo|116|Gets the information of the SmartEdit.",
        "28|qorRemoveSmartEdit|1|Removes the SmartEdit from the rectangle object..",
        "0|CheckListBox||",
        "51|qorCreateCheckListBox|1111116666|Create CheckListBox object.",
        "52|qorCheckListBoxSetProperties|111|Sets the properties of the CheckListBox.",
        "53|qorCheckListBoxCaptureEvents|111116|Captures events of CheckListBox.",
        "54|qorCheckListBoxSelect|111|Select items of the CheckListBox.",
        "55|qorCheckListBoxSetState|1111|Set the state of the CheckBox/ RadioButton.",
        "56|qorRemoveCheckListBox|1|Removes CheckListBox Control.",
        "0|Dropdown and ListBox and SmartEdit||",
        "6|qorListAddItem|111|Add item in the DropDown, ListBox, SmartEdit and CheckListBox.",
        "7|qorListChangeItem|111|Modify an existing item in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "8|qorListDeleteItem|11|Remove an item from a DropDown or ListBox or SmartEdit or CheckListBox object..",
        "9|qorListFindItem|116|Search for an item in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "57|qorListFindItemEx|111116|Search for an item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "58|qorListFindNextItemEx|16|Search for the next item exactly/ partially in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "10|qorListGetItem|116|Retrieve the text of an item in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "11|qorListMoveItem|111|Move an item in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "12|qorListSize|16|Count the total number of items in a DropDown or ListBox or SmartEdit or CheckListBox object.",
        "13|qorListSort|16|Arrange the items in a DropDown or ListBox or CheckListBox object in alphabetical order.",
        "0|FileDragDrop||",
        "44|qorCreateFileDragDrop|11116661|Creates FileDragDrop Object.",
        "45|qorRemoveFileDragDrop|1|Removes FileDragDrop Control",
        "0|TrackBar and VolumeSlider||",
        "46|qorCreateTrackBar|111111116|Creates a TrackBar object.",
        "47|qorTrackBarSetProperties|11111111|Sets property of the TrackBar object.",
        "48|qorTrackBarCaptureEvents|1111|Captures events of CheckListBox.",
        "49|qorTrackBarUpdate|111|Updates the Value/ Minimum or Maximum of the TrackBar object.",
        "50|qorRemoveTrackBar|1|Removes TrackBar Control",
        "0|Dialogs||",
        "59|qorFileOpenDialog|1111116|Shows the FileOpenDialog.",
        "62|qorFileSaveDialog|1111116|Shows the FileSaveDialog.",
        "63|qorFolderBoxDialog|11116|Shows the FolderBoxDialog.",
        "60|qorFontDialog|116|Shows a FontDialog.",
        "61|qorColorDialog|111166|Shows a ColorDialog.",
};

std::string Describe(const qor::CatalogueEntry& e) {
    std::ostringstream out;
    out << e.id << "|" << e.name << "|";
    for (int i = 0; i < e.count; ++i) out << int(e.kinds[i]);
    out << "|" << e.hint;
    return out.str();
}

TEST(ActionCatalogue, MatchesTheAnnouncedListEntryByEntry) {
    ASSERT_EQ(qor::CatalogueEnd() - qor::CatalogueBegin(), 84);
    ASSERT_EQ(kExpected.size(), 84u);
    size_t pos = 0;
    for (const auto* e = qor::CatalogueBegin(); e != qor::CatalogueEnd(); ++e, ++pos)
        EXPECT_EQ(Describe(*e), kExpected[pos]) << "position " << pos + 1;
}

TEST(ActionCatalogue, ElevenHeadersAndEveryIdOnce) {
    int headers = 0;
    std::multiset<int32_t> ids;
    for (const auto* e = qor::CatalogueBegin(); e != qor::CatalogueEnd(); ++e) {
        if (e->IsHeader()) {
            ++headers;
            EXPECT_STREQ(e->hint, "") << e->name;
            EXPECT_EQ(e->count, 0) << e->name;
        } else {
            ids.insert(e->id);
            EXPECT_GT(e->count, 0) << e->name;
            for (int i = 0; i < e->count; ++i) EXPECT_TRUE(e->kinds[i] == 1 || e->kinds[i] == 6) << e->name;
        }
    }
    EXPECT_EQ(headers, 11);
    EXPECT_EQ(ids.size(), 73u);
    for (int32_t id = 1; id <= 73; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
}

TEST(ActionCatalogue, LookupByIdAndName) {
    for (int32_t id : {0, -1, 74, 1000}) EXPECT_EQ(qor::FindAction(id), nullptr) << id;
    ASSERT_NE(qor::FindAction(72), nullptr);
    EXPECT_STREQ(qor::FindAction(72)->name, "qorFocusHotKey");
    EXPECT_EQ(qor::FindAction(72)->count, 2);
    ASSERT_NE(qor::FindActionByName("qorListSort"), nullptr);
    EXPECT_EQ(qor::FindActionByName("qorListSort")->id, 13);
    EXPECT_EQ(qor::FindActionByName("DropDown"), nullptr) << "category titles are not actions";
    EXPECT_EQ(qor::FindActionByName("qorlistsort"), nullptr);
}

TEST(EventBridge, GoSubLineAndCaptureRule) {
    EXPECT_EQ(qor::GoSubLine("OnPick"), "GoSub \"OnPick\"");
    EXPECT_EQ(qor::GoSubLine("a \"b\""), "GoSub \"a \"b\"\"") << "nothing is escaped";
    std::string sub = "Current";
    qor::ApplyCapture(sub, "None");
    EXPECT_EQ(sub, "Current");
    qor::ApplyCapture(sub, "none");
    EXPECT_EQ(sub, "none");
    qor::ApplyCapture(sub, " None");
    EXPECT_EQ(sub, " None");
    qor::ApplyCapture(sub, "");
    EXPECT_EQ(sub, "");
}

} // namespace
