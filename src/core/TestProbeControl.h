#pragma once
// A control that exists only in the test build: a plain coloured window with a
// result variable and a click subroutine. It can be registered under any of the
// seven kinds, so the registry and the attachment protocol can be exercised on
// their own.
#ifdef QOR_TEST_BUILD
#include "core/ControlKind.h"
#include "host/PlugInUtils.h"

namespace qor {

constexpr int32_t kTestProbeFirstId = 1001; // 1001 + kind index creates a probe
constexpr COLORREF kTestProbeColor = RGB(0xC8, 0x1E, 0x1E);

// Parameters: rectangle, result variable, click subroutine, and "fail" to make
// the creation fail after the window exists.
bool CreateTestProbe(int32_t id, const Params& params);

} // namespace qor
#endif
