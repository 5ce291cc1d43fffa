#include "core/EventBridge.h"

#include "host/HostServices.h"

namespace qor {

void RunSubroutine(const std::string& name) {
    if (!name.empty()) RunScriptLine(GoSubLine(name));
}

} // namespace qor
