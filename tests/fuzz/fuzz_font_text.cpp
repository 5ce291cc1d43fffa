// Font spec reading: any text either reads into a font that writes a spec which
// reads back to the same font and the same spec, or raises an integer message.
#include "FuzzSupport.h"
#include "core/ValueEncodings.h"

using namespace qor;
using namespace qor::fuzz;

namespace {

bool SameFont(const FontSpec& a, const FontSpec& b)
{
    return a.faceName == b.faceName && a.size == b.size && a.bold == b.bold && a.italic == b.italic
        && a.underline == b.underline && a.strikeout == b.strikeout && a.color == b.color;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    FontSpec font;
    try {
        SpecToFont(text, font);
    } catch (const ScriptError& error) {
        // A zero byte inside the failing part cuts the zero-terminated message short.
        const bool complete = text.find('\0') == std::string::npos;
        Require(error.what()[0] == '\'', "font spec message does not quote the text");
        Require(!complete || EndsWith(error.what(), "' is not a valid integer value"), "wrong font spec message");
        return 0;
    }
    Require(font.faceName.find(',') == std::string::npos, "face name holds a comma");
    const std::string spec = FontToSpec(font);
    FontSpec again;
    SpecToFont(spec, again);
    Require(SameFont(again, font), "written spec reads back to another font");
    Require(FontToSpec(again) == spec, "spec changes when written again");
    return 0;
}
