#include "filedrop/FileDropDialogs.h"

#include "core/SharedDialogs.h"

namespace qor {

namespace {

// The text and its colour only show on the panel, which "Default" turns on.
void CreateBehaviour(DialogModel& m, DialogEvent event, int) {
    if (event == DialogEvent::Entered) return;
    const bool panel = m[m.FieldOf(3)].check == 1;
    m[m.FieldOf(1)].enabled = panel;
    m[m.FieldOf(2)].enabled = panel;
}

} // namespace

DialogSpec FileDropDialog(int32_t id) {
    if (id != 44) return RectangleOnlyDialog("Rectangle:");
    DialogSpec spec;
    spec.behaviour = CreateBehaviour;
    spec.fields = {
        TextField("Rectangle:", 0, kRectanglePickers),
        TextField("Text:", 1),
        ColourField("Text color:", 2, "clBlack"),
        CheckField("Default", 3, true),
        TextField("Store the folders in this variable (Optional):", 4, PickVariable),
        TextField("Store the files in this variable (Optional):", 5, PickVariable),
        TextField("Store the folders and files in this variable:", 6, PickVariable),
        EventField("On drop:", 7, 0),
    };
    return spec;
}

} // namespace qor
