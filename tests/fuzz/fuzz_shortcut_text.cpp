// Shortcut text: a text that names a combination gives a value whose canonical
// text reads back to the same value and writes the same text again.
#include "FuzzSupport.h"
#include "hotkeys/ShortCutText.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint32_t value = TextToShortCut(Text(data, size));
    Require((value & kHotKeyWin) == 0, "text produced the Windows key bit");
    if (value == 0)
        return 0;
    const std::string canonical = ShortCutToText(value);
    Require(!canonical.empty(), "a value read from text has no text");
    Require(TextToShortCut(canonical) == value, "canonical text reads to another value");
    Require(ShortCutToText(TextToShortCut(canonical)) == canonical, "canonical text is not stable");
    return 0;
}
