#pragma once
// What the plug-in asks of the host, in plug-in terms: variables, script lines
// and interface requests. A callback the host has not supplied is skipped.
#include <cstdint>
#include <exception>
#include <string>

namespace qor {

constexpr char kLastErrorVariable[] = "[qorBrindavelLastError]";

// The variable's current text; empty when the host supplied no reader.
std::string GetHostVariable(const std::string& name);
void SetHostVariable(const std::string& name, const std::string& value);
void RunScriptLine(const std::string& line);

// Sends an interface request. The text goes in as a host string (none when
// textIn is null); whatever block the host leaves there is read into answer and
// released. Returns the host's boolean; false when no access callback exists.
bool RequestHost(int32_t request, const std::string* textIn, std::string& answer);

// Writes a failure's message to the LastError variable.
void ReportError(const std::string& message) noexcept;

// Runs an action body: every exception becomes a LastError message and false.
template <typename Body>
bool RunGuarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        ReportError(e.what());
    } catch (...) {
        ReportError("An unexpected error occurred.");
    }
    return false;
}

} // namespace qor
