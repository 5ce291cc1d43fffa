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
struct DropCloser { void operator()(HDROP h) const noexcept { DragFinish(h); } };
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
using UniqueDrop = UniqueHandle<HDROP, DropCloser>;
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
