// The global hot key manager and the local key manager under real input:
// lists and their variables, refusals and duplicates, the five commands
// (the shell-open one proven by a marker file its program writes), key-up
// mode, paste into another window with the clipboard put back, the local
// hook consuming bound keys, list files, re-entrancy and unloading.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "HostEmulator.h"
#include "KeyTestSupport.h"
#include "hotkeys/ClipboardStream.h"
#include "hotkeys/HotKeyList.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

const char kGlobalList[] = "[qorHotKeyManagerList]";
const char kLocalList[] = "[qorLocalKeyManagerList]";

class KeyManagers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        ASSERT_TRUE(host.Activate());
        host.DefineSubroutine("Sub1", [this] { ++runs; });
    }
    bool Add(const std::string& key, const std::string& command) {
        return host.Exec("qorAddHotKeyInManager", {key, command});
    }
    bool AddLocal(const std::string& key, const std::string& command) {
        return host.Exec("qorAddLocalKeyInManager", {key, command});
    }
    // Ctrl+Alt+key pressed while the other window has the focus.
    void PressCtrlAlt(WORD key) {
        EXPECT_TRUE(other.Focus());
        host.KeyPress(key, false, true, true);
        host.Pump(50);
    }
    // A command file that writes `marker` when the shell opens it.
    std::string MarkerScript(const std::string& name, const std::string& marker) {
        const std::string script = qortest::TempFile(name);
        qortest::WriteFileBytes(script, "@echo opened> \"" + marker + "\"\r\n");
        return script;
    }
    static bool WaitForFile(const std::string& path) {
        return qortest::PumpUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
    }

    HostEmulator host;
    qortest::OtherWindow other;
    int runs = 0;
};

TEST_F(KeyManagers, GlobalListsRefusalsAndDeletes) {
    ASSERT_TRUE(Add("Ctrl+Alt+F7", ":Sub1"));
    EXPECT_EQ(host.Var(kGlobalList), "Ctrl+Alt+F7=Sub1\r\n");
    ASSERT_TRUE(Add("^Alt+F7", "*x")); // the same combination: refused, lists unchanged
    EXPECT_EQ(host.LastError(), "Failed to register this hotkey.");
    ASSERT_TRUE(Add("^Alt+F8", "^Hello{#10}World"));
    ASSERT_TRUE(Add("alt+ctrl+f9", "C:\\a b.txt"));
    EXPECT_EQ(host.Var(kGlobalList), "Ctrl+Alt+F7=Sub1\r\n^Alt+F8=Hello World\r\nalt+ctrl+f9=C:\\a b.txt\r\n");
    EXPECT_FALSE(RegisterHotKey(other.frame(), 1, MOD_CONTROL | MOD_ALT, VK_F8));

    // Deleting under another text releases the combination but keeps the line.
    ASSERT_TRUE(host.Exec("qorDeleteHotKeyFromManager", {"Ctrl+Alt+F8"}));
    EXPECT_TRUE(RegisterHotKey(other.frame(), 1, MOD_CONTROL | MOD_ALT, VK_F8));
    UnregisterHotKey(other.frame(), 1);
    EXPECT_EQ(host.Var(kGlobalList), "Ctrl+Alt+F7=Sub1\r\n^Alt+F8=Hello World\r\nalt+ctrl+f9=C:\\a b.txt\r\n");
    ASSERT_TRUE(host.Exec("qorDeleteHotKeyFromManager", {"CTRL+ALT+F7"}));
    EXPECT_EQ(host.Var(kGlobalList), "^Alt+F8=Hello World\r\nalt+ctrl+f9=C:\\a b.txt\r\n");
    ASSERT_TRUE(host.Exec("qorDeleteHotKeyFromManager", {"Ctrl+Alt+F12"})); // never added: nothing
    ASSERT_TRUE(host.Exec("qorDeleteHotKeyFromManager", {"alt+ctrl+f9"}));

    // The file keeps whole commands, in order; loading adds after the entries there.
    const std::string file = qortest::TempFile("qorhk_global.txt");
    ASSERT_TRUE(host.Exec("qorSaveHotKeyManager", {file, "False"}));
    EXPECT_EQ(qortest::FileBytes(file), "^Alt+F8=^Hello{#10}World\r\n");
    qortest::WriteFileBytes(file, "Ctrl+Alt+F7=*one=two\nShift+Ctrl+Alt+F7=:Sub1");
    ASSERT_TRUE(host.Exec("qorLoadHotKeyManager", {file, "False"}));
    EXPECT_EQ(host.Var(kGlobalList), "^Alt+F8=Hello World\r\nCtrl+Alt+F7=one=two\r\nShift+Ctrl+Alt+F7=Sub1\r\n");
    ASSERT_TRUE(host.Exec("qorSaveHotKeyManager", {file, "true"}));
    const std::string coded = qortest::FileBytes(file);
    EXPECT_EQ(coded.find("\r\n"), coded.size() - 2);
    EXPECT_EQ((coded.size() - 2) % 4, 0u);
    EXPECT_EQ(qor::DecodeListFile(coded, true),
              Strings({"^Alt+F8=^Hello{#10}World", "Ctrl+Alt+F7=*one=two", "Shift+Ctrl+Alt+F7=:Sub1"}));
    EXPECT_TRUE(host.Exec("qorLoadHotKeyManager", {qortest::TempFile("qorhk_none.txt"), "true"}));
    for (const char* key : {"^Alt+F8", "Ctrl+Alt+F7", "Shift+Ctrl+Alt+F7"})
        ASSERT_TRUE(host.Exec("qorDeleteHotKeyFromManager", {key}));
    // ^Alt+F8 was released earlier under another text: its line stays.
    EXPECT_EQ(host.Var(kGlobalList), "^Alt+F8=Hello World\r\n");
    ASSERT_TRUE(host.Exec("qorLoadHotKeyManager", {file, "TRUE"}));
    EXPECT_EQ(host.Var(kGlobalList),
              "^Alt+F8=Hello World\r\n^Alt+F8=Hello World\r\nCtrl+Alt+F7=one=two\r\nShift+Ctrl+Alt+F7=Sub1\r\n");
}

