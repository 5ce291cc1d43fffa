#pragma once
// Routing of nbExecAction: action id -> handler, parameters copied as texts.
#include <cstdint>
#include <string>
#include <vector>

#include "host/PlugInUtils.h"

namespace qor {

struct ActionRoute;

// Runs action id with the host's parameter vector. Ids outside 1..73 answer
// false without reading anything; every other failure lands in LastError.
bool ExecuteAction(int32_t id, const HostString* params) noexcept;

// The route of an id; nullptr when the action is not available in this build
// (it then reports so and answers false).
const ActionRoute* RouteFor(int32_t id);

} // namespace qor
