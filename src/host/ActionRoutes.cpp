#include "host/ActionRoutes.h"

namespace qor {

const std::vector<ActionRoute>& ActionRoutes() {
    static const std::vector<ActionRoute> routes = {
    };
    return routes;
}

} // namespace qor
