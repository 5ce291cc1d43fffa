#pragma once
// How controls talk back to the running publication.
#include <string>

namespace qor {

// The script line that runs a host subroutine: GoSub "Name".
inline std::string GoSubLine(const std::string& name) { return "GoSub \"" + name + "\""; }

// A capture-events parameter: "None" keeps the current subroutine, anything
// else (the empty text too) replaces it.
inline void ApplyCapture(std::string& subroutine, const std::string& parameter) {
    if (parameter != "None") subroutine = parameter;
}

// Sends GoSub "Name" to the host's script processor; nothing for an empty name.
void RunSubroutine(const std::string& name);

} // namespace qor
