#include "host/EditTestDialog.h"

#ifdef QOR_TEST_BUILD
#include "hotkeys/ShortCutCapture.h"

namespace qor {

namespace {

enum Field { Capture, Or, Variable, Holder, Cream, Options, Flag, Check, Folder, Custom };

// A custom picker: marks the text it was handed.
bool MarkText(void* owner, std::string& text) {
    if (!owner) return false;
    text = "<" + text + ">";
    return true;
}

void HolderBehaviour(DialogModel& m, DialogEvent event, int field) {
    const HotKeyCodec codec = ShortCutCaptureCodec();
    if (event == DialogEvent::Shown) {
        m[Capture].hotKey = codec.fromText(m[Holder].text);
        if (!m[Capture].hotKey) m[Variable].text = m[Holder].text;
    } else if (event == DialogEvent::Changed && field == Capture) {
        m[Holder].text = codec.toText(m[Capture].hotKey);
        m[Variable].text.clear();
    } else if (event == DialogEvent::Changed && field == Variable) {
        m[Holder].text = m[Variable].text;
        m[Capture].hotKey = 0;
    } else if (event == DialogEvent::Entered && field == Variable) {
        m[Capture].hotKey = 0;
    }
    m[Flag].enabled = m[Check].check != 1; // disabled while the box is ticked
}

} // namespace

DialogSpec TestDialog(int32_t) {
    DialogSpec spec;
    spec.caption = "Engine Test Properties";
    spec.behaviour = HolderBehaviour;
    spec.fields = {
        HotKeyField("HotKey:", -1, ShortCutCaptureCodec()),
        NoteField("OR", NoteStyle::RedBold),
        TextField("Variable:", -1, PickVariable),
        TextField("holder", 0).Always().Hidden(),
        NoteField("This variable will contain ERROR on hotkey registration failure. ", NoteStyle::Cream, 2),
        OptionsField("Options:", 1, {"EditBox", "NoNewFolderButton", "IncludeFiles"}),
        TriStateField("Show caption:", 2),
        CheckField("Attach to windows volume slider", 3),
        TextField("Root Dir:", -1, PickFolder),
        TextField("Custom:", -1, PickCustom),
    };
    spec.fields[Custom].custom = {"Mark the text", MarkText};
    return spec;
}

} // namespace qor
#endif
