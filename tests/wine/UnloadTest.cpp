// A host that unloads the plug-in without discarding its controls first (no
// nbMessage code 2) must be able to go on sending messages to the rectangles
// and the windows left in them: nothing may point into the unloaded image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AllKinds.h"
#include "HostEmulator.h"

using qorhost::HostEmulator;
using qortest::AllKinds;
using qortest::LateWindowActions;

namespace {

struct ImageRange {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    bool Holds(uintptr_t address) const { return address >= begin && address < end; }
};

ImageRange RangeOf(HMODULE module) {
    const auto base = reinterpret_cast<uintptr_t>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return {base, base + nt->OptionalHeader.SizeOfImage};
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
    return TRUE;
}

// The window and all its descendants.
std::vector<HWND> WindowTree(HWND window) {
    std::vector<HWND> windows{window};
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST(Unload, WithoutDiscardingTheControlsLeavesNoWindowPointingIntoTheImage) {
    HostEmulator host;
    ASSERT_TRUE(host.Load());
    int y = 10;
    for (const auto& kind : AllKinds()) {
        host.AddRectangle(kind.rect, 10, y, 200, 60);
        y += 70;
        ASSERT_TRUE(host.Exec(kind.action, kind.params)) << kind.action << ": " << host.LastError();
    }
    host.AddRectangle("PR", 220, 10, 100, 40);
    ASSERT_TRUE(host.Exec(1006, {"PR", "[P]", "Sub", ""})) << "a test probe registered as a track bar";
    // Subclassed windows made after creation.
    for (const auto& late : LateWindowActions()) ASSERT_TRUE(host.Exec(late.action, late.params)) << late.action;
    host.Pump(20);

    std::vector<std::string> rects;
    for (const auto& kind : AllKinds()) rects.push_back(kind.rect);
    rects.push_back("PR");
    std::vector<HWND> controls;
    for (const auto& rect : rects) {
        controls.push_back(host.ControlWindow(rect));
        ASSERT_NE(controls.back(), nullptr) << rect;
    }
    const ImageRange image = RangeOf(host.module());
    host.ClearLog();
    host.UnloadWithoutCleanup();

    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(rects[i]);
        for (HWND window : WindowTree(controls[i]))
            EXPECT_FALSE(image.Holds(static_cast<uintptr_t>(GetWindowLongPtrA(window, GWLP_WNDPROC))));
        EXPECT_EQ(GetWindowLongPtrA(controls[i], GWLP_USERDATA), 0);
        // What a host does next with the rectangle and whatever is in it.
        EXPECT_EQ(host.SendObjectMessage(controls[i], 4), 0);
        HDC dc = GetDC(host.window());
        host.SendObjectMessage(controls[i], 5, reinterpret_cast<WPARAM>(dc));
        ReleaseDC(host.window(), dc);
        for (LPARAM code : {6, 7, 8}) host.SendObjectMessage(controls[i], code);
        SendMessageA(controls[i], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(controls[i], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        for (HWND window : WindowTree(controls[i])) {
            SendMessageA(window, WM_SIZE, 0, MAKELPARAM(150, 50));
            SendMessageA(window, WM_CHAR, 'x', 0);
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
        }
        host.Pump(20);
        EXPECT_FALSE(IsWindowVisible(controls[i])) << "the left-behind window is hidden";
    }
    EXPECT_TRUE(host.log().empty()) << "nothing reaches the host from the unloaded plug-in";

    // The host can still destroy its rectangles, and load the plug-in again.
    for (const auto& rect : rects) host.RemoveRectangle(rect);
    for (HWND control : controls) EXPECT_FALSE(IsWindow(control));
    ASSERT_TRUE(host.Load());
    host.AddRectangle("Again", 10, 10, 200, 60);
    EXPECT_TRUE(host.Exec("qorCreateListBox", {"Again", "0", "0", "x\r\ny", "0", "0", "", "0", "1", "[A]"}));
    EXPECT_NE(host.ControlWindow("Again"), nullptr);
}

} // namespace
