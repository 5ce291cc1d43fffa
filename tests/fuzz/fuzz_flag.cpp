// Flag reading: every text either gives a flag whose written form reads back to
// it, or raises exactly the boolean message.
#include "FuzzSupport.h"
#include "core/ValueEncodings.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    try {
        const bool flag = TextToFlag(text);
        Require(TextToFlag(FlagToText(flag)) == flag, "written flag does not read back");
    } catch (const ScriptError& error) {
        Require(error.what() == ConversionMessage(text, "boolean"), "wrong boolean message");
    }
    return 0;
}
