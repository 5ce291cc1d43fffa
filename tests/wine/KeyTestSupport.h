#pragma once
// Helpers for the hot key tests: another top-level window (with an edit) that
// holds the focus while combinations are pressed, real key input, files.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "HostEmulator.h"

namespace qortest {

// A top-level window with a multi-line edit; counts the mouse messages its
// frame receives (the target of click commands).
class OtherWindow {
public:
    OtherWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QorKeyTestOther";
        RegisterClassA(&wc);
        frame_ = CreateWindowExA(0, wc.lpszClassName, "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 300, 200,
                                 nullptr, nullptr, wc.hInstance, this);
        SetWindowLongPtrA(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 5, 5, 280, 150,
                                frame_, nullptr, wc.hInstance, nullptr);
    }
    ~OtherWindow() { DestroyWindow(frame_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND frame() const { return frame_; }
    HWND edit() const { return edit_; }
    // True once the edit holds the focus in the foreground window.
    bool Focus() { return qorhost::HostEmulator::FocusWindow(edit_); }
    std::string Text() const {
        char text[1024] = {};
        GetWindowTextA(edit_, text, sizeof text);
        return text;
    }
    int buttonDowns = 0, buttonUps = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OtherWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == WM_LBUTTONDOWN) ++self->buttonDowns;
        if (self && message == WM_LBUTTONUP) ++self->buttonUps;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
};

inline std::string TempFile(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    DeleteFileA(path.c_str());
    return path;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Key events without pumping (the caller decides when messages are handled).
inline void SendKey(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Pumps until the condition holds or the time is up.
template <typename Condition>
bool PumpUntil(Condition&& done, int milliseconds = 5000) {
    return qorhost::HostEmulator::PumpUntil(done, milliseconds);
}

} // namespace qortest
