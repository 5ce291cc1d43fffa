#include "core/AttachedControl.h"

#include "core/EventBridge.h"
#include "core/FlagScope.h"
#include "core/ThemedLook.h"
#include "core/WinHandles.h"
#include "host/HostServices.h"

namespace qor {

void AttachedControl::Attach(HWND rectangleWindow) {
    // Every child the kind makes here gets the themed look.
    const ThemedLookScope themed;
    parent_ = rectangleWindow;
    CreateAsChild(rectangleWindow);
    BuildContent();
    ShowWindow(hwnd(), SW_SHOWNA);
    PlaceInParent();
    // The form may have had its final size from the start, and then no
    // WM_SIZE came: lay the content out once in any case.
    RECT client{};
    GetClientRect(hwnd(), &client);
    LayoutContent(client.right, client.bottom);
    AfterPlaced();
}

void AttachedControl::DestroyControl() {
    if (retired_) return;
    retired_ = true;
    // The variables are emptied even when the host destroyed the rectangle's
    // window (and with it this control's window) before the entry went.
    try {
        FlagScope clearing(clearing_);
        ClearMirroredVariables();
    } catch (...) {
        Destroy(); // the window goes whatever the writes did
        throw;
    }
    Destroy();
}

void AttachedControl::PlaceInParent() {
    RECT client{};
    GetClientRect(parent_, &client);
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, client.right - client.left, client.bottom - client.top, SWP_SHOWWINDOW);
}

void AttachedControl::WriteVariable(const std::string& variable, const std::string& value) const {
    if (!variable.empty() && (!IsDestroyed() || clearing_)) SetHostVariable(variable, value);
}

bool AttachedControl::RunEvent(const std::string& subroutine) {
    if (IsDestroyed()) return false;
    // The subroutine may remove this control; the caller's reference (taken by
    // the window procedure) keeps the object valid until the handler returns.
    std::shared_ptr<FormWindow> keepAlive = shared_from_this();
    RunSubroutine(subroutine);
    return !IsDestroyed();
}

namespace {

// WM_PRINT of one window at the DC's origin, clipped to the window's size: a
// background erase fills the whole clip box, which would paint over the
// caller's drawing and over siblings printed before.
void PrintClipped(HWND window, HDC dc, int width, int height) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, width, height);
    SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND | PRF_NONCLIENT);
    RestoreDC(dc, saved);
}

struct PrintTarget {
    HWND root;
    HDC dc;
};

// Prints one descendant of the form at its place relative to the form.
BOOL CALLBACK PrintDescendant(HWND child, LPARAM lParam) {
    const auto& target = *reinterpret_cast<PrintTarget*>(lParam);
    if (!IsWindowVisible(child)) return TRUE;
    RECT window{};
    GetWindowRect(child, &window);
    POINT corner{window.left, window.top};
    ScreenToClient(target.root, &corner);
    const int saved = SaveDC(target.dc);
    // Relative to the origin the caller gave the DC, like the form itself.
    OffsetViewportOrgEx(target.dc, corner.x, corner.y, nullptr);
    PrintClipped(child, target.dc, window.right - window.left, window.bottom - window.top);
    RestoreDC(target.dc, saved);
    return TRUE;
}

} // namespace

void AttachedControl::PaintInto(HDC dc) {
    // The form paints itself, then every descendant (parents before children).
    RECT form{};
    GetWindowRect(hwnd(), &form);
    PrintClipped(hwnd(), dc, form.right - form.left, form.bottom - form.top);
    PrintTarget target{hwnd(), dc};
    EnumChildWindows(hwnd(), PrintDescendant, reinterpret_cast<LPARAM>(&target));
}

LRESULT AttachedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kHostObjectMessage:
        switch (lParam) {
        case ObjectResize:
            PlaceInParent();
            return 0;
        case ObjectPaint:
            if (wParam) PaintInto(reinterpret_cast<HDC>(wParam));
            return 0;
        case ObjectQuery:
            return 0;
        case ObjectDisable:
            EnableWindow(hwnd(), FALSE);
            return 0;
        case ObjectEnable:
            EnableWindow(hwnd(), TRUE);
            return 0;
        }
        break;
    case WM_SIZE:
        LayoutContent(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    return FormWindow::WindowProc(message, wParam, lParam);
}

} // namespace qor
