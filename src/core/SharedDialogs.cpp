#include "core/SharedDialogs.h"

namespace qor {

DialogSpec RectangleOnlyDialog(const std::string& label) {
    DialogSpec spec;
    spec.fields = {RectangleField(label)};
    return spec;
}

DialogSpec TwoNumberDialog(const std::string& label2, const std::string& label3) {
    DialogSpec spec;
    spec.fields = {
        TextField("&Rectangle:", 0, kRectanglePickers),
        TextField(label2, 1, PickVariable, "1"),
        TextField(label3, 2, PickVariable, "1"),
    };
    return spec;
}

} // namespace qor