TEST_F(KeyManagers, GlobalCommandsRunWhenPressedElsewhere) {
    const std::string marker = qortest::TempFile("qorhk_opened.txt");
    host.SetObjectWindowAnswer("Button1", std::to_string(reinterpret_cast<uintptr_t>(other.frame())));
    host.SetObjectWindowAnswer("Bad", "not a number");
    ASSERT_TRUE(Add("Ctrl+Alt+F2", "*Set [X] 1"));
    ASSERT_TRUE(Add("Ctrl+Alt+F3", ":Sub1"));
    ASSERT_TRUE(Add("Ctrl+Alt+F4", "|Button1"));
    ASSERT_TRUE(Add("Ctrl+Alt+F5", "|Bad"));
    ASSERT_TRUE(Add("Ctrl+Alt+F6", MarkerScript("qorhk_open.cmd", marker)));
    ASSERT_TRUE(Add("ctrl+alt+f11", ":Sub1")); // registered, but found only under its canonical text
    ASSERT_TRUE(Add("Alt+Ctrl+F12", ":Sub1")); // letter case aside, not canonical either
    PressCtrlAlt(VK_F2);
    PressCtrlAlt(VK_F3);
    PressCtrlAlt(VK_F4);
    PressCtrlAlt(VK_F5);
    PressCtrlAlt(VK_F11);
    PressCtrlAlt(VK_F12);
    EXPECT_EQ(host.ScriptLines(), Strings({"Set [X] 1", "GoSub \"Sub1\"", "GoSub \"Sub1\""}));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(other.buttonDowns, 1);
    EXPECT_EQ(other.buttonUps, 1);
    PressCtrlAlt(VK_F6);
    EXPECT_TRUE(WaitForFile(marker));
}

