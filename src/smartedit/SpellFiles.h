#pragma once
// Whole-file reads and writes for the spell checker's files (dictionaries,
// the custom word list), by 8-bit paths.
#include <windows.h>

#include <string>

namespace qor {

bool FileExists(const std::string& path);
// Up to `limit` bytes from the start of the file; false when it cannot be read.
bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes);
// Creates or replaces the file; the system's error code on failure, else 0.
DWORD WriteWholeFile(const std::string& path, const void* data, size_t size);
// The system's message for an error code, without its final line break.
std::string SystemErrorText(DWORD code);

} // namespace qor
