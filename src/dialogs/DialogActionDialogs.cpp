#include "dialogs/DialogActionDialogs.h"

#include "dialogs/DialogValues.h"

namespace qor {

namespace {

FieldSpec Text(std::string label, int param, unsigned pickers = PickVariable) {
    return TextField(std::move(label), param, pickers);
}

// An options list as the action reads it when it runs.
FieldSpec Options(std::string label, int param, std::vector<std::string> choices) {
    FieldSpec field = OptionsField(std::move(label), param, std::move(choices));
    field.readOptions = ReadOptionList;
    return field;
}

DialogSpec Fields(std::vector<FieldSpec> fields, std::string caption = {}) {
    DialogSpec spec;
    spec.caption = std::move(caption);
    spec.fields = std::move(fields);
    return spec;
}

DialogSpec FileDialog(bool open) {
    std::vector<std::string> options =
        open ? std::vector<std::string>{"AllowMultiSelect", "PathMustExist", "FileMustExist", "OldStyleDialog",
                                        "EnableSizing", "DontAddToRecent", "ForceShowHidden", "NoPlacesBar"}
             : std::vector<std::string>{"AllowMultiSelect", "OverWritePrompt", "OldStyleDialog", "EnableSizing",
                                        "DontAddToRecent", "ForceShowHidden", "NoPlacesBar"};
    FieldSpec mask = Text("File mask:", 3);
    mask.initial = "Any File|*.*";
    return Fields({
        Text("Title", 0),
        Text("Default extension:", 1),
        Text(open ? "Suggested  file name:" : "File name:", 2),
        mask,
        Text("InitialDir:", 4),
        Options("Options:", 5, std::move(options)),
        Text("Store the selected file(s) in this variable:", 6),
    });
}

} // namespace

DialogSpec DialogActionDialog(int32_t id) {
    switch (id) {
    case 59: return FileDialog(true);
    case 62: return FileDialog(false);
    case 60: {
        FieldSpec font = Text("Font:", 0, PickFont | PickVariable);
        font.fontHint = "Select a Font";
        return Fields({font, Options("Options:", 1, {"AnsiOnly", "TrueType", "ShowEffectsBar"}),
                       Text("Store the selected font in this variable:", 2)});
    }
    case 61: {
        FieldSpec colour = Text("Color:", 0, PickCustom | PickVariable);
        colour.custom.hint = "Select a Color";
        colour.custom.chooser = Chooser::Colour;
        FieldSpec list = Text("Custom color list:", 1, PickCustom | PickVariable);
        list.custom.hint = "Select a CustomColorList";
        list.custom.chooser = Chooser::ColourList;
        list.custom.readColours = ReadCustomColorsLeniently;
        list.custom.writeColours = WriteCustomColors;
        return Fields({
            colour,
            list,
            CheckField("Show custom color panel", 2),
            CheckField("Disable \"Define Custom Color\" button", 3),
            Text("Store the selected color in this variable:", 4),
            Text("Store the selected custom color list in this variable:", 5),
        });
    }
    default: // 63
        return Fields(
            {
                Text("Title:", 0),
                Text("Status text:", 1),
                Text("Root Dir:", 2, PickVariable | PickFolder),
                Options("Options:", 3, {"EditBox", "NoNewFolderButton", "IncludeFiles"}),
                Text("Store the selected dir in this variable:", 4),
            },
            "FolderDialog Properties");
    }
}

} // namespace qor
