// Timing of the hot key parts against bare equivalents in the same run.
//
// 1. Local key hook: typing into an edit while the local key manager holds
//    1,000 bound keys (none of them typed), against the same typing under a
//    keyboard hook that only passes events on. Target: within 1.5 times.
// 2. List files: qorSaveLocalKeyManager and qorLoadLocalKeyManager of 10,000
//    entries, encrypted, against the same bytes written and read with plain
//    file I/O plus one RC4 and one Base64 pass each way. Target: within 1.5 times.
#include <windows.h>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/evp.h>
#include <openssl/rc4.h>
#include <openssl/sha.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "HostEmulator.h"

namespace {

using qorbench::Pad;

constexpr int kRuns = 5;
constexpr int kTypedKeys = 1000;
constexpr int kBoundKeys = 1000;
constexpr int kFileEntries = 10000;

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// ---- 1. the keyboard hook ------------------------------------------------------

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(nullptr, code, wParam, lParam); }

// Types kTypedKeys letters into the edit, in batches, handling every message.
void TypeInto(HWND edit) {
    SetWindowTextA(edit, "");
    const WORD letters[] = {'A', 'S', 'D', 'F', 'J', 'K', 'L'};
    for (int done = 0; done < kTypedKeys;) {
        std::vector<INPUT> batch;
        for (int i = 0; i < 50 && done < kTypedKeys; ++i, ++done)
            for (bool up : {false, true}) {
                INPUT in{};
                in.type = INPUT_KEYBOARD;
                in.ki.wVk = letters[done % 7];
                in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(in.ki.wVk, MAPVK_VK_TO_VSC));
                in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
                batch.push_back(in);
            }
        SendInput(static_cast<UINT>(batch.size()), batch.data(), sizeof(INPUT));
        while (GetWindowTextLengthA(edit) < done) qorhost::HostEmulator::Pump(0);
    }
}

double TimeTyping(qorhost::HostEmulator& host, HWND edit) {
    SetForegroundWindow(host.window());
    SetFocus(edit);
    host.Pump(300); // whatever the load or unload left in the queue goes first
    return qorbench::Seconds([&] { TypeInto(edit); });
}

// 1,000 bindings: every modifier set with letters and F keys, the rest under
// texts no key press forms.
std::vector<std::string> BoundKeys() {
    const char* modifiers[] = {"Ctrl+", "Alt+", "Ctrl+Alt+", "Shift+Ctrl+", "Shift+Alt+", "Shift+Ctrl+Alt+"};
    std::vector<std::string> keys;
    for (const char* m : modifiers) {
        for (char c = 'A'; c <= 'Z'; ++c) keys.push_back(std::string(m) + c);
        for (int f = 1; f <= 24; ++f) keys.push_back(std::string(m) + "F" + std::to_string(f));
    }
    for (int n = 0; static_cast<int>(keys.size()) < kBoundKeys; ++n) keys.push_back("Ctrl+Alt+Key" + Pad(n));
    return keys;
}

void HookBench() {
    qorhost::HostEmulator host;
    host.keepLog = false;
    if (!host.Load()) return;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 300, 24, host.window(),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    const std::vector<std::string> keys = BoundKeys();

    // Turn about, so that both see the same machine: the bare hook, then the
    // plug-in's manager in a fresh load (its hook lives until the unload).
    double baseline = 1e30, plugin = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        host.Unload();
        HHOOK bare = SetWindowsHookExA(WH_KEYBOARD, PassOn, nullptr, GetCurrentThreadId());
        baseline = std::min(baseline, TimeTyping(host, edit));
        UnhookWindowsHookEx(bare);
        if (!host.Load()) return;
        for (const auto& key : keys) host.Exec("qorAddLocalKeyInManager", {key, "*SetVar [X] 1"});
        plugin = std::min(plugin, TimeTyping(host, edit));
    }

    std::printf("local key hook, %d key presses, %d bound keys: plug-in %.1f us/event, pass-on hook %.1f us/event, "
                "ratio %.2f (target <= 1.5)\n",
                kTypedKeys, kBoundKeys, plugin * 1e6 / (2 * kTypedKeys), baseline * 1e6 / (2 * kTypedKeys),
                plugin / baseline);
    DestroyWindow(edit);
}

