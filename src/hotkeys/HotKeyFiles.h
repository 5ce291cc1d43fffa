#pragma once
// Hot key list files on disk. Failures throw ScriptError with the messages the
// script author sees: "Cannot open file "<path>". <reason>" and
// "Cannot create file "<path>". <reason>", the reason in the system's words.
#include <string>
#include <vector>

namespace qor {

bool ListFileExists(const std::string& path);
std::vector<std::string> ReadListFile(const std::string& path, bool decrypt);
void WriteListFile(const std::string& path, const std::vector<std::string>& lines, bool encrypt);

// Whole files as bytes, with the same messages.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace qor
