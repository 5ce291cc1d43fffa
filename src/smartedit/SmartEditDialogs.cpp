#include "smartedit/SmartEditDialogs.h"

#include "core/SharedDialogs.h"

namespace qor {

namespace {

DialogSpec Fields(std::vector<FieldSpec> fields) {
    DialogSpec spec;
    spec.fields = std::move(fields);
    return spec;
}

FieldSpec IfSetRectangle(std::string label) { return TextField(std::move(label), 0, kRectanglePickers); }

DialogSpec SetPropertiesDialog() {
    return Fields({
        IfSetRectangle("&Rectangle:"),
        NoteField("Options"),
        TriStateField("Read only", 1),
        TriStateField("Word wrap", 2),
        TriStateField("Allow tab to cycle object focus", 3),
        TriStateField("Hide selection when losing focus", 4),
        TextField("Font:", 5, kFontPickers),
        ColourField("Color:", 6),
        ChoiceField("Scroll bars", 7, {"Vertical", "Horizontal ", "No Scrolls", "Both", "None"}, 4),
        ChoiceField("Alignment", 8, {"Center", "Left", "Right", "None"}, 3).SameRow().WritesWhenNone("-1"),
    });
}

DialogSpec SpellCheckerDialog() {
    FieldSpec dictionary =
        TextField("&Dictionary (Leave empty for default dictionary).", 1, PickVariable | PickFile);
    dictionary.file.filter = "Dictionary file*.dic*|*.dic*";
    dictionary.file.fileMustExist = true;
    dictionary.file.sizing = true;
    return Fields({
        IfSetRectangle("&Rectangle"),
        dictionary,
        OptionsField("Options:", 2, {"Show Add/Ignore Menu", "IgnoreWordWithNumbers", "IgnoreAllCaps", "CustomDictionary"},
                     OptionsRule::Stop),
    });
}

} // namespace

DialogSpec SmartEditDialog(int32_t id) {
    switch (id) {
    case 24:
        return Fields({IfSetRectangle("&Rectangle:"), TextField("Store the text in this variable:", 1, PickVariable)});
    case 25: return SetPropertiesDialog();
    case 26:
        return Fields({RectangleField("&Rectangle"), EventField("On change:", 1), EventField("On double click:", 2),
                       EventField("On right click:", 3), EventField("On click:", 4)});
    case 27:
        return Fields({RectangleField("&Rectangle:"),
                       MultiLineField("Text", 1, TextCodec::LineBreaks, PickVariable).BothScrollBars(),
                       RadioField("Change", 2, {"Whole Text", "Selected Text"}).Columns(2)});
    case 40: return TwoNumberDialog("Number of characters to scroll horizontally:", "Number of lines to scroll vertically:");
    case 41: return TwoNumberDialog("Selection start:", "Number of characters to select:");
    case 43: return TwoNumberDialog("Number of characters:", "Number of lines:");
    case 42:
        return Fields({IfSetRectangle("&Rectangle"),
                       ChoiceField("Attributes:", 1,
                                   {"SelectedText", "Text", "FirstVisibleLineNo", "IsReadOnly", "HideSelection",
                                    "IsWordWrap", "CaretPositionX", "CaretPositionY", "Handle", "SelectionStart",
                                    "SelectionLength", "ScrollBars"}),
                       TextField("Store the info in this variable:", 2, PickVariable)});
    case 73: return SpellCheckerDialog();
    default: return RectangleOnlyDialog(); // 28, and the editing commands 29 to 39
    }
}

} // namespace qor
