// Key list files and the clipboard backup come from folders other programs
// can write. Each reader gets them through its real action truncated at every
// length of their first 256 bytes, grown to 100 MB, as random bytes and with
// every byte value in names: each action answers as for any file, takes what
// the bytes say, and leaves the file as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "DropTestSupport.h"
#include "HostEmulator.h"
#include "KeyTestSupport.h"
#include "hotkeys/ClipboardStream.h"
#include "hotkeys/HotKeyList.h"
#include "hotkeys/ShortCutText.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

const char kGlobalList[] = "[qorHotKeyManagerList]";
const char kLocalList[] = "[qorLocalKeyManagerList]";
constexpr size_t kHuge = 100u << 20;

// A file's bytes: `bytes`, then zeros up to `size` (a sparse tail) when larger.
struct Crafted {
    std::string what;
    std::string bytes;
    size_t size = 0;
};

Crafted Exactly(std::string what, std::string bytes) {
    const size_t size = bytes.size();
    return {std::move(what), std::move(bytes), size};
}

void WriteCrafted(const std::string& path, const Crafted& file) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &written, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(file.size);
    SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
}

// The file as it is: its first bytes and its size.
std::pair<std::string, long long> Snapshot(const std::string& path, size_t head) {
    std::string bytes(head, '\0');
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {"<missing>", -1};
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(head), &got, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    CloseHandle(h);
    bytes.resize(got);
    return {bytes, size.QuadPart};
}

std::pair<std::string, long long> Expected(const Crafted& file, size_t head) {
    std::string bytes = file.bytes.substr(0, head);
    bytes.resize(std::min(head, file.size), '\0');
    return {bytes, static_cast<long long>(file.size)};
}

// Every length of the first 256 bytes (the whole file when it is shorter).
std::vector<Crafted> Truncations(const std::string& what, const std::string& bytes) {
    std::vector<Crafted> files;
    for (size_t n = 0; n <= bytes.size() && n <= 256; ++n)
        files.push_back(Exactly(what + " cut at " + std::to_string(n), bytes.substr(0, n)));
    return files;
}

