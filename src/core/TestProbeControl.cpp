#ifdef QOR_TEST_BUILD
#include "core/TestProbeControl.h"

#include "core/ControlRegistry.h"
#include "core/WinHandles.h"
#include "host/HostServices.h"

namespace qor {

namespace {

class TestProbe final : public AttachedControl {
public:
    TestProbe(ControlKind kind, const Params& params)
        : AttachedControl(kind, params.at(0)), resultVariable_(params.at(1)), clickSub_(params.at(2)),
          failDuringBuild_(params.at(3) == "fail") {}

protected:
    void BuildContent() override {
        if (failDuringBuild_) throw ScriptError("The probe was told to fail.");
    }

    void ClearMirroredVariables() override { WriteVariable(resultVariable_, ""); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd(), &r);
            UniqueBrush fill(CreateSolidBrush(kTestProbeColor));
            FillRect(reinterpret_cast<HDC>(wParam), &r, fill.get());
            return 1;
        }
        case WM_PRINTCLIENT:
            return WindowProc(WM_ERASEBKGND, wParam, 0);
        case WM_LBUTTONUP:
            WriteVariable(resultVariable_, "clicked " + std::to_string(++clicks_));
            if (!RunEvent(clickSub_)) return 0;
            // Still alive: a second write proves the handler went on.
            WriteVariable(resultVariable_ + ".after", std::to_string(clicks_));
            return 0;
        }
        return AttachedControl::WindowProc(message, wParam, lParam);
    }

private:
    std::string resultVariable_;
    std::string clickSub_;
    bool failDuringBuild_;
    int clicks_ = 0;
};

} // namespace

bool CreateTestProbe(int32_t id, const Params& params) {
    const auto kind = static_cast<ControlKind>(id - kTestProbeFirstId);
    CreateAttachedControl(std::make_shared<TestProbe>(kind, params));
    return true;
}

} // namespace qor
#endif
