#pragma once
// qorSmartEditActiveSpellChecker: lays down the default dictionary, points a
// SmartEdit's engine at a dictionary and sets its checking options.
#include "host/PlugInUtils.h"

namespace qor {

// The default dictionary's files in the temporary folder ("TEMP").
constexpr char kDefaultDictionaryName[] = "en0_US1";

bool qorSmartEditActiveSpellChecker(const Params& params);

} // namespace qor
