#pragma once
// The TrackBar as accessibility clients see it: a slider named after its
// rectangle, whose value is the position. It also answers the trackbar
// control's position, range and geometry queries, which screen readers send
// to a window they are told to treat as a slider.
#include <windows.h>

#include "core/AccessibleObject.h"

namespace qor {

class TFMCustomTrackBar;

class TrackBarAccessible final : public AccessibleFacts {
public:
    explicit TrackBarAccessible(const TFMCustomTrackBar& bar) : bar_(bar) {}

    // WM_GETOBJECT and the slider queries; true with `result` when answered.
    bool Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    // The window is going: clients keep nothing that reaches the slider.
    void Disconnect() noexcept { link_.Disconnect(); }

    bool Role(long child, long& role) const noexcept override;
    bool Name(long child, std::wstring& name) const noexcept override;
    bool Value(long child, std::wstring& value) const noexcept override;
    void State(long child, long& state) const noexcept override;
    long ChildCount() const noexcept override { return -1; }

private:
    const TFMCustomTrackBar& bar_;
    AccessibleLink link_;
};

} // namespace qor
