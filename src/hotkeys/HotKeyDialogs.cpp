#include "hotkeys/HotKeyDialogs.h"

namespace qor {

DialogSpec HotKeyFileDialog(int32_t id) {
    const bool load = id == 3 || id == 66 || id == 70;
    FieldSpec file = TextField("&File", 0, PickVariable | PickFile).Always();
    file.file.filter = "Any files *.*|*.*";
    file.file.pathMustExist = true;
    DialogSpec spec;
    spec.fields = {file, CheckField(load ? "Decrypt before load" : "Encrypt before save", 1)};
    return spec;
}

} // namespace qor
