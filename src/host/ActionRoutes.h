#pragma once
// The table that connects action ids to the handlers of each subsystem.
#include <cstdint>
#include <utility>
#include <vector>

#include "host/ExecDispatch.h"

namespace qor {

// A handler reads its parameters; one that keeps a text (the item an add
// stores) takes them over instead, so a long text is not copied once more.
struct ActionRoute {
    ActionRoute(int32_t id, bool (*reads)(const Params&)) : id(id), reads(reads) {}
    ActionRoute(int32_t id, bool (*takes)(Params&&)) : id(id), takes(takes) {}

    bool Run(Params&& params) const { return takes ? takes(std::move(params)) : reads(params); }

    int32_t id;
    bool (*reads)(const Params&) = nullptr;
    bool (*takes)(Params&&) = nullptr;
};

const std::vector<ActionRoute>& ActionRoutes();

} // namespace qor
