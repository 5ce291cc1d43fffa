#include "trackbar/TrackBarAccessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include "trackbar/UTCustomTrackBar.h"

namespace qor {

namespace {

RECT ToRect(const SliderRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool WriteRect(LPARAM target, const SliderRect& r) {
    if (!target) return false;
    *reinterpret_cast<RECT*>(target) = ToRect(r);
    return true;
}

} // namespace

bool TrackBarAccessible::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
    const SliderRange& range = bar_.Range();
    switch (message) {
    case WM_GETOBJECT: return link_.Answer(window, *this, wParam, lParam, result);
    case TBM_GETPOS: result = range.Value(); return true;
    case TBM_GETRANGEMIN: result = range.Minimum(); return true;
    case TBM_GETRANGEMAX: result = range.Maximum(); return true;
    case TBM_GETLINESIZE: result = 1; return true; // an arrow key moves by one
    case TBM_GETTHUMBRECT: WriteRect(lParam, bar_.Layout().Thumb(range)); result = 0; return true;
    case TBM_GETCHANNELRECT: WriteRect(lParam, bar_.Layout().Track()); result = 0; return true;
    default: return false;
    }
}

bool TrackBarAccessible::Role(long child, long& role) const noexcept {
    if (child != kSelf) return false;
    role = ROLE_SYSTEM_SLIDER;
    return true;
}

bool TrackBarAccessible::Name(long child, std::wstring& name) const noexcept {
    if (child != kSelf) return false;
    name = AccessibleText(bar_.RectangleName());
    return true;
}

bool TrackBarAccessible::Value(long child, std::wstring& value) const noexcept {
    if (child != kSelf) return false;
    try {
        value = std::to_wstring(bar_.Range().Value());
        return true;
    } catch (...) {
        return false;
    }
}

void TrackBarAccessible::State(long child, long& state) const noexcept {
    if (child != kSelf) return;
    state |= STATE_SYSTEM_FOCUSABLE;
    if (bar_.hwnd() && GetFocus() == bar_.hwnd()) state |= STATE_SYSTEM_FOCUSED;
}

} // namespace qor
