#include "hotkeys/HotKeyList.h"

#ifndef OPENSSL_SUPPRESS_DEPRECATED
#define OPENSSL_SUPPRESS_DEPRECATED // the low-level RC4 and SHA-1 calls start no provider
#endif
#include <openssl/evp.h>
#include <openssl/rc4.h>
#include <openssl/sha.h>

#include <algorithm>

#include "core/AnsiText.h"

namespace qor {

namespace {

constexpr char kPassPhrase[] = "@kelpTorrentVale";
constexpr char kLineBreak[] = "\r\n";

// 0 to 63 for the Base64 alphabet, 0 for every other byte.
struct Base64Values {
    unsigned char value[256] = {};
    Base64Values() {
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i);
    }
};

} // namespace

std::vector<std::string> SplitListLines(std::string_view text) {
    std::vector<std::string> lines;
    const size_t n = text.size();
    size_t start = 0, i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinListLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += kLineBreak;
    }
    return text;
}

std::string LineName(const std::string& line) {
    const size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

std::string LineValue(const std::string& line) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return line.empty() ? std::string() : line.substr(1);
    return line.substr(equals + 1);
}

bool IsTrueFlag(const std::string& text) { return SameNameAscii(text, "true"); }

std::string Sha1Digest(std::string_view data) {
    // The direct calls, not SHA1(): that one goes through libcrypto's
    // provider start-up, which pins the module holding libcrypto (this
    // library) in memory so that it can never be unloaded.
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA_CTX context;
    SHA1_Init(&context);
    SHA1_Update(&context, data.data(), data.size());
    SHA1_Final(digest, &context);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

std::string Rc4(std::string_view key, std::string_view data) {
    RC4_KEY schedule;
    RC4_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
    std::string out(data.size(), '\0');
    if (!data.empty())
        RC4(&schedule, data.size(), reinterpret_cast<const unsigned char*>(data.data()),
            reinterpret_cast<unsigned char*>(&out[0]));
    return out;
}

std::string Base64Encode(std::string_view data) {
    std::string out((data.size() + 2) / 3 * 4 + 1, '\0');
    // EVP_EncodeBlock takes an int length: encode in slices a multiple of 3 long.
    constexpr size_t kSlice = 3u << 20;
    size_t written = 0;
    for (size_t at = 0; at < data.size(); at += kSlice) {
        const size_t length = std::min(kSlice, data.size() - at);
        written += static_cast<size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[written]),
                                                       reinterpret_cast<const unsigned char*>(data.data() + at),
                                                       static_cast<int>(length)));
    }
    out.resize(written);
    return out;
}

std::string Base64Decode(std::string_view text) {
    static const Base64Values table;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (size_t at = 0; at + 4 <= text.size(); at += 4) {
        unsigned v[4];
        for (int k = 0; k < 4; ++k) v[k] = table.value[static_cast<unsigned char>(text[at + k])];
        out += static_cast<char>((v[0] << 2) | (v[1] >> 4));
        if (text[at + 2] == '=') continue;
        out += static_cast<char>(((v[1] & 0x0F) << 4) | (v[2] >> 2));
        if (text[at + 3] == '=') continue;
        out += static_cast<char>(((v[2] & 0x03) << 6) | v[3]);
    }
    return out;
}

const std::string& ListFileKey() {
    static const std::string key = Sha1Digest(kPassPhrase);
    return key;
}

std::string EncodeListFile(const std::vector<std::string>& lines, bool encrypt) {
    if (lines.empty()) return {};
    std::string text = JoinListLines(lines);
    if (!encrypt) return text;
    return Base64Encode(Rc4(ListFileKey(), text)) + kLineBreak;
}

std::vector<std::string> DecodeListFile(std::string_view bytes, bool decrypt) {
    std::vector<std::string> lines = SplitListLines(bytes);
    if (!decrypt) return lines;
    return SplitListLines(Rc4(ListFileKey(), Base64Decode(JoinListLines(lines))));
}

int KeyLineList::Find(const std::string& name) const {
    const auto it = first_.find(AnsiUpperCase(name));
    return it == first_.end() ? -1 : static_cast<int>(it->second);
}

void KeyLineList::Index(size_t index) {
    const std::string& line = lines_[index];
    const size_t equals = line.find('=');
    if (equals != std::string::npos) first_.emplace(AnsiUpperCase(line.substr(0, equals)), index);
}

void KeyLineList::Append(std::string line) {
    lines_.push_back(std::move(line));
    Index(lines_.size() - 1);
}

void KeyLineList::RemoveAt(size_t index) {
    if (index >= lines_.size()) return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    first_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) Index(i);
}

} // namespace qor
