#pragma once
// Every file the plug-in writes goes through here. A file is never truncated
// in place: the bytes go to a fresh temporary file in the target's folder,
// every write and the close are checked, and only then is the temporary file
// moved over the target in one step. On any failure the temporary file is
// removed and the target is exactly as it was.
#include <windows.h>

#include <string>
#include <string_view>

namespace qor {

// Which step of a write failed, so callers can word their message.
enum class FileStep { Done, Create, Write, Move };

struct FileWriteResult {
    FileStep step = FileStep::Done;
    DWORD error = 0; // the system's code for the failed step
    explicit operator bool() const noexcept { return step == FileStep::Done; }
};

// Writes `bytes` as the whole new content of `path`, creating or replacing it.
FileWriteResult ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Puts a new file at `path` only if none is there: a file that already exists
// (written meanwhile by another process, say) is left alone and the result is
// a Move failure with ERROR_ALREADY_EXISTS.
FileWriteResult PlaceNewFile(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

// The file's size, or -1 when it cannot be asked (no such file, say).
long long FileSize(const std::string& path);

// Reads at most `limit` bytes from the start of the file. False when the file
// cannot be opened or read; GetLastError() then tells why.
bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes);

// The system's text for an error code, without trailing blanks, line breaks
// and dots.
std::string SystemErrorText(DWORD code);

} // namespace qor
