#include "lists/ListDialogs.h"

#include "core/SharedDialogs.h"

namespace qor {

namespace {

constexpr int32_t kDropDownCreate = 5;

// Create dialogs: the display number and the delimiter (with its picker) are
// enabled only in Array mode, and the second result entry names the mode.
void CreateListBehaviour(DialogModel& m, DialogEvent event, int) {
    if (event == DialogEvent::Entered) return;
    const int mode = m.FieldOf(4), display = m.FieldOf(5), delimiter = m.FieldOf(6), result = m.FieldOf(8);
    const bool array = m[mode].selection == 1;
    m[display].enabled = array;
    m[display + 1].enabled = array; // its hint label
    m[delimiter].enabled = array;
    m[result].choices[1] = array ? "Array" : "Text";
}

// FindItemEx: the search types follow "Search in"; the column field shows only
// for a column search in an array.
void FindItemExBehaviour(DialogModel& m, DialogEvent event, int field) {
    const int searchIn = m.FieldOf(1), searchType = m.FieldOf(2), column = m.FieldOf(3);
    const bool array = m[searchIn].selection == 1;
    if (event == DialogEvent::Shown || (event == DialogEvent::Changed && field == searchIn)) {
        std::vector<std::string> types = {"Exact match", "Partial match"};
        if (array) types.push_back("In specific column");
        const bool shown = event == DialogEvent::Shown;
        RefillChoices(m[searchType], types, true, shown ? -1 : 0);
    }
    m[column].visible = array && m[searchType].selection == 2;
}

FieldSpec ItemRectangle() { return TextField("&Rectangle:", 0, kRectanglePickers); }

DialogSpec TwoTexts(std::string label2, std::string initial2, std::string label3) {
    DialogSpec spec;
    spec.fields = {ItemRectangle(), TextField(std::move(label2), 1, PickVariable, std::move(initial2)),
                   TextField(std::move(label3), 2, PickVariable)};
    return spec;
}

// The delete-item layout: the rectangle and one field.
DialogSpec OneText(std::string label, std::string initial) {
    DialogSpec spec;
    spec.fields = {ItemRectangle(), TextField(std::move(label), 1, PickVariable, std::move(initial))};
    return spec;
}

} // namespace

DialogSpec CreateListDialog(int32_t id) {
    const bool dropDown = id == kDropDownCreate;
    FieldSpec items = MultiLineField("&Items:", 3, dropDown ? TextCodec::ParamText : TextCodec::LineBreaks,
                                     PickVariable);
    if (dropDown) items.BothScrollBars();
    DialogSpec spec;
    spec.behaviour = CreateListBehaviour;
    spec.fields = {
        TextField("&Rectangle:", 0, kRectanglePickers),
        CheckField("Sort", 1),
        CheckField("Prevent duplicates", 2).SameRow(),
        items,
        RadioField(dropDown ? "Dropdown items setting" : "Listbox items setting", 4, {"String", "Array"}).Columns(2),
        TextField("Display no:", 5, 0, "0"),
        NoteField("0 = First Item").SameRow(),
        TextField("Delimit char:", 6, PickVariable),
        ChoiceField("&Style:", 7, dropDown ? std::vector<std::string>{"DropDown", "DropDownList"}
                                           : std::vector<std::string>{"ListBox", "ListBox + MultiSel"}),
        RadioField("Result variable contain", 8, {"Number", "Text"}, 1).Columns(2),
        TextField("Store the result in this variable:", 9, PickVariable),
    };
    return spec;
}

DialogSpec ListSetPropertiesDialog(int32_t id) {
    DialogSpec spec;
    if (id == 14)
        spec.fields = {
            TextField("&Rectangle:", 0, kRectanglePickers),
            TriStateField("Auto close up", 1),
            TriStateField("Auto complete", 2),
            TriStateField("Auto drop down", 3),
            TextField("Font:", 4, kFontPickers),
            ColourField("Color:", 5),
            TextField("Dropdown list width:", 6, 0, "0"),
            TextField("Text:", 7, PickVariable),
        };
    else
        spec.fields = {
            TextField("&Rectangle:", 0, kRectanglePickers),
            NoteField("Options"),
            TriStateField("Auto complete", 1),
            TriStateField("Show search box", 2),
            TextField("Font:", 3, kFontPickers),
            ColourField("Color:", 4),
        };
    return spec;
}

DialogSpec ListCaptureEventsDialog(int32_t id) {
    DialogSpec spec;
    spec.fields = {RectangleField("&Rectangle"), EventField("On change:", 1),
                   EventField(id == 15 ? "On dropdown:" : "On double click:", 2),
                   EventField(id == 15 ? "On close up:" : "On right click:", 3)};
    return spec;
}

DialogSpec ListSelectDialog(int32_t id) {
    DialogSpec spec;
    spec.fields = {
        TextField("&Rectangle:", 0, kRectanglePickers),
        id == 16 ? TextField("Item:", 1, PickVariable) : TextField("&Item:", 1, PickVariable | AddItems),
        RadioField("Select by", 2, {"Number", "Text", "Array"}).Columns(3),
    };
    return spec;
}

DialogSpec ListRemoveDialog(int32_t) { return RectangleOnlyDialog("&Rectangle"); }

DialogSpec ListItemDialog(int32_t id) {
    switch (id) {
    case 6: return TwoTexts("Line number to insert: (0 = end of list)", "0", "New item text:");
    case 7: return TwoTexts("Line number of item to change: (1 = first item)", "1", "New item text:");
    case 8: return OneText("Line number of item to delete: (1 = first item)", "1");
    case 9: return TwoTexts("Text of item to find:", "", "Store the found item number in this variable:");
    case 10: return TwoTexts("Line number of desired item: (1 = first item)", "1", "Store the result in this variable:");
    case 11:
        return TwoNumberDialog("Line number of item to move: (1 = first item)",
                               "Line number of item's new location: (1 = first item)");
    case 12: {
        DialogSpec spec = OneText("Store the result in this variable:", "");
        spec.topMost = true;
        return spec;
    }
    case 13: {
        DialogSpec spec;
        spec.fields = {ItemRectangle(), RadioField("Sort", 1, {"True", "False"}).Columns(2)};
        return spec;
    }
    default: return OneText("Store the found index in this variable:", ""); // 58
    }
}

DialogSpec FindItemExDialog(int32_t) {
    DialogSpec spec;
    spec.caption = "FindItemEx Properties";
    spec.behaviour = FindItemExBehaviour;
    spec.fields = {
        RectangleField("&Rectangle"),
        ChoiceField("Search in:", 1, {"String", "Array"}),
        ChoiceField("Search type:", 2, {"Exact match", "Partial match", "In specific column"}),
        TextField("Column no: (0 = First Column)", 3, PickVariable),
        TextField("Text of item to find:", 4, PickVariable),
        TextField("Store the result in this variable:", 5, PickVariable),
    };
    return spec;
}

} // namespace qor
