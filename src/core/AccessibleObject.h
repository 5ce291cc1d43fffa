#pragma once
// Accessibility for windows the plug-in draws or extends itself. The
// system's standard object for the window answers what it can (location,
// navigation, focus, hit testing; on Windows also a list box's items); the
// control's AccessibleFacts add what only the control knows (a slider's role
// and value, the check state of list items).
//
// The control owns its object through an AccessibleLink member: the object is
// made on the first WM_GETOBJECT for the client area and cut off when the
// link dies with the control. A client that still holds the object then gets
// RPC_E_DISCONNECTED instead of reaching a dead control.
#include <windows.h>

#include <string>

#include "core/ComHandles.h"

namespace qor {

// Children are counted from 1; kSelf (CHILDID_SELF) is the window itself.
// Each answer returns false to keep the standard object's answer. They run
// inside a client's call and must not throw.
class AccessibleFacts {
public:
    static constexpr long kSelf = 0;
    virtual bool Role(long child, long& role) const noexcept = 0;
    virtual bool Name(long child, std::wstring& name) const noexcept = 0;
    virtual bool Value(long child, std::wstring& value) const noexcept = 0;
    // `state` holds the standard object's state (0 when it has none).
    virtual void State(long child, long& state) const noexcept = 0;
    // The number of simple children; -1: as the standard object counts.
    virtual long ChildCount() const noexcept = 0;

protected:
    ~AccessibleFacts() = default;
};

// The host's ANSI text as clients read it; empty when it cannot be converted.
std::wstring AccessibleText(const std::string& ansi) noexcept;

class AccessibleObject;

class AccessibleLink {
public:
    AccessibleLink();
    ~AccessibleLink();
    AccessibleLink(const AccessibleLink&) = delete;
    AccessibleLink& operator=(const AccessibleLink&) = delete;

    // Answers WM_GETOBJECT. For the client area: true, with `result` the
    // reference for the client; the standard object is the system's object
    // for the window's own class. False for any other object id, or when no
    // object can be made: the message then goes to DefWindowProc.
    bool Answer(HWND window, AccessibleFacts& facts, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    // Cuts the object off from the control (once the control is going).
    void Disconnect() noexcept;

    // Tells accessibility clients that something they may show changed.
    static void ValueChanged(HWND window) noexcept;
    static void StateChanged(HWND window, long child) noexcept;

private:
    ComPtr<AccessibleObject> object_;
};

} // namespace qor