std::vector<Crafted> RandomFiles(const std::string& what, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Crafted> files;
    for (int i = 0; i < count; ++i) {
        std::string bytes(random() % 600, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        files.push_back(Exactly(what + " random " + std::to_string(i), bytes));
    }
    return files;
}

// ---- Key list files ---------------------------------------------------------

// Lines cut at CR LF, a lone CR and a lone LF; a final break adds no line.
Strings PlainLines(const std::string& text) {
    Strings lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line.push_back(c);
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string NameOf(const std::string& line) {
    const size_t equals = line.find('=');
    return equals == std::string::npos ? "" : line.substr(0, equals);
}

// Names compare without regard to letter case, under the ANSI mapping.
std::string Upper(std::string name) {
    CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

// What the three readers make of a file's lines.
struct Loaded {
    Strings global; // key texts the global manager registered, in order
    Strings local;  // lines the local manager keeps, in order
    std::string field; // the text the field on Rect1 shows
    // False when a kept line holds a zero byte: the host sees texts up to it.
    bool exact = true;
    bool operator==(const Loaded& o) const { return global == o.global && local == o.local && field == o.field; }
};

std::ostream& operator<<(std::ostream& out, const Loaded& l) {
    out << "global {";
    for (const auto& s : l.global) out << "'" << s << "' ";
    out << "} local {";
    for (const auto& s : l.local) out << "'" << s << "' ";
    return out << "} field '" << l.field << "'";
}

// Whether the system registers a hot key without a key (what a key text that
// names no key converts to): the manager leaves that to the platform.
bool ZeroRegisters() {
    const bool registered = RegisterHotKey(nullptr, 0xBEEF, 0, 0);
    if (registered) UnregisterHotKey(nullptr, 0xBEEF);
    return registered;
}

Loaded Model(const Strings& lines) {
    static const bool zeroRegisters = ZeroRegisters();
    Loaded loaded;
    std::set<uint32_t> registered;
    std::set<std::string> localNames; // upper-cased
    bool fieldFound = false;
    for (const std::string& line : lines) {
        const std::string name = NameOf(line);
        const uint32_t value = qor::TextToShortCut(name);
        const bool zero = line.find('\0') != std::string::npos;
        if ((value || zeroRegisters) && registered.insert(value).second) {
            loaded.global.push_back(name);
            loaded.exact = loaded.exact && !zero;
        }
        if (!name.empty() && localNames.insert(Upper(name)).second) {
            loaded.local.push_back(line);
            loaded.exact = loaded.exact && !zero;
        }
        if (!fieldFound && Upper(name) == "RECT1") {
            fieldFound = true;
            loaded.field = line.substr(name.size() + 1);
            loaded.exact = loaded.exact && !zero;
        }
    }
    return loaded;
}

// The entries of a published manager list, each by what stands before its "=".
Strings NamesIn(const std::string& list) {
    Strings names;
    for (const std::string& line : PlainLines(list)) names.push_back(NameOf(line));
    return names;
}

const char kListText[] =
    "Ctrl+Alt+F7=:Sub\r\n"
    "Rect1=Ctrl+Shift+F9\r\n"
    "Shift+Ctrl+Alt+F6=*Set [X] 1\r\n"
    "NoEquals\r\n"
    "alt+ctrl+f7=:dup\r\n"
    "Ctrl+Alt+F12=^Hello{#10}World\n"
    "=empty name\r"
    "Ctrl+Alt+F4=a=b\r\n"
    "rect1=second\r\n"
    "Ctrl+Alt+F3=|Button1\r\n"
    "Alt+F11=C:\\some folder\\file.txt\r\n"
    "Ctrl+Alt+F2=:Sub\r\n"
    "Shift+Alt+F10=^a much longer paste text that runs on and on\r\n";

// Every byte value but the line breaks in the names of the entries.
std::string EveryByteNames() {
    std::string text;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n' || b == '=') continue;
        text += std::string(1, static_cast<char>(b)) + std::to_string(b) + "=:Sub\r\n";
    }
    return text + "Rect1=" + std::string(1, '\x01') + "\xff\r\n";
}

// The list and a last line long enough to make the encrypted file 100 MB.
// (Zeros after an encrypted list decrypt to some 600,000 lines of noise, each
// refused by the global manager with its own LastError write: minutes here.)
std::string HugeCoded(const std::string& plain) {
    Strings lines = PlainLines(plain);
    lines.push_back("Ctrl+Alt+F5=^" + std::string(kHuge / 4 * 3, 'x'));
    std::string coded = qor::EncodeListFile(lines, true);
    EXPECT_GE(coded.size(), kHuge);
    return coded;
}

class CraftedKeyLists : public ::testing::Test {
protected:
    void SetUp() override {
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        ASSERT_TRUE(host.Load());
        ASSERT_TRUE(host.Exec("qorCreateHotKey", {"Rect1", "", "", "[HK]"}));
    }
    // Loads `file` through all three readers, starting from empty managers and
    // a new field, and returns what they hold.
    Loaded LoadAll(const Crafted& file, const std::string& flag) {
        Empty();
        host.SetVar(kGlobalList, "");
        host.SetVar(kLocalList, "");
        WriteCrafted(path, file);
        const auto before = Expected(file, 4096);
        for (const char* action : {"qorLoadHotKeyManager", "qorLoadLocalKeyManager", "qorLoadHotKeys"}) {
            EXPECT_TRUE(host.Exec(action, {path, flag})) << action << ": " << host.LastError();
            EXPECT_EQ(Snapshot(path, 4096), before) << action << " changed the file";
        }
        return {NamesIn(host.Var(kGlobalList)), PlainLines(host.Var(kLocalList)), host.Var("[HK]")};
    }

    // The managers live as long as the plug-in: their entries are deleted by
    // the names they published, and saving them must then write nothing. Only
    // when a name cannot be given back whole (a zero byte cuts the host's
    // text) or the lists are long (each deletion publishes the rest) is the
    // plug-in loaded afresh.
    void Empty() {
        const Strings global = NamesIn(host.Var(kGlobalList)), local = PlainLines(host.Var(kLocalList));
        bool emptied = global.size() + local.size() <= 64;
        if (emptied) {
            for (const std::string& name : global) host.Exec("qorDeleteHotKeyFromManager", {name});
            for (const std::string& line : local) host.Exec("qorDeleteLocalKeyFromManager", {NameOf(line)});
            const std::string saved = scratch.path() + "\\saved.txt";
            for (const char* save : {"qorSaveHotKeyManager", "qorSaveLocalKeyManager"}) {
                EXPECT_TRUE(host.Exec(save, {saved, "False"})) << host.LastError();
                emptied = emptied && qortest::FileBytes(saved).empty();
            }
        }
        if (emptied) {
            EXPECT_TRUE(host.Exec("qorRemoveHotKey", {"Rect1"}));
        } else {
            ++reloads;
            host.Unload();
            EXPECT_TRUE(host.Load());
        }
        EXPECT_TRUE(host.Exec("qorCreateHotKey", {"Rect1", "", "", "[HK]"}));
    }

    int reloads = 0;
    HostEmulator host;
    qortest::ScratchFolder scratch{"qorcrafted"};
    const std::string path = scratch.path() + "\\keys.txt";
};

TEST_F(CraftedKeyLists, EveryReaderTakesWhatTheBytesSayAndLeavesTheFile) {
    const std::string plain = kListText;
    const std::string coded = qor::EncodeListFile(PlainLines(plain), true);
    ASSERT_GT(coded.size(), 256u);
    struct Case {
        std::vector<Crafted> files;
        bool decrypt;
    };
    std::vector<Case> cases = {
        {Truncations("plain", plain), false},
        {Truncations("encrypted", coded), true},
        {RandomFiles("plain", 20, 1), false},
        {RandomFiles("encrypted", 20, 2), true},
        {{Exactly("every byte in names", EveryByteNames())}, false},
        {{Exactly("every byte in names, encrypted", qor::EncodeListFile(PlainLines(EveryByteNames()), true))}, true},
        {{Crafted{"100 MB, a zero tail", plain, kHuge}}, false},
        {{Exactly("100 MB, a long last line, encrypted", HugeCoded(plain))}, true},
    };
    int files = 0, exact = 0;
    for (const Case& c : cases) {
        for (const Crafted& file : c.files) {
            SCOPED_TRACE(file.what);
            ++files;
            // The reader's own cut of the decoded text is the oracle for
            // encrypted files; plain files are cut here.
            const std::string text = file.bytes + std::string(file.size - file.bytes.size(), '\0');
            const Loaded expected = Model(c.decrypt ? qor::DecodeListFile(text, true) : PlainLines(text));
            const Loaded loaded = LoadAll(file, c.decrypt ? "True" : "False");
            if (expected.exact) {
                ++exact;
                EXPECT_EQ(loaded, expected);
            }
        }
    }
    DeleteFileA(path.c_str());
    std::printf("[ crafted  ] %d key list files through 3 readers, %d compared entry by entry, %d reloads\n", files,
                exact, reloads);
}

// ---- The clipboard backup ------------------------------------------------------

// The backup the paste writes is swapped for crafted bytes just before the
// restore opens it.
const Crafted* g_crafted = nullptr;
std::string g_backupPath;

HANDLE WINAPI CraftingCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (g_crafted && name && !(access & GENERIC_WRITE) && _stricmp(name, g_backupPath.c_str()) == 0)
        WriteCrafted(name, *g_crafted);
    return CreateFileA(name, access, share, security, disposition, flags, templateFile);
}

std::string ClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return "<closed>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutClipboardText(HWND owner, const std::string& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST(CraftedBackup, TheRestoreTakesAWholeBackupOnlyAndLeavesTheFile) {
    HostEmulator host;
    ASSERT_TRUE(host.Load());
    qortest::OtherWindow other;
    qortest::ScratchFolder scratch("qorcraftclip");
    host.SetVar("[TempDir]", scratch.path() + "\\");
    g_backupPath = scratch.path() + "\\qorClipBack000.dat";
    ASSERT_NE(host.PatchPluginImport("KERNEL32.dll", "CreateFileA", reinterpret_cast<void*>(&CraftingCreateFile)),
              nullptr);
    ASSERT_TRUE(host.Exec("qorAddHotKeyInManager", {"Ctrl+Alt+F10", "^p"}));
    std::string typed;
    auto paste = [&](const Crafted* crafted) {
        PutClipboardText(other.frame(), "Earlier text");
        g_crafted = crafted;
        EXPECT_TRUE(other.Focus());
        host.KeyPress(VK_F10, false, true, true);
        host.Pump(50);
        g_crafted = nullptr;
        typed += "p";
        EXPECT_EQ(other.Text(), typed) << "the paste went on";
    };
    // The backup as the plug-in writes it, restored whole.
    paste(nullptr);
    const std::string backup = qortest::FileBytes(g_backupPath);
    std::vector<qor::ClipboardItem> items;
    ASSERT_TRUE(qor::ReadClipboardStream(backup, items));
    EXPECT_EQ(ClipboardText(other.frame()), "Earlier text");

    std::string allBytes;
    for (int b = 1; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
    std::vector<Crafted> files = Truncations("backup", backup);
    for (Crafted& file : RandomFiles("backup", 10, 3)) files.push_back(std::move(file));
    files.push_back(Exactly("every byte in a name", qor::WriteClipboardStream({{0xC000, allBytes, "named"},
                                                                                 {CF_TEXT, "", std::string("Named", 6)}})));
    files.push_back({"100 MB", backup, kHuge});
    for (const Crafted& file : files) {
        SCOPED_TRACE(file.what);
        paste(&file);
        std::vector<qor::ClipboardItem> read;
        // What follows the list's end marker is never read.
        const std::string bytes = file.bytes + std::string(file.size - file.bytes.size(), '\0');
        std::string expected = "p"; // a damaged backup leaves the pasted text where it is
        if (qor::ReadClipboardStream(bytes, read)) {
            expected = "<none>";
            for (const auto& item : read)
                if (item.id == CF_TEXT && item.name.empty()) expected = item.data.c_str();
        }
        EXPECT_EQ(ClipboardText(other.frame()), expected);
        EXPECT_EQ(Snapshot(g_backupPath, 4096), Expected(file, 4096)) << "the restore changed the file";
    }
    std::printf("[ crafted  ] %zu backup files through the paste restore\n", files.size());
}

} // namespace
