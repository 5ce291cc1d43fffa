#include "host/ActionRoutes.h"

#include "core/ControlRegistry.h"

namespace qor {

namespace {

template <ControlKind kind>
bool RemoveKind(const Params& params) {
    return RemoveAction(kind, params[0]);
}

} // namespace

const std::vector<ActionRoute>& ActionRoutes() {
    static const std::vector<ActionRoute> routes = {
        // The seven remove actions.
        {2, RemoveKind<ControlKind::HotKey>},
        {17, RemoveKind<ControlKind::DropDown>},
        {22, RemoveKind<ControlKind::ListBox>},
        {28, RemoveKind<ControlKind::SmartEdit>},
        {45, RemoveKind<ControlKind::FileDragDrop>},
        {50, RemoveKind<ControlKind::TrackBar>},
        {56, RemoveKind<ControlKind::CheckListBox>},
    };
    return routes;
}

} // namespace qor
