// Whole-number reading: a text that reads must match an independent decimal
// reading where one applies, and its decimal and "$" forms must read back to the
// same value; a text that does not read must raise exactly the integer message.
#include "FuzzSupport.h"
#include "core/ValueEncodings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace qor;
using namespace qor::fuzz;

namespace {

// Blanks, an optional sign and 1 to 18 decimal digits: strtoll reads these exactly.
bool IsShortDecimal(const std::string& text)
{
    size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos)
        return false;
    if (text[pos] == '+' || text[pos] == '-')
        ++pos;
    const size_t digits = text.size() - pos;
    return digits >= 1 && digits <= 18 && text.find_first_not_of("0123456789", pos) == std::string::npos;
}

void CheckDecimalAgreement(const std::string& text, bool read, int32_t value)
{
    if (!IsShortDecimal(text))
        return;
    const long long reference = std::strtoll(text.c_str(), nullptr, 10);
    const bool inRange = reference >= INT32_MIN && reference <= INT32_MAX;
    Require(read == inRange, "decimal range differs from strtoll");
    Require(!read || value == reference, "decimal value differs from strtoll");
}

void CheckWrittenFormsReadBack(int32_t value)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(value));
    Require(TextToInt(std::to_string(value)) == value, "decimal form does not read back");
    Require(TextToInt(hex) == value, "hexadecimal form does not read back");
}

// Blanks, an optional "+" and decimal digits, any number of them: the value,
// or -1 when it passes 2^32 - 1; -2 when the text is not of that form.
long long UnsignedDecimal(const std::string& text)
{
    size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos)
        return -2;
    if (text[pos] == '+')
        ++pos;
    if (pos == text.size() || text.find_first_not_of("0123456789", pos) != std::string::npos)
        return -2;
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > 0xFFFFFFFFLL)
            return -1;
    }
    return value;
}

// Window handles: every whole number reads to its 32-bit pattern, unsigned
// decimals above the signed range read too, and nothing else does.
void CheckHandleReading(const std::string& text, bool read, int32_t value)
{
    const long long unsignedValue = UnsignedDecimal(text);
    try {
        const uint32_t handle = TextToHandleValue(text);
        if (read)
            Require(handle == static_cast<uint32_t>(value), "handle differs from the whole number");
        else
            Require(unsignedValue > INT32_MAX && handle == unsignedValue, "handle read a text it must refuse");
    } catch (const ScriptError& error) {
        Require(!read && unsignedValue < 0, "a handle text in range failed");
        Require(error.what() == ConversionMessage(text, "integer"), "wrong handle message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = Text(data, size);
    int32_t value = 0;
    const bool read = TryTextToInt(text, value);
    CheckDecimalAgreement(text, read, value);
    try {
        Require(TextToInt(text) == value && read, "TextToInt disagrees with TryTextToInt");
        CheckWrittenFormsReadBack(value);
    } catch (const ScriptError& error) {
        Require(!read, "TextToInt failed on a text that reads");
        Require(error.what() == ConversionMessage(text, "integer"), "wrong integer message");
    }
    CheckHandleReading(text, read, value);
    return 0;
}
