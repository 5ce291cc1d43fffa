#pragma once
// The one exception type that carries a message meant for the script author.
// Action handlers catch it (and everything else) and write what() to the
// LastError variable; nothing is allowed to leave the DLL as an exception.
#include <stdexcept>
#include <string>

namespace qor {

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace qor
