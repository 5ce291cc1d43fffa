#pragma once
// The table that connects action ids to the handlers of each subsystem.
#include <cstdint>
#include <vector>

#include "host/ExecDispatch.h"

namespace qor {

struct ActionRoute {
    int32_t id;
    ActionHandler handler;
};

const std::vector<ActionRoute>& ActionRoutes();

} // namespace qor
