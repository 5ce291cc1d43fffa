#pragma once
// Helpers for the hot key tests: another top-level window (with an edit) that
// holds the focus while combinations are pressed, real key input, files.
#include <windows.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "HostEmulator.h"

namespace qortest {

// A top-level window with a multi-line edit; counts the mouse messages its
// frame receives (the target of click commands) and calls onPaste when the
// edit is about to paste.
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
        SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
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
    std::function<void()> onPaste;

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OtherWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_PASTE && self->onPaste) self->onPaste();
        return CallWindowProcA(self->editProc_, hwnd, message, wParam, lParam);
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OtherWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == WM_LBUTTONDOWN) ++self->buttonDowns;
        if (self && message == WM_LBUTTONUP) ++self->buttonUps;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
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

// The running program's path: the atom name of every hot key field's hot key.
inline std::string ProgramPath() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

// The atom name of the global manager's hot key for a hot key value.
inline std::string ManagerAtomName(uint32_t value) { return "HotKeyManagerHotKey" + std::to_string(value); }

// Runs a program with `arguments`, its output discarded; its exit code, or
// ~0u when it could not start or did not end within a minute. Wine also
// starts Unix programs ("Z:\\usr\\bin\\...").
inline DWORD RunProgram(const std::string& program, const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    std::string command = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION process{};
    DWORD code = ~0u;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(nul);
    return code;
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

// A combination held down as a keyboard does it: the modifiers and the key go
// down, the key's auto-repeat sends `repeats` more key-downs without a key-up,
// then everything is let go. The keys come from another thread, since a
// handler may hold this one until the keys are up; this thread pumps
// meanwhile and a while after.
inline void HoldCombination(std::initializer_list<WORD> modifiers, WORD key, int repeats) {
    const std::vector<WORD> held(modifiers);
    std::atomic<bool> done{false};
    std::thread keyboard([&] {
        for (WORD modifier : held) SendKey(modifier, false);
        for (int press = 0; press <= repeats; ++press) {
            SendKey(key, false);
            Sleep(40);
        }
        SendKey(key, true);
        for (auto it = held.rbegin(); it != held.rend(); ++it) SendKey(*it, true);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 15000);
    keyboard.join();
    qorhost::HostEmulator::Pump(200);
}

} // namespace qortest
