#include "core/FileStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/WinHandles.h"

namespace qor {

namespace {

constexpr DWORD kChunk = 1u << 20;

UniqueKernelHandle OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    const HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1); // a root
    return path.substr(0, slash);
}

#ifdef QOR_TEST_BUILD
// Test seam: QOR_TEST_WRITE_FAIL_AFTER=N makes every write past the first N
// bytes of a file fail as a full disk does.
size_t WriteLimit() {
    char text[32] = {};
    const DWORD length = GetEnvironmentVariableA("QOR_TEST_WRITE_FAIL_AFTER", text, sizeof text);
    if (length == 0 || length >= sizeof text) return SIZE_MAX;
    return static_cast<size_t>(std::strtoull(text, nullptr, 10));
}
#else
size_t WriteLimit() { return SIZE_MAX; }
#endif

FileWriteResult Fail(FileStep step, DWORD error) { return {step, error ? error : ERROR_GEN_FAILURE}; }

// Writes the bytes to a new temporary file beside `path`; on success `temp`
// names it and the file is closed.
FileWriteResult WriteTemporary(const std::string& path, std::string_view bytes, std::string& temp) {
    char name[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), "qor", 0, name)) return Fail(FileStep::Create, GetLastError());
    temp = name;
    UniqueKernelHandle file = OpenFile(temp, GENERIC_WRITE, 0, TRUNCATE_EXISTING);
    if (!file) {
        const DWORD error = GetLastError();
        DeleteFileA(temp.c_str());
        return Fail(FileStep::Create, error);
    }
    const size_t limit = WriteLimit();
    DWORD error = 0;
    for (size_t done = 0; done < bytes.size() && !error;) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk));
        if (done + chunk > limit) {
            error = ERROR_DISK_FULL;
            break;
        }
        DWORD put = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &put, nullptr)) error = GetLastError();
        else if (put != chunk) error = ERROR_DISK_FULL;
        done += put;
    }
    if (!error && !FlushFileBuffers(file.get())) error = GetLastError();
    if (!error && !CloseHandle(file.release())) error = GetLastError();
    if (error) {
        file.reset();
        DeleteFileA(temp.c_str());
        return Fail(FileStep::Write, error);
    }
    return {};
}

FileWriteResult MoveIntoPlace(const std::string& path, std::string_view bytes, DWORD flags) {
    std::string temp;
    const FileWriteResult written = WriteTemporary(path, bytes, temp);
    if (!written) return written;
    if (!MoveFileExA(temp.c_str(), path.c_str(), flags | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS) error = ERROR_ALREADY_EXISTS;
        DeleteFileA(temp.c_str());
        return Fail(FileStep::Move, error);
    }
    return {};
}

} // namespace

FileWriteResult ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    return MoveIntoPlace(path, bytes, MOVEFILE_REPLACE_EXISTING);
}

FileWriteResult PlaceNewFile(const std::string& path, std::string_view bytes) {
    if (FileExists(path)) return Fail(FileStep::Move, ERROR_ALREADY_EXISTS);
    return MoveIntoPlace(path, bytes, 0);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    UniqueKernelHandle file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    const size_t wanted = static_cast<uint64_t>(size.QuadPart) < limit ? static_cast<size_t>(size.QuadPart) : limit;
    bytes.resize(wanted);
    size_t done = 0;
    while (done < wanted) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wanted - done, kChunk));
        if (!ReadFile(file.get(), &bytes[done], chunk, &got, nullptr)) return false;
        if (got == 0) break; // shorter than it said: what is there counts
        done += got;
    }
    bytes.resize(done);
    return true;
}

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

} // namespace qor
