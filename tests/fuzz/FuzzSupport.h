#pragma once
// Shared checks for the fuzz targets: a failed check aborts, which libFuzzer
// reports as a crash together with the input that caused it.
#include "core/ScriptError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qor::fuzz {

inline std::string Text(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

inline bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The message a conversion failure must carry for `text`, up to the first zero
// byte (the message travels as a zero-terminated string).
inline std::string ConversionMessage(const std::string& text, const char* kind)
{
    return ("'" + text + "' is not a valid " + kind + " value").c_str();
}

} // namespace qor::fuzz
