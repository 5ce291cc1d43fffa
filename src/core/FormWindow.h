#pragma once
// The borderless window behind every attached control, and the rule that keeps
// its C++ object alive for as long as any message of the window is being
// handled: a host subroutine run from an event may destroy the control, so the
// object may outlive its window but never the other way round.
#include <windows.h>

#include <memory>

namespace qor {

// Called when the library unloads: the window class goes with the code.
void UnregisterFormClass() noexcept;

// Called when the library unloads while forms still exist (a host that skipped
// the destroy-all message): every subclassed child gets its own window
// procedure back and every form window gets DefWindowProcA and is hidden, so
// that no window keeps a procedure inside the unloaded image. Nothing is
// destroyed and no message is sent: this runs under the loader lock, where
// destroying windows would run the host's code (parent notifications, focus
// changes) and would fail for windows of another thread. The forms' objects
// stay allocated (their windows keep them), so the fonts and brushes the
// left-behind windows still use stay valid until the process ends.
void HandBackWindowsAtUnload() noexcept;

class FormWindow : public std::enable_shared_from_this<FormWindow> {
public:
    FormWindow() = default;
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // True once Destroy ran or the window went away; a destroyed form writes
    // no variables and runs no subroutines.
    bool IsDestroyed() const { return destroyed_; }

    // Creates the window as a hidden child of parent. Throws on failure.
    void CreateAsChild(HWND parent);
    // Destroys the window (once). Safe to call from inside the form's own
    // message handling.
    void Destroy() noexcept;

    // Keeps a child control's messages under the same lifetime rule: its
    // window procedure is replaced by one that holds the form alive.
    void Subclass(HWND child);

protected:
    // Messages of the form window. Exceptions never leave it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Messages of a subclassed child; the default passes them on.
    virtual LRESULT ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginalChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool destroyed_ = false;
    // The window's own reference to its object, dropped at WM_NCDESTROY.
    std::shared_ptr<FormWindow> selfWhileWindowExists_;
};

} // namespace qor