// ---- 2. list files ---------------------------------------------------------------

const std::string& Key() {
    static const std::string key = [] {
        unsigned char digest[SHA_DIGEST_LENGTH];
        SHA_CTX context;
        SHA1_Init(&context);
        SHA1_Update(&context, "@kelpTorrentVale", 16);
        SHA1_Final(digest, &context);
        return std::string(reinterpret_cast<char*>(digest), sizeof digest);
    }();
    return key;
}

std::string Rc4Pass(const std::string& data) {
    RC4_KEY schedule;
    RC4_set_key(&schedule, static_cast<int>(Key().size()), reinterpret_cast<const unsigned char*>(Key().data()));
    std::string out(data.size(), '\0');
    RC4(&schedule, data.size(), reinterpret_cast<const unsigned char*>(data.data()),
        reinterpret_cast<unsigned char*>(&out[0]));
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FileBench() {
    std::string text;
    for (int n = 0; n < kFileEntries; ++n)
        text += "Ctrl+Alt+Key" + Pad(n) + "=*SetVar [Result] entry " + Pad(n) + " of the list\r\n";
    const std::string plainPath = TempPath("qorhk_bench_plain.txt");
    const std::string pluginPath = TempPath("qorhk_bench_plugin.txt");
    const std::string barePath = TempPath("qorhk_bench_bare.txt");
    WriteBytes(plainPath, text);

    // Bare: encrypt and encode, write; read, decode and decrypt.
    std::string back;
    auto bareRun = [&] {
        const std::string cipher = Rc4Pass(text);
        std::string coded((cipher.size() + 2) / 3 * 4 + 1, '\0');
        coded.resize(static_cast<size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&coded[0]),
                                                         reinterpret_cast<const unsigned char*>(cipher.data()),
                                                         static_cast<int>(cipher.size()))));
        WriteBytes(barePath, coded + "\r\n");
        std::string read = ReadBytes(barePath);
        read.resize(read.size() - 2);
        std::string raw(read.size() / 4 * 3, '\0');
        const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(&raw[0]),
                                           reinterpret_cast<const unsigned char*>(read.data()),
                                           static_cast<int>(read.size()));
        raw.resize(static_cast<size_t>(length) - (read.size() - read.find_last_not_of('=') - 1));
        back = Rc4Pass(raw);
    };

    // Plug-in: save from a manager holding the entries, load into an empty
    // one; turn about with the bare run.
    qorhost::HostEmulator host;
    host.keepLog = false;
    double bare = 1e30, save = 1e30, load = 1e30;
    bool same = true;
    for (int run = 0; run < kRuns; ++run) {
        bare = std::min(bare, qorbench::Seconds(bareRun));
        host.Unload();
        if (!host.Load()) return;
        host.Exec("qorLoadLocalKeyManager", {plainPath, "False"});
        save = std::min(save, qorbench::Seconds([&] { host.Exec("qorSaveLocalKeyManager", {pluginPath, "True"}); }));
        host.Unload();
        host.Load();
        load = std::min(load, qorbench::Seconds([&] { host.Exec("qorLoadLocalKeyManager", {pluginPath, "True"}); }));
        same = same && host.Var("[qorLocalKeyManagerList]") == text;
    }
    same = same && back == text && ReadBytes(pluginPath) == ReadBytes(barePath);
    std::printf("list file, %d entries encrypted, save + load: plug-in %.1f ms (save %.1f, load %.1f), bare %.1f ms, "
                "ratio %.2f (target <= 1.5)%s\n",
                kFileEntries, (save + load) * 1e3, save * 1e3, load * 1e3, bare * 1e3, (save + load) / bare,
                same ? "" : "  MISMATCH");
}

} // namespace

int main() {
    HookBench();
    FileBench();
    return 0;
}
