#include "host/HostServices.h"

#include "host/PlugInUtils.h"

namespace qor {

namespace {

// Takes ownership of a host string for the scope and releases it at the end.
class OwnedHostString {
public:
    OwnedHostString() = default;
    ~OwnedHostString() { ReleaseHostString(text_); }
    OwnedHostString(const OwnedHostString&) = delete;
    OwnedHostString& operator=(const OwnedHostString&) = delete;
    HostString* address() { return &text_; }
    std::string str() const { return text_ ? std::string(text_) : std::string(); }

private:
    HostString text_ = nullptr;
};

} // namespace

std::string GetHostVariable(const std::string& name) {
    auto read = Slots().getVariable;
    if (!read) return {};
    OwnedHostString value;
    read(name.c_str(), value.address());
    return value.str();
}

void SetHostVariable(const std::string& name, const std::string& value) {
    if (auto write = Slots().setVariable) write(name.c_str(), value.c_str());
}

void RunScriptLine(const std::string& line) {
    if (auto run = Slots().scriptProcessor) run(line.c_str());
}

bool RequestHost(int32_t request, const std::string* textIn, std::string& answer) {
    answer.clear();
    auto access = Slots().interfaceAccess;
    if (!access) return false;
    OwnedHostString text;
    if (textIn) AssignHostString(*text.address(), *textIn);
    const bool answered = access(request, text.address());
    answer = text.str();
    return answered;
}

void ReportError(const std::string& message) noexcept {
    try {
        SetHostVariable(kLastErrorVariable, message);
    } catch (...) {
        // Nothing more can be reported when writing the report itself fails.
    }
}

} // namespace qor
