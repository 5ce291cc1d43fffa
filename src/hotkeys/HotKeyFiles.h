#pragma once
// Hot key list files on disk. Failures throw ScriptError with the messages the
// script author sees: "Cannot open file "<path>". <reason>",
// "Cannot create file "<path>". <reason>" and "Cannot write file ...", the
// reason in the system's words. A file is replaced in one step, never
// truncated in place: a failed save leaves the old file as it was.
#include <string>
#include <vector>

namespace qor {

bool ListFileExists(const std::string& path);
std::vector<std::string> ReadListFile(const std::string& path, bool decrypt);
void WriteListFile(const std::string& path, const std::vector<std::string>& lines, bool encrypt);

// Whole files as bytes, with the same messages (a file larger than 2 GB is
// read up to there).
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace qor
