#pragma once
// One small owning type per Win32 handle kind. Each is move-only, releases its
// handle exactly once with the matching API, and never throws.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <utility>

namespace qor {

template <typename Handle, typename Closer>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Handle{}) Closer{}(old);
    }

private:
    Handle handle_{};
};

struct WindowCloser { void operator()(HWND h) const noexcept { DestroyWindow(h); } };
struct GdiObjectCloser { void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); } };
struct FontCloser { void operator()(HFONT h) const noexcept { DeleteObject(h); } };
struct BrushCloser { void operator()(HBRUSH h) const noexcept { DeleteObject(h); } };
struct BitmapCloser { void operator()(HBITMAP h) const noexcept { DeleteObject(h); } };
struct MemoryDcCloser { void operator()(HDC h) const noexcept { DeleteDC(h); } };
struct GlobalCloser { void operator()(HGLOBAL h) const noexcept { GlobalFree(h); } };
struct HookCloser { void operator()(HHOOK h) const noexcept { UnhookWindowsHookEx(h); } };
struct GlobalAtomCloser { void operator()(ATOM a) const noexcept { GlobalDeleteAtom(a); } };
struct LibraryCloser { void operator()(HMODULE h) const noexcept { FreeLibrary(h); } };
struct KernelHandleCloser { void operator()(HANDLE h) const noexcept { CloseHandle(h); } };
struct PaletteCloser { void operator()(HPALETTE h) const noexcept { DeleteObject(h); } };
struct MenuCloser { void operator()(HMENU h) const noexcept { DestroyMenu(h); } };
struct PenCloser { void operator()(HPEN h) const noexcept { DeleteObject(h); } };
struct DropCloser { void operator()(HDROP h) const noexcept { DragFinish(h); } };
struct ActCtxCloser { void operator()(HANDLE h) const noexcept { ReleaseActCtx(h); } };
struct CoTaskMemCloser { void operator()(void* p) const noexcept { CoTaskMemFree(p); } };

using UniqueHwnd = UniqueHandle<HWND, WindowCloser>;
using UniqueFont = UniqueHandle<HFONT, FontCloser>;
using UniqueBrush = UniqueHandle<HBRUSH, BrushCloser>;
using UniqueBitmap = UniqueHandle<HBITMAP, BitmapCloser>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcCloser>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalCloser>;
using UniqueHook = UniqueHandle<HHOOK, HookCloser>;
using UniqueGlobalAtom = UniqueHandle<ATOM, GlobalAtomCloser>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryCloser>;
// Files and other kernel objects; callers store null, never INVALID_HANDLE_VALUE.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleCloser>;
using UniquePalette = UniqueHandle<HPALETTE, PaletteCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;
using UniquePen = UniqueHandle<HPEN, PenCloser>;
using UniqueDrop = UniqueHandle<HDROP, DropCloser>;
// Activation contexts; callers store null, never INVALID_HANDLE_VALUE.
using UniqueActCtx = UniqueHandle<HANDLE, ActCtxCloser>;
// Shell item id lists and other blocks the shell hands over in task memory.
template <typename T>
using UniqueTaskMem = UniqueHandle<T*, CoTaskMemCloser>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Keeps a window from redrawing for the scope (WM_SETREDRAW), then redraws it
// whole: for bulk changes of a list, which would otherwise repaint per item.
// `direct`, when given, is the window's own procedure, called instead of
// sending (past a subclass). Nothing happens for a null window, and nothing at
// the end for one that died meanwhile. Not to be nested for one window.
class RedrawSuspended {
public:
    explicit RedrawSuspended(HWND window, WNDPROC direct = nullptr) noexcept : window_(window), direct_(direct) {
        Redraw(FALSE);
    }
    ~RedrawSuspended() {
        if (!window_ || !IsWindow(window_)) return;
        Redraw(TRUE);
        InvalidateRect(window_, nullptr, TRUE);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    void Redraw(BOOL on) const noexcept {
        if (!window_) return;
        if (direct_) CallWindowProcA(direct_, window_, WM_SETREDRAW, on, 0);
        else SendMessageA(window_, WM_SETREDRAW, on, 0);
    }

    HWND window_;
    WNDPROC direct_;
};

// Selects an object into a DC for the lifetime of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { if (old_) SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace qor
