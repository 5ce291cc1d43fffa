#pragma once
// Real files and folders in a fresh temporary folder, and file drops
// delivered as the shell delivers them: a DROPFILES block with wide paths,
// posted as WM_DROPFILES to the window under the drop point that accepts
// files.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace qortest {

inline std::wstring Widen(const std::string& ansi);

// A folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        std::string from = path_;
        from.push_back('\0'); // a list of one path, ended by a second zero
        SHFILEOPSTRUCTA op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&op);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name, const std::string& content = "x") const {
        const std::string full = path_ + "\\" + name;
        HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (file != INVALID_HANDLE_VALUE) {
            WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
            CloseHandle(file);
        }
        return full;
    }
    std::string Folder(const std::string& name) const {
        const std::string full = path_ + "\\" + name;
        CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }
    // Names the ANSI code page may not hold.
    std::wstring WideFile(const std::wstring& name) const {
        const std::wstring full = WidePath() + L"\\" + name;
        HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return full;
    }
    std::wstring WideFolder(const std::wstring& name) const {
        const std::wstring full = WidePath() + L"\\" + name;
        CreateDirectoryW(full.c_str(), nullptr);
        return full;
    }

private:
    std::wstring WidePath() const { return Widen(path_); }
    std::string path_;
};

inline std::wstring Widen(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), &wide[0], n);
    return wide;
}

// The DROPFILES block the shell hands over: wide paths, each ended by a
// zero, the list ended by a second zero.
inline HGLOBAL DropBlock(const std::vector<std::wstring>& paths, POINT clientPoint) {
    std::wstring list;
    for (const auto& path : paths) {
        list += path;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = clientPoint;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

// The window that receives a drop at a screen point, found as the shell
// finds it: the window under the point, or its nearest ancestor that
// accepts files. Null when none does.
inline HWND DropTargetAt(POINT screen) {
    for (HWND window = WindowFromPoint(screen); window; window = GetParent(window))
        if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return window;
    return nullptr;
}

// Drops paths at a point of `over` (client coordinates). False when no
// window there accepts files.
inline bool DropOn(HWND over, POINT clientPoint, const std::vector<std::wstring>& paths) {
    POINT screen = clientPoint;
    ClientToScreen(over, &screen);
    HWND target = DropTargetAt(screen);
    if (!target) return false;
    POINT targetPoint = screen;
    ScreenToClient(target, &targetPoint);
    return PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock(paths, targetPoint)), 0) != 0;
}

inline bool DropOn(HWND over, POINT clientPoint, const std::vector<std::string>& paths) {
    std::vector<std::wstring> wide;
    for (const auto& path : paths) wide.push_back(Widen(path));
    return DropOn(over, clientPoint, wide);
}

} // namespace qortest
