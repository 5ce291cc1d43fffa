#include "host/EditRoutes.h"

#include "core/SharedDialogs.h"
#include "hotkeys/HotKeyDialogs.h"

namespace qor {

namespace {

DialogSpec RectangleOnly(int32_t) { return RectangleOnlyDialog(); }

} // namespace

const std::vector<EditRoute>& EditRoutes() {
    static const std::vector<EditRoute> routes = {
        // Hot key field and key managers: the shared file dialog.
        {3, HotKeyFileDialog},
        {4, HotKeyFileDialog},
        {66, HotKeyFileDialog},
        {67, HotKeyFileDialog},
        {70, HotKeyFileDialog},
        {71, HotKeyFileDialog},
        {72, RectangleOnly},
        // SmartEdit editing commands: the rectangle only.
        {29, RectangleOnly},
        {30, RectangleOnly},
        {31, RectangleOnly},
        {32, RectangleOnly},
        {33, RectangleOnly},
        {34, RectangleOnly},
        {35, RectangleOnly},
        {36, RectangleOnly},
        {37, RectangleOnly},
        {38, RectangleOnly},
        {39, RectangleOnly},
    };
    return routes;
}

} // namespace qor
