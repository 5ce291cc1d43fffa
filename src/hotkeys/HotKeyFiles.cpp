#include "hotkeys/HotKeyFiles.h"

#include <windows.h>

#include "core/FileStore.h"
#include "core/ScriptError.h"
#include "hotkeys/HotKeyList.h"

namespace qor {

namespace {

[[noreturn]] void FailOn(const char* verb, const std::string& path, DWORD code) {
    throw ScriptError(std::string("Cannot ") + verb + " file \"" + path + "\". " + SystemErrorText(code));
}

} // namespace

bool ListFileExists(const std::string& path) { return FileExists(path); }

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (!ReadFileStart(path, 0x7FFFFFFF, bytes)) FailOn("open", path, GetLastError());
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    const FileWriteResult result = ReplaceFileWhole(path, bytes);
    if (result) return;
    FailOn(result.step == FileStep::Write ? "write" : "create", path, result.error);
}

std::vector<std::string> ReadListFile(const std::string& path, bool decrypt) {
    return DecodeListFile(ReadWholeFile(path), decrypt);
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines, bool encrypt) {
    WriteWholeFile(path, EncodeListFile(lines, encrypt));
}

} // namespace qor