TEST_F(KeyManagers, KeyUpModeWaitsForEveryKeyToBeReleased) {
    host.SetVar("[qorBrindavelHKEventOn]", "KeyUp");
    DWORD ranAt = 0;
    bool keysDownWhenRun = false;
    host.DefineSubroutine("Sub1", [&] {
        ++runs;
        ranAt = GetTickCount();
        keysDownWhenRun =
            ((GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU) | GetAsyncKeyState(VK_F9)) & 0x8000) != 0;
    });
    ASSERT_TRUE(Add("Ctrl+Alt+F9", ":Sub1"));
    // Wine re-reads the keyboard from the X server on a late focus event, and
    // injected keys are not down there: the held keys can then count as
    // released before the test lets go of them. The command must never run
    // while a key is reported down, and it must wait for the release at least
    // once in a few tries.
    bool waited = false;
    for (int attempt = 0; attempt < 3 && !waited; ++attempt) {
        runs = 0;
        EXPECT_TRUE(other.Focus());
        std::atomic<DWORD> releasedAt{0};
        qortest::SendKey(VK_CONTROL, false);
        qortest::SendKey(VK_MENU, false);
        qortest::SendKey(VK_F9, false);
        std::thread releaser([&] {
            Sleep(400);
            releasedAt = GetTickCount();
            qortest::SendKey(VK_F9, true);
            qortest::SendKey(VK_MENU, true);
            qortest::SendKey(VK_CONTROL, true);
        });
        const bool ran = qortest::PumpUntil([&] { return runs > 0; });
        releaser.join();
        ASSERT_TRUE(ran);
        EXPECT_FALSE(keysDownWhenRun) << "the command ran while keys were held";
        waited = static_cast<LONG>(ranAt - releasedAt.load()) >= 0;
        host.Pump(20);
    }
    EXPECT_TRUE(waited);
    // The last key text is cleared afterwards: the next press runs again.
    runs = 1;
    PressCtrlAlt(VK_F9);
    EXPECT_EQ(runs, 2);
}

TEST_F(KeyManagers, PasteTypesIntoTheForegroundWindowAndPutsTheClipboardBack) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    host.SetVar("[TempDir]", folder);
    const UINT custom = RegisterClipboardFormatA("QorKeyTestFormat");
    ASSERT_TRUE(OpenClipboard(other.frame()));
    EmptyClipboard();
    auto put = [](UINT format, const std::string& bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    };
    put(CF_TEXT, std::string("Earlier text", 13));
    put(custom, "\x01\x02\x03");
    CloseClipboard();

    ASSERT_TRUE(Add("Ctrl+Alt+F10", "^Hello{#10}World"));
    EXPECT_EQ(host.Var(kGlobalList), "Ctrl+Alt+F10=Hello World\r\n");
    PressCtrlAlt(VK_F10);
    EXPECT_EQ(other.Text(), "Hello\r\nWorld");
    EXPECT_TRUE(IsWindowEnabled(other.frame()));

    ASSERT_TRUE(OpenClipboard(other.frame()));
    auto read = [](UINT format) {
        HANDLE data = GetClipboardData(format);
        if (!data) return std::string("<none>");
        std::string bytes(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
        GlobalUnlock(data);
        return bytes;
    };
    EXPECT_EQ(read(CF_TEXT), std::string("Earlier text", 13));
    EXPECT_EQ(read(custom), "\x01\x02\x03");
    EXPECT_EQ(read(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing")), "<none>");
    CloseClipboard();

    std::vector<qor::ClipboardItem> items;
    ASSERT_TRUE(qor::ReadClipboardStream(qortest::FileBytes(std::string(folder) + "qorClipBack000.dat"), items));
    bool sawText = false, sawCustom = false;
    for (const auto& item : items) {
        sawText = sawText || (item.id == CF_TEXT && item.name.empty() && item.data == std::string("Earlier text", 13));
        sawCustom = sawCustom || (item.name == "QorKeyTestFormat" && item.data == "\x01\x02\x03");
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawCustom);

    // A backup that fails is never followed by a restore of an older one.
    ASSERT_TRUE(Add("Ctrl+Alt+F11", "^x"));
    host.SetVar("[TempDir]", std::string(folder) + "no such folder\\");
    PressCtrlAlt(VK_F11); // the backup cannot be written: the restore leaves the clipboard alone
    EXPECT_EQ(other.Text(), "Hello\r\nWorldx");
    ASSERT_TRUE(OpenClipboard(other.frame()));
    EXPECT_EQ(read(CF_TEXT), std::string("x", 2));
    CloseClipboard();
}

TEST_F(KeyManagers, PasteKeepsABitmapInMemoryAndLeavesTheFileAlone) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    host.SetVar("[TempDir]", folder);
    const std::string backup = std::string(folder) + "qorClipBack000.dat";
    qortest::WriteFileBytes(backup, "untouched");
    const BYTE pixels[8] = {0xF0, 0, 0x0F, 0, 0xF0, 0, 0x0F, 0};
    ASSERT_TRUE(OpenClipboard(other.frame()));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, CreateBitmap(8, 4, 1, 1, pixels));
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(text), "along", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();

    ASSERT_TRUE(Add("Ctrl+Alt+F9", "^bmp"));
    PressCtrlAlt(VK_F9);
    EXPECT_EQ(other.Text(), "bmp");
    EXPECT_EQ(qortest::FileBytes(backup), "untouched");
    ASSERT_TRUE(OpenClipboard(other.frame()));
    BITMAP bitmap{};
    HANDLE restored = GetClipboardData(CF_BITMAP);
    ASSERT_NE(restored, nullptr);
    GetObjectA(restored, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 8);
    EXPECT_EQ(bitmap.bmHeight, 4);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)); // only the picture comes back
    CloseClipboard();
}

