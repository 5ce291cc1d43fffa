// Parameter escapes: unescaped text holds no codes, so escaping it and unescaping
// again restores it; a text without codes survives escape then unescape.
#include "FuzzSupport.h"
#include "core/ValueEncodings.h"

#include <initializer_list>

using namespace qor;
using namespace qor::fuzz;

namespace {

bool HasAny(const std::string& text, std::initializer_list<const char*> parts)
{
    for (const char* part : parts)
        if (text.find(part) != std::string::npos)
            return true;
    return false;
}

void CheckFullSet(const std::string& text)
{
    const std::string plain = UnescapeParamText(text);
    Require(!HasAny(plain, {"[#13][#10]", "[#34]", "[#9]"}), "unescaped text still holds a code");
    const std::string escaped = EscapeParamText(plain);
    Require(!HasAny(escaped, {"\r\n", "\"", "  "}), "escaped text still holds a plain character");
    Require(UnescapeParamText(escaped) == plain, "escape then unescape changed the text");
    if (!HasAny(text, {"[#13][#10]", "[#34]", "[#9]"}))
        Require(UnescapeParamText(EscapeParamText(text)) == text, "text without codes did not survive");
}

void CheckLineBreaks(const std::string& text)
{
    const std::string plain = UnescapeLineBreaks(text);
    Require(plain.find("[#13][#10]") == std::string::npos, "unescaped text still holds a line break code");
    const std::string escaped = EscapeLineBreaks(plain);
    Require(escaped.find("\r\n") == std::string::npos, "escaped text still holds CR LF");
    Require(UnescapeLineBreaks(escaped) == plain, "line break escape then unescape changed the text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    CheckFullSet(text);
    CheckLineBreaks(text);
    return 0;
}
