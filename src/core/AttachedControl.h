#pragma once
// The part every attached control shares: the rectangle it lives in, the host
// object message, variable writes and event subroutines under the lifetime
// rule of FormWindow.
#include <string>

#include "core/ControlKind.h"
#include "core/FormWindow.h"

namespace qor {

// Sent by the host to an attached control's window; the sub-code is in LPARAM.
constexpr UINT kHostObjectMessage = WM_USER + 250;
enum HostObjectSubCode : LPARAM {
    ObjectResize = 4,
    ObjectPaint = 5,
    ObjectQuery = 6,
    ObjectDisable = 7,
    ObjectEnable = 8,
};

class AttachedControl : public FormWindow {
public:
    AttachedControl(ControlKind kind, std::string rectangleName)
        : kind_(kind), rectangleName_(std::move(rectangleName)) {}

    ControlKind kind() const { return kind_; }
    const std::string& RectangleName() const { return rectangleName_; }
    HWND ParentWindow() const { return parent_; }

    // Create protocol, steps 4 to 6: the window inside the rectangle's window,
    // the kind's content and settings, placement over the whole client area.
    void Attach(HWND rectangleWindow);
    // Runs the kind's destruction writes, then destroys the window; once.
    // The window is destroyed even when a write throws (the exception then
    // goes on to the caller).
    void DestroyControl();

    // Fills the parent's client area at (0, 0), on top of its siblings.
    void PlaceInParent();

    // Writes a host variable when its name is not empty and the control lives.
    void WriteVariable(const std::string& variable, const std::string& value) const;
    // Runs the event's subroutine (when named). Returns false when the control
    // was destroyed meanwhile: the caller must then stop touching it.
    bool RunEvent(const std::string& subroutine);

protected:
    // The kind's child controls and settings; the window exists but is hidden.
    virtual void BuildContent() {}
    // After placement (e.g. fonts that need the final size).
    virtual void AfterPlaced() {}
    // The client area changed size: lay out the children.
    virtual void LayoutContent(int /*width*/, int /*height*/) {}
    // Destruction writes: every named mirrored variable gets the empty text.
    virtual void ClearMirroredVariables() {}
    // The kind's messages; the default handles sizing and the host object message.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintInto(HDC dc);

    bool retired_ = false;  // the destruction writes have run
    bool clearing_ = false; // they are running: writes pass even without a window

    ControlKind kind_;
    std::string rectangleName_;
    HWND parent_ = nullptr;
};

} // namespace qor
