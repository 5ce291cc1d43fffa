#include "trackbar/TrackBarDialogs.h"

#include "core/SharedDialogs.h"

namespace qor {

namespace {

// A volume slider takes its range and value from the system volume.
void CreateBehaviour(DialogModel& m, DialogEvent event, int) {
    if (event == DialogEvent::Entered) return;
    const bool volume = m[m.FieldOf(7)].check == 1;
    for (int param : {3, 4, 5}) m[m.FieldOf(param)].enabled = !volume;
}

FieldSpec Rectangle() { return TextField("Rectangle", 0, kRectanglePickers); }

DialogSpec Fields(std::vector<FieldSpec> fields) {
    DialogSpec spec;
    spec.fields = std::move(fields);
    return spec;
}

} // namespace

DialogSpec TrackBarDialog(int32_t id) {
    switch (id) {
    case 46: {
        DialogSpec spec = Fields({
            Rectangle(),
            TextField("Thumb width:", 1, PickVariable, "20"),
            TextField("Thumb height:", 2, PickVariable, "16"),
            TextField("Minimum:", 3, PickVariable, "0"),
            TextField("Maximum:", 4, PickVariable, "100"),
            TextField("Value:", 5, PickVariable, "0"),
            ChoiceField("Orientation:", 6, {"Horizontal", "Vertical"}),
            CheckField("Attach to windows volume slider", 7),
            TextField("Store the position in this variable:", 8, PickVariable),
        });
        spec.behaviour = CreateBehaviour;
        return spec;
    }
    case 47:
        return Fields({
            Rectangle(),
            NoteField("Options"),
            TriStateField("Show caption:", 1),
            TriStateField("Back border", 2),
            TriStateField("Track border", 3),
            ColourField("Background color:", 4),
            ColourField("Border color:", 5),
            ColourField("Thumb color:", 6),
            ColourField("Track color:", 7),
        });
    case 48:
        return Fields({Rectangle(), EventField("On value changing:", 1), EventField("On value changed:", 2),
                       EventField("On volume update:", 3)});
    case 49:
        return Fields({Rectangle(), TextField("Value:", 1, PickVariable),
                       RadioField("Option", 2, {"Value", "Minimum", "Maximum"}).Columns(3)});
    default: return RectangleOnlyDialog("Rectangle"); // 50
    }
}

} // namespace qor
