// Timing of the TrackBar against a bare msctls_trackbar32 of the same size:
// the same press on the thumb, the same mouse moves sweeping the track back
// and forth (each followed by a synchronous repaint), and the same release.
//
// The first row measures the drawing alone (no variable, no subroutine); the
// second adds the result variable and a changing subroutine, and the bare
// side hands the same value to the same host store on every move.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

constexpr int kWidth = 300, kHeight = 30;
constexpr int kMoves = 3000;

using qorbench::Best;
using qorbench::Row;

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// Press at (x, y), kMoves moves sweeping 260 pixels right and back, release.
// `afterMove` runs after each repaint.
void Drag(HWND target, int x, int y, const std::function<void()>& afterMove) {
    SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    for (int i = 1; i <= kMoves; ++i) {
        const int step = i % 520;
        const int offset = step < 260 ? step : 520 - step;
        SendMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, Point(x + offset, y));
        UpdateWindow(target);
        afterMove();
    }
    SendMessageA(target, WM_LBUTTONUP, 0, Point(x, y));
    UpdateWindow(target);
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    qorhost::HostEmulator host;
    if (!qorbench::LoadPlugin(host)) return 1;
    host.AddRectangle("Bench", 10, 10, kWidth, kHeight);
    HWND bareParent = host.AddRectangle("Baseline", 10, 60, kWidth, kHeight);
    host.Activate();

    HWND bare = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_HORZ, 0, 0, kWidth, kHeight,
                                bareParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(bare, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageA(bare, TBM_SETPOS, TRUE, 0);
    RECT thumb{};
    SendMessageA(bare, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int bareX = (thumb.left + thumb.right) / 2, bareY = (thumb.top + thumb.bottom) / 2;
    auto resetBare = [&] { SendMessageA(bare, TBM_SETPOS, TRUE, 0); };

    std::printf("TrackBar, %d x %d, %d moves per drag (seconds)\n%-44s %9s %9s %7s\n", kWidth, kHeight, kMoves,
                "case", "plug-in", "bare", "ratio");

    // The plug-in's thumb (20 wide) starts at x 0 for the value 0.
    host.Exec("qorCreateTrackBar", {"Bench", "20", "16", "0", "100", "0", "0", "False", ""});
    HWND mine = host.ControlWindow("Bench");
    if (!mine) {
        std::fprintf(stderr, "cannot create the track bar: %s\n", host.LastError().c_str());
        return 1;
    }
    Row("drag, repaint after every move", Best([&] { Drag(mine, 10, kHeight / 2, [] {}); }),
        Best([&] {
            resetBare();
            Drag(bare, bareX, bareY, [] {});
        }));

    host.Exec("qorCreateTrackBar", {"Bench", "20", "16", "0", "100", "0", "0", "False", "[Pos]"});
    host.DefineSubroutine("Moving", [] {});
    host.Exec("qorTrackBarCaptureEvents", {"Bench", "Moving", "None", "None"});
    mine = host.ControlWindow("Bench");
    Row("drag with variable and changing subroutine", Best([&] { Drag(mine, 10, kHeight / 2, [] {}); }),
        Best([&] {
            resetBare();
            Drag(bare, bareX, bareY, [&] {
                const LRESULT pos = SendMessageA(bare, TBM_GETPOS, 0, 0);
                host.OnSetVariable("[Pos]", std::to_string(pos).c_str());
            });
        }));
    return 0;
}
