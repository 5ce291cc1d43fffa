#pragma once
// Hot key list files and the ordered "name=value" line lists kept by the key
// managers.
//
// A list file is text with one "name=value" line per entry, every line ending
// in CR LF. The encrypted form is that whole text run through RC4 (keyed with
// the SHA-1 digest of a fixed pass phrase, keystream from its first byte) and
// written as one line of standard Base64 followed by CR LF. A list with no
// lines is an empty file either way. Reading never fails on damaged content:
// whatever the bytes decode to is cut into lines.
#include <cstddef>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

namespace qor {

// Every line followed by CR LF (lines are read with SplitLines of
// core/TextLines.h).
std::string JoinListLines(const std::vector<std::string>& lines);

// The text before the first "=" (empty when there is none).
std::string LineName(const std::string& line);
// The text after the first "="; without "=", the line minus its first character.
std::string LineValue(const std::string& line);

// "true" in any letter case, nothing around it.
bool IsTrueFlag(const std::string& text);

// The published primitives, through libcrypto.
std::string Sha1Digest(std::string_view data);
// RC4 with the given key, keystream from its first byte.
std::string Rc4(std::string_view key, std::string_view data);
std::string Rc4InPlace(std::string_view key, std::string data);
// Standard alphabet, "=" padding, no line breaks.
std::string Base64Encode(std::string_view data);
// Groups of four characters from the start; a shorter remainder is ignored;
// "=" as third or fourth character shortens the group. Characters outside the
// alphabet count as 0. Never fails.
std::string Base64Decode(std::string_view text);

// The key of list files: SHA-1 of the fixed pass phrase.
const std::string& ListFileKey();

// The bytes of a list file holding these lines.
std::string EncodeListFile(const std::vector<std::string>& lines, bool encrypt);
// The lines of a list file's bytes.
std::vector<std::string> DecodeListFile(std::string_view bytes, bool decrypt);

// An ordered list of "name=value" lines, duplicates allowed, with lookup of
// the first line of a name (letter case ignored under the ANSI mapping; a
// line without "=" has no name and is never found).
class KeyLineList {
public:
    const std::vector<std::string>& Lines() const { return lines_; }
    size_t Size() const { return lines_.size(); }
    // Index of the first line named `name`, or -1.
    int Find(std::string_view name) const;
    void Append(std::string line);
    // Appends the line unless a line of the same name is there already;
    // false (nothing appended, the line left as it was) then.
    bool AppendNew(std::string&& line);
    void RemoveAt(size_t index);
    // Every line followed by CR LF.
    std::string Text() const { return JoinListLines(lines_); }

private:
    // Open addressing without a string per entry: a slot holds 1 + the index
    // of the first line of a name (0: empty) and the hash of the upper-cased name.
    struct Slot {
        uint32_t line = 0;
        uint32_t hash = 0;
    };
    size_t Probe(std::string_view name, uint32_t hash) const;
    void Index(size_t index);
    void Rebuild();

    std::vector<std::string> lines_;
    std::vector<Slot> slots_;
    size_t named_ = 0; // names in the table
};

} // namespace qor
