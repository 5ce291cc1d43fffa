#include "core/WideIndex.h"

#include <gtest/gtest.h>

namespace {

TEST(WideIndex, WidensLowBitsFromAFloor) {
    const struct {
        uint32_t low;
        int32_t floor;
        int32_t wide;
    } cases[] = {
        {0, 0, 0},           {5, 0, 5},           {3, 65536, 65539},   {0xFFFF, 65536, 131071},
        {2, 65535, 65538},   {65534, 65535, 131070}, {4, 99990, 131076}, {0x86A0, 99990, 100000},
        {0x869F, 99999, 99999},
    };
    for (const auto& c : cases) EXPECT_EQ(qor::WidenLow16(c.low, c.floor), c.wide) << c.low << " from " << c.floor;
}

} // namespace
