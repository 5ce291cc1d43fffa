#include "hotkeys/HotKeyFiles.h"

#include <windows.h>

#include "core/ScriptError.h"
#include "core/WinHandles.h"
#include "hotkeys/HotKeyList.h"

namespace qor {

namespace {

// The system's text for an error code, without the closing blanks and dots.
std::string SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer && length ? std::string(buffer, length) : "System error " + std::to_string(code);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

[[noreturn]] void FailOn(const char* verb, const std::string& path) {
    const DWORD code = GetLastError();
    throw ScriptError(std::string("Cannot ") + verb + " file \"" + path + "\". " + SystemErrorText(code));
}

UniqueKernelHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

} // namespace

bool ListFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::string& path) {
    UniqueKernelHandle file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) FailOn("open", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) throw ScriptError("Stream read error");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            throw ScriptError("Stream read error");
        if (got == 0) break; // shorter than it said: what is there counts
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    UniqueKernelHandle file = OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    if (!file) FailOn("create", path);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) ||
            put == 0)
            throw ScriptError("Stream write error");
        done += put;
    }
}

std::vector<std::string> ReadListFile(const std::string& path, bool decrypt) {
    return DecodeListFile(ReadWholeFile(path), decrypt);
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines, bool encrypt) {
    WriteWholeFile(path, EncodeListFile(lines, encrypt));
}

} // namespace qor
