#include "hotkeys/HotKeyDialogs.h"

#include "core/AnsiText.h"
#include "core/SharedDialogs.h"
#include "hotkeys/ShortCutCapture.h"
#include "hotkeys/ShortCutText.h"

namespace qor {

namespace {

// Add and delete of the global manager: a combination captured, OR a variable
// typed; the hidden holder (parameter 1) always has what the author sees last.
void GlobalKeyBehaviour(DialogModel& m, DialogEvent event, int field) {
    const int capture = 0, variable = 2, holder = m.FieldOf(0);
    const HotKeyCodec codec = ShortCutCaptureCodec();
    if (event == DialogEvent::Shown) {
        const std::string stored = m[holder].text;
        m[capture].hotKey = stored.empty() ? 0 : codec.fromText(stored);
        const bool isVariable = !stored.empty() && m[capture].hotKey == 0;
        if (isVariable) m[variable].text = stored;
        m.focus = isVariable ? variable : capture;
        return;
    }
    // Entering a field clears the other one; the holder changes only when a
    // field did.
    bool changed = event == DialogEvent::Changed;
    if (field == capture) {
        changed = changed || !m[variable].text.empty();
        m[variable].text.clear();
    } else if (field == variable) {
        changed = changed || m[capture].hotKey != 0;
        m[capture].hotKey = 0;
    } else {
        return;
    }
    if (changed) m[holder].text = m[capture].hotKey ? codec.toText(m[capture].hotKey) : m[variable].text;
}

FieldSpec ActionRow() {
    FieldSpec row = EventField("Action:", 1, PickFile | PickVariable);
    row.codec = TextCodec::ParamText;
    row.choicePrefix = ":";
    return row;
}

} // namespace

DialogSpec HotKeyFileDialog(int32_t id) {
    const bool load = id == 3 || id == 66 || id == 70;
    FieldSpec file = TextField("&File", 0, PickVariable | PickFile).Always();
    file.file.filter = "Any files *.*|*.*";
    file.file.pathMustExist = true;
    DialogSpec spec;
    spec.fields = {file, CheckField(load ? "Decrypt before load" : "Encrypt before save", 1)};
    return spec;
}

DialogSpec HotKeyFieldDialog(int32_t id) {
    DialogSpec spec;
    switch (id) {
    case 1:
        spec.fields = {
            RectangleField("Rectangle:"),
            TextField("Font:", 1, kFontPickers, "'Arial', 10, (), (clBlack)"),
            EventField("On hotkey press (Optional):", 2),
            TextField("Store the hot key in this variable:", 3, PickVariable).Always(),
            NoteField("This variable will contain ERROR on hotkey registration failure. ", NoteStyle::Cream, 2),
        };
        return spec;
    case 23:
        spec.fields = {RectangleField(), HotKeyField("HotKey to set:", 1, ShortCutCaptureCodec())};
        return spec;
    default: return RectangleOnlyDialog("&Rectangle:"); // 2
    }
}

DialogSpec KeyManagerDialog(int32_t id) {
    DialogSpec spec;
    if (id == 64 || id == 65) {
        spec.behaviour = GlobalKeyBehaviour;
        spec.fields = {
            HotKeyField("HotKey:", -1, ShortCutCaptureCodec()),
            NoteField("OR", NoteStyle::RedBold),
            TextField("Variable:", -1, PickVariable),
            TextField("", 0).Hidden(),
        };
    } else {
        FieldSpec key = TextField("LocalKey:", 0, PickVariable).Always();
        key.keyDown = KeyDownText;
        key.keyUp = KeyUpText;
        spec.fields = {key};
    }
    if (id == 64 || id == 68) spec.fields.push_back(ActionRow());
    return spec;
}

std::string KeyDownText(uint32_t keyCode, bool ctrl, bool alt, bool shift) {
    std::string text = std::string(ctrl ? "Ctrl+" : "") + (alt ? "Alt+" : "") + (shift ? "Shift+" : "");
    const std::string name = KeyName(keyCode);
    const std::string lower = AnsiLowerCase(name);
    if (lower != "ctrl" && lower != "alt" && lower != "shift") text += name;
    return text;
}

std::string KeyUpText(const std::string& text) { return ShortCutToText(TextToShortCut(text)); }

} // namespace qor