TEST_F(KeyManagers, GlobalSubroutineMayDeleteItsOwnEntry) {
    host.DefineSubroutine("Sub1", [this] {
        ++runs;
        host.Exec("qorDeleteHotKeyFromManager", {"Ctrl+Alt+F3"});
    });
    ASSERT_TRUE(Add("Ctrl+Alt+F3", ":Sub1"));
    PressCtrlAlt(VK_F3);
    PressCtrlAlt(VK_F3);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(host.Var(kGlobalList), "");
}

TEST_F(KeyManagers, LocalHookConsumesBoundKeysAndPassesOthers) {
    ASSERT_TRUE(AddLocal("Q", "*Marker"));
    ASSERT_TRUE(AddLocal("Shift+Ctrl+Z", ":Sub1"));
    ASSERT_TRUE(AddLocal("ctrl+shift+y", ":Sub1")); // another modifier order never matches
    EXPECT_TRUE(other.Focus());
    host.TypeText("aqb");
    host.KeyPress('Z', true, true);
    host.KeyPress('Y', true, true);
    host.KeyPress(VK_CONTROL);
    host.Pump(30);
    EXPECT_EQ(other.Text(), "ab");
    EXPECT_EQ(host.ScriptLines(), Strings({"Marker", "GoSub \"Sub1\""}));

    // A key looked at without being taken runs its command only once.
    qortest::SendKey('Q', false);
    qortest::SendKey('Q', true);
    MSG msg;
    ASSERT_TRUE(qortest::PumpUntil([&] { return PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE); }));
    host.Pump(30);
    EXPECT_EQ(host.ScriptLines().size(), 3u);
    EXPECT_EQ(other.Text(), "ab");
}

