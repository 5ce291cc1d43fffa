#include "hotkeys/HotKeyList.h"

#ifndef OPENSSL_SUPPRESS_DEPRECATED
#define OPENSSL_SUPPRESS_DEPRECATED // the low-level RC4 and SHA-1 calls start no provider
#endif
#include <openssl/evp.h>
#include <openssl/rc4.h>
#include <openssl/sha.h>

#include <algorithm>

#include "core/AnsiText.h"
#include "core/TextLines.h"

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

std::string Rc4(std::string_view key, std::string_view data) { return Rc4InPlace(key, std::string(data)); }

std::string Rc4InPlace(std::string_view key, std::string data) {
    RC4_KEY schedule;
    RC4_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
    if (!data.empty()) {
        auto* bytes = reinterpret_cast<unsigned char*>(&data[0]);
        RC4(&schedule, data.size(), bytes, bytes);
    }
    return data;
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
    std::string out(text.size() / 4 * 3, '\0');
    size_t put = 0;
    for (size_t at = 0; at + 4 <= text.size(); at += 4) {
        unsigned v[4];
        for (int k = 0; k < 4; ++k) v[k] = table.value[static_cast<unsigned char>(text[at + k])];
        out[put++] = static_cast<char>((v[0] << 2) | (v[1] >> 4));
        if (text[at + 2] == '=') continue;
        out[put++] = static_cast<char>(((v[1] & 0x0F) << 4) | (v[2] >> 2));
        if (text[at + 3] == '=') continue;
        out[put++] = static_cast<char>(((v[2] & 0x03) << 6) | v[3]);
    }
    out.resize(put);
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
    std::string coded = Base64Encode(Rc4InPlace(ListFileKey(), std::move(text)));
    coded += kLineBreak;
    return coded;
}

// True when the text, cut into lines and rejoined with CR LF after each, is
// the text itself: every break is CR LF and the text is empty or ends in one.
static bool HasOnlyCrLfLines(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') return false; // a lone LF
        if (text[i] == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') return false;
            ++i;
        }
    }
    return text.empty() || text.back() == '\n';
}

std::vector<std::string> DecodeListFile(std::string_view bytes, bool decrypt) {
    if (!decrypt) return SplitLines(std::string(bytes));
    // The lines read, each followed by CR LF, decoded and decrypted as one text.
    std::string decoded =
        HasOnlyCrLfLines(bytes) ? Base64Decode(bytes) : Base64Decode(JoinListLines(SplitLines(std::string(bytes))));
    return SplitLines(Rc4InPlace(ListFileKey(), std::move(decoded)));
}

namespace {

std::string_view NameOf(const std::string& line, bool& named) {
    const size_t equals = line.find('=');
    named = equals != std::string::npos;
    return std::string_view(line).substr(0, named ? equals : 0);
}

uint32_t HashName(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(AnsiUpperChar(c))) * 16777619u;
    return hash;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AnsiUpperChar(a[i]) != AnsiUpperChar(b[i])) return false;
    return true;
}

} // namespace

size_t KeyLineList::Probe(std::string_view name, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    for (; slots_[at].line != 0; at = (at + 1) & mask) {
        if (slots_[at].hash != hash) continue;
        bool named = false;
        if (SameName(NameOf(lines_[slots_[at].line - 1], named), name)) break;
    }
    return at;
}

int KeyLineList::Find(std::string_view name) const {
    if (slots_.empty()) return -1;
    const Slot& slot = slots_[Probe(name, HashName(name))];
    return slot.line == 0 ? -1 : static_cast<int>(slot.line - 1);
}

void KeyLineList::Index(size_t index) {
    bool named = false;
    const std::string_view name = NameOf(lines_[index], named);
    if (!named) return;
    if ((named_ + 1) * 2 > slots_.size()) {
        // Grow: every name keeps its first line (no two slots share a name).
        std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.line == 0) continue;
            size_t at = slot.hash & mask;
            while (slots_[at].line != 0) at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }
    const uint32_t hash = HashName(name);
    const size_t at = Probe(name, hash);
    if (slots_[at].line == 0) {
        slots_[at] = Slot{static_cast<uint32_t>(index + 1), hash};
        ++named_;
    }
}

void KeyLineList::Rebuild() {
    slots_.clear();
    named_ = 0;
    for (size_t i = 0; i < lines_.size(); ++i) Index(i);
}

void KeyLineList::Append(std::string line) {
    lines_.push_back(std::move(line));
    Index(lines_.size() - 1);
}

bool KeyLineList::AppendNew(std::string&& line) {
    bool named = false;
    const std::string_view name = NameOf(line, named);
    if (named && Find(name) >= 0) return false;
    lines_.push_back(std::move(line));
    Index(lines_.size() - 1);
    return true;
}

void KeyLineList::RemoveAt(size_t index) {
    if (index >= lines_.size()) return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    Rebuild();
}

} // namespace qor
