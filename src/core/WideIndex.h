#pragma once
// Some messages of the system controls answer an index in 16 bits: the list
// box hit test (LB_ITEMFROMPOINT) and the edit's character from position
// (EM_CHARFROMPOS, character and line). From index 65,536 on their answers
// name another item. The full index is the one with the same low 16 bits at
// or just above an index known in 32 bits (the top item, the first visible
// line, the start of the line).
#include <cstdint>

namespace qor {

// The smallest index at or above floor (not negative) whose low 16 bits are low16.
constexpr int32_t WidenLow16(uint32_t low16, int32_t floor) {
    const auto base = static_cast<uint32_t>(floor);
    return static_cast<int32_t>(base + ((low16 - base) & 0xFFFFu));
}

} // namespace qor
