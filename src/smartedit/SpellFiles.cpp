#include "smartedit/SpellFiles.h"

#include <algorithm>
#include <cstdint>

#include "core/WinHandles.h"

namespace qor {

namespace {

UniqueKernelHandle OpenFile(const std::string& path, DWORD access, DWORD disposition) {
    const HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

} // namespace

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    UniqueKernelHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    const size_t wanted = static_cast<uint64_t>(size.QuadPart) < limit ? static_cast<size_t>(size.QuadPart) : limit;
    bytes.resize(wanted);
    size_t done = 0;
    while (done < wanted) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wanted - done, 1u << 20));
        if (!ReadFile(file.get(), &bytes[done], chunk, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

DWORD WriteWholeFile(const std::string& path, const void* data, size_t size) {
    UniqueKernelHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file) return GetLastError();
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
        if (!WriteFile(file.get(), bytes + done, chunk, &written, nullptr)) return GetLastError();
        done += written;
    }
    return 0;
}

std::string SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : "System error " + std::to_string(code) + ".";
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

} // namespace qor
