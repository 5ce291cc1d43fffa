#include "checklist/CheckListDialogs.h"

#include "core/SharedDialogs.h"

namespace qor {

namespace {

constexpr int kRadioButtons = 2; // the "Check kind:" row of radio buttons

// Create dialog: with radio buttons there is one checked item and no grey
// state, so the boxes and fields that only make sense for check boxes are
// disabled (they keep their content and are still written back).
void CreateBehaviour(DialogModel& m, DialogEvent event, int) {
    if (event == DialogEvent::Entered) return;
    const bool radio = m[m.FieldOf(4)].selection == kRadioButtons;
    for (int param : {2, 5, 7, 8}) m[m.FieldOf(param)].enabled = !radio;
    m[m.FieldOf(6)].label =
        radio ? "Store the checked item in this variable:" : "Store the checked items in this variable (Optional):";
}

DialogSpec Fields(std::vector<FieldSpec> fields, DialogBehaviour behaviour = nullptr) {
    DialogSpec spec;
    spec.fields = std::move(fields);
    spec.behaviour = behaviour;
    return spec;
}

FieldSpec ItemField(int param) { return TextField("&Item:", param, PickVariable | AddItems); }

} // namespace

DialogSpec CheckListDialog(int32_t id) {
    switch (id) {
    case 51:
        return Fields(
            {
                RectangleField(),
                CheckField("Multi select", 1),
                CheckField("Allow gray", 2).SameRow(),
                MultiLineField("&Items:", 3, TextCodec::ParamText, PickVariable),
                ChoiceField("Check kind:", 4, {"CheckBoxes", "CheckMarks", "RadioButtons"}),
                CheckField("Create individual variables for each item.", 5),
                TextField("Store the checked items in this variable (Optional):", 6, PickVariable),
                TextField("Store the unchecked items in this variable (Optional):", 7, PickVariable),
                TextField("Store the grayed items in this variable (Optional):", 8, PickVariable),
                TextField("Store the selected items in this variable (Optional):", 9, PickVariable),
            },
            CreateBehaviour);
    case 52:
        return Fields({TextField("&Rectangle:", 0, kRectanglePickers), TextField("Font:", 1, kFontPickers),
                       ColourField("Color:", 2)});
    case 53:
        return Fields({RectangleField("&Rectangle"), EventField("On selection change:", 1),
                       EventField("On double click:", 2), EventField("On right click:", 3),
                       EventField("On item click state change:", 4),
                       TextField("Store the clicked item in this variable:", 5, PickVariable).Always()});
    case 54:
        return Fields({RectangleField(), ItemField(1).Always(), RadioField("Select by", 2, {"Number", "Text"}).Columns(2)});
    case 55:
        return Fields({TextField("&Rectangle:", 0, kRectanglePickers), ItemField(1),
                       ChoiceField("State:", 2, {"Grayed", "Checked", "Unchecked"}),
                       RadioField("Select by", 3, {"Number", "Text"}).Columns(2)});
    default: return RectangleOnlyDialog("&Rectangle"); // 56
    }
}

} // namespace qor
