// Custom colour lists and options lists: every text either reads to sixteen
// slots whose written list reads back to the same slots, or raises the
// integer message; an options list always reads to the asked-for count.
#include "FuzzSupport.h"
#include "dialogs/DialogValues.h"

using namespace qor;
using namespace qor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    Require(ReadOptionList(text, 8).size() == 8, "wrong number of options");
    try {
        const CustomColors colors = ReadCustomColors(text);
        Require(ReadCustomColors(WriteCustomColors(text, colors)) == colors, "written list does not read back");
    } catch (const ScriptError& error) {
        Require(EndsWith(error.what(), "' is not a valid integer value"), "wrong integer message");
    }
    return 0;
}
