#pragma once
// Real files and folders in a fresh temporary folder, for file drops
// (HostEmulator::DropFiles delivers them as the shell does).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "HostEmulator.h"

namespace qortest {

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
    std::wstring WidePath() const { return qorhost::Widen(path_); }
    std::string path_;
};

} // namespace qortest
