#include "host/ExecDispatch.h"

#include <array>

#include "host/ActionCatalogue.h"
#include "host/ActionRoutes.h"
#include "host/HostServices.h"
#include "core/TestProbeControl.h"

namespace qor {

namespace {

using RouteTable = std::array<const ActionRoute*, kLastActionId + 1>;

RouteTable BuildRoutes() {
    RouteTable table{};
    for (const ActionRoute& route : ActionRoutes())
        if (route.id >= kFirstActionId && route.id <= kLastActionId) table[route.id] = &route;
    return table;
}

Params CopyParameters(const CatalogueEntry& entry, const HostString* params) {
    Params copy;
    copy.reserve(entry.count);
    for (int i = 0; i < entry.count; ++i)
        copy.emplace_back(params && params[i] ? params[i] : "");
    return copy;
}

} // namespace

const ActionRoute* RouteFor(int32_t id) {
    static const RouteTable routes = BuildRoutes();
    if (id < kFirstActionId || id > kLastActionId) return nullptr;
    return routes[id];
}

bool ExecuteAction(int32_t id, const HostString* params) noexcept {
#ifdef QOR_TEST_BUILD
    if (id >= kTestProbeFirstId && id < kTestProbeFirstId + kControlKindCount)
        return RunGuarded([&] {
            Params copy;
            for (int i = 0; i < 4; ++i) copy.emplace_back(params && params[i] ? params[i] : "");
            return CreateTestProbe(id, copy);
        });
#endif
    const CatalogueEntry* entry = FindAction(id);
    if (!entry) return false;
    return RunGuarded([&] {
        const ActionRoute* route = RouteFor(id);
        if (!route) {
            ReportError(std::string(entry->name) + " is not available in this version of qorBrindavel.");
            return false;
        }
        return route->Run(CopyParameters(*entry, params));
    });
}

} // namespace qor