TEST_F(KeyManagers, LocalListDuplicatesAndFiles) {
    ASSERT_TRUE(AddLocal("Ctrl+A", ":Sub1"));
    ASSERT_TRUE(AddLocal("Ctrl+A", "*x"));
    EXPECT_EQ(host.LastError(), "Ctrl+A key is already in use.");
    ASSERT_TRUE(AddLocal("ctrl+a", "*x"));
    EXPECT_EQ(host.LastError(), "ctrl+a key is already in use.");
    ASSERT_TRUE(AddLocal("^A", "*y"));
    ASSERT_TRUE(AddLocal("", "*ignored"));
    EXPECT_EQ(host.Var(kLocalList), "Ctrl+A=:Sub1\r\n^A=*y\r\n");

    const std::string file = qortest::TempFile("qorhk_local.txt");
    qortest::WriteFileBytes(file, "F2=*a\r\nNoEquals\r\nf2=*dup\r\nF3=:Sub1=x");
    ASSERT_TRUE(host.Exec("qorLoadLocalKeyManager", {file, "False"}));
    EXPECT_EQ(host.LastError(), "f2 key is already in use.");
    EXPECT_EQ(host.Var(kLocalList), "Ctrl+A=:Sub1\r\n^A=*y\r\nF2=*a\r\nF3=:Sub1=x\r\n");
    ASSERT_TRUE(host.Exec("qorSaveLocalKeyManager", {file, "True"}));
    EXPECT_EQ(qor::DecodeListFile(qortest::FileBytes(file), true),
              Strings({"Ctrl+A=:Sub1", "^A=*y", "F2=*a", "F3=:Sub1=x"}));
    EXPECT_TRUE(host.Exec("qorLoadLocalKeyManager", {qortest::TempFile("qorhk_none.txt"), "False"}));
    EXPECT_FALSE(host.Exec("qorSaveLocalKeyManager", {qortest::TempFile("no such folder\\x.txt"), "False"}));
    EXPECT_EQ(host.LastError().rfind("Cannot create file \"", 0), 0u);

    for (const char* key : {"CTRL+A", "^a", "F2", "F3", "F3"})
        ASSERT_TRUE(host.Exec("qorDeleteLocalKeyFromManager", {key}));
    EXPECT_EQ(host.Var(kLocalList), "");
}

TEST_F(KeyManagers, LocalCommandsBusyFlagAndClicks) {
    const std::string marker = qortest::TempFile("qorhk_local_opened.txt");
    host.SetObjectWindowAnswer("Button1", std::to_string(reinterpret_cast<uintptr_t>(other.frame())));
    host.SetObjectWindowAnswer("Bad", "x1");
    host.DefineSubroutine("Sub1", [this] {
        ++runs;
        host.KeyPress(VK_F8); // while the subroutine runs, its key does nothing
    });
    ASSERT_TRUE(AddLocal("F8", ":Sub1"));
    ASSERT_TRUE(AddLocal("F4", "|Button1"));
    ASSERT_TRUE(AddLocal("F5", "|Bad"));
    ASSERT_TRUE(AddLocal("F6", MarkerScript("qorhk_local.cmd", marker)));
    EXPECT_TRUE(other.Focus());
    host.KeyPress(VK_F8);
    host.KeyPress(VK_F4);
    host.KeyPress(VK_F5);
    host.Pump(30);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(other.buttonDowns, 1);
    EXPECT_EQ(other.buttonUps, 1);
    host.KeyPress(VK_F6);
    EXPECT_TRUE(WaitForFile(marker));
}

TEST_F(KeyManagers, UnloadReleasesHotKeysAndRemovesTheHook) {
    ASSERT_TRUE(Add("Ctrl+Alt+F7", ":Sub1"));
    ASSERT_TRUE(AddLocal("Q", "*Marker"));
    host.Unload();
    EXPECT_TRUE(RegisterHotKey(other.frame(), 1, MOD_CONTROL | MOD_ALT, VK_F7));
    UnregisterHotKey(other.frame(), 1);
    EXPECT_EQ(GlobalFindAtomA(("HotKeyManagerHotKey" + std::to_string(0xC000 | VK_F7)).c_str()), 0);
    EXPECT_TRUE(other.Focus());
    host.TypeText("q");
    qortest::PumpUntil([&] { return !other.Text().empty(); });
    EXPECT_EQ(other.Text(), "q");
}

} // namespace
