#include "core/FormWindow.h"

#include <unordered_map>
#include <unordered_set>

#include "core/ScriptError.h"
#include "host/PlugInUtils.h"

namespace qor {

namespace {

const char kFormClass[] = "TQORForm";
// Subclassed children: their form and their own window procedure. A plain
// map on the UI thread; window properties would cost a server round trip
// per message under some Windows implementations.
struct Subclassed {
    FormWindow* form;
    WNDPROC original;
};
std::unordered_map<HWND, Subclassed>& SubclassedChildren() {
    static std::unordered_map<HWND, Subclassed> children;
    return children;
}

Subclassed LookUpChild(HWND child) {
    auto& children = SubclassedChildren();
    auto it = children.find(child);
    return it == children.end() ? Subclassed{nullptr, nullptr} : it->second;
}

// Every form window that exists, for the hand-back at unload.
std::unordered_set<HWND>& LiveForms() {
    static std::unordered_set<HWND> forms;
    return forms;
}

bool g_formClassRegistered = false;

void RegisterFormClass() {
    bool& registered = g_formClassRegistered;
    if (registered) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA; // replaced per window right after creation
    wc.hInstance = PlugInInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

FormWindow* FormOf(HWND hwnd) { return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

} // namespace

void UnregisterFormClass() noexcept {
    if (g_formClassRegistered) UnregisterClassA(kFormClass, PlugInInstance());
    g_formClassRegistered = false;
}

void HandBackWindowsAtUnload() noexcept {
    for (const auto& [child, entry] : SubclassedChildren())
        if (entry.original && IsWindow(child))
            SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
    SubclassedChildren().clear();
    for (HWND form : LiveForms()) {
        if (!IsWindow(form)) continue;
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
        SetWindowLongPtrA(form, GWLP_USERDATA, 0);
        // Posted, not sent: no message is handled under the loader lock.
        ShowWindowAsync(form, SW_HIDE);
    }
    LiveForms().clear();
}

FormWindow::~FormWindow() {
    // The registry and every message in flight have let go; the window must
    // already be gone. Destroying it here would call back into a dead object.
}

void FormWindow::CreateAsChild(HWND parent) {
    RegisterFormClass();
    // Made at the parent's size, so that the content is built and filled at
    // its final size: resizing a list of many items afterwards costs more than
    // filling it.
    RECT client{};
    GetClientRect(parent, &client);
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                            client.right, client.bottom, parent, nullptr, PlugInInstance(), nullptr);
    if (!hwnd_) throw ScriptError("Cannot create a control window (error " + std::to_string(GetLastError()) + ").");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticProc));
    selfWhileWindowExists_ = shared_from_this();
    LiveForms().insert(hwnd_);
}

void FormWindow::Destroy() noexcept {
    if (destroyed_) return;
    destroyed_ = true;
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void FormWindow::Subclass(HWND child) {
    auto& children = SubclassedChildren();
    if (auto it = children.find(child); it != children.end()) {
        it->second.form = this; // already ours: never chain to ourselves
        return;
    }
    auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticChildProc)));
    children[child] = Subclassed{this, original};
}

LRESULT FormWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT FormWindow::ChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginalChildProc(child, message, wParam, lParam);
}

LRESULT FormWindow::CallOriginalChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = LookUpChild(child).original;
    return original ? CallWindowProcA(original, child, message, wParam, lParam)
                    : DefWindowProcA(child, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = FormOf(hwnd);
    if (!form) return DefWindowProcA(hwnd, message, wParam, lParam);
    std::shared_ptr<FormWindow> keepAlive = form->shared_from_this();
    LRESULT result = 0;
    try {
        result = form->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = 0; // nothing escapes a window procedure
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        LiveForms().erase(hwnd);
        form->destroyed_ = true;
        form->hwnd_ = nullptr;
        form->selfWhileWindowExists_.reset();
    }
    return result;
}

LRESULT CALLBACK FormWindow::StaticChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const Subclassed entry = LookUpChild(child);
    FormWindow* form = entry.form;
    const WNDPROC original = entry.original;
    if (message == WM_NCDESTROY) {
        // Restore the control's own procedure before it finishes dying.
        SubclassedChildren().erase(child);
        if (original) SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return original ? CallWindowProcA(original, child, message, wParam, lParam)
                        : DefWindowProcA(child, message, wParam, lParam);
    }
    if (!form) return original ? CallWindowProcA(original, child, message, wParam, lParam)
                               : DefWindowProcA(child, message, wParam, lParam);
    std::shared_ptr<FormWindow> keepAlive = form->shared_from_this();
    try {
        return form->ChildProc(child, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

} // namespace qor
