// The global hot key manager and the local key manager under real input:
// lists and their variables, refusals and duplicates, the five commands
// (the shell-open one proven by a marker file its program writes), key-up
// mode, held combinations, paste into another window with the clipboard put
// back (also from a planted or unwritable backup file, and beside a hung
// foreground window), the local hook consuming bound keys under changing
// layouts, list files, re-entrancy, unloading and process exit.
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

    // The temporary folder as "[TempDir]"; returns the backup file's path.
    std::string UseTempFolder() {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        host.SetVar("[TempDir]", folder);
        return std::string(folder) + "qorClipBack000.dat";
    }
    // Replaces the clipboard's content: memory formats, and a bitmap if given.
    void PutOnClipboard(const std::vector<std::pair<UINT, std::string>>& formats, HBITMAP bitmap = nullptr) {
        ASSERT_TRUE(OpenClipboard(other.frame()));
        EmptyClipboard();
        if (bitmap) SetClipboardData(CF_BITMAP, bitmap);
        for (const auto& [format, bytes] : formats) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            memcpy(GlobalLock(block), bytes.data(), bytes.size());
            GlobalUnlock(block);
            SetClipboardData(format, block);
        }
        CloseClipboard();
    }
    // The clipboard's bytes of a format, or "<none>".
    std::string ClipboardBytes(UINT format) {
        if (!OpenClipboard(other.frame())) return "<not open>";
        std::string bytes = "<none>";
        if (HANDLE data = GetClipboardData(format)) {
            bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return bytes;
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

// A held combination: the hot key field and the global manager in key-up mode
// act once per press; the global manager in immediate mode and the local
// manager act on every auto-repeat too.
TEST_F(KeyManagers, HeldCombinationRepeatsOnlyWhereRepeatsAreWanted) {
    struct Case {
        const char* kind;
        WORD key;
        const char* mode;
        int runsPerHold; // holding with four repeats
    };
    const Case cases[] = {
        {"field", VK_F5, "", 1},
        {"global key-up", VK_F6, "KeyUp", 1},
        {"global immediate", VK_F7, "", 5},
        {"local", VK_F8, "KeyUp", 5},
    };
    host.AddRectangle("Field", 10, 10, 200, 30);
    ASSERT_TRUE(host.Exec("qorCreateHotKey", {"Field", "", "Sub1", "[HK]"}));
    ASSERT_TRUE(host.Exec("qorSetHotKey", {"Field", "Ctrl+Alt+F5"}));
    ASSERT_TRUE(Add("Ctrl+Alt+F6", ":Sub1"));
    ASSERT_TRUE(Add("Ctrl+Alt+F7", ":Sub1"));
    ASSERT_TRUE(AddLocal("Ctrl+Alt+F8", ":Sub1"));
    EXPECT_TRUE(other.Focus());
    host.Pump(100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        host.SetVar("[qorBrindavelHKEventOn]", c.mode);
        runs = 0;
        qortest::HoldCombination({VK_CONTROL, VK_MENU}, c.key, 4);
        EXPECT_EQ(runs, c.runsPerHold);
        // A fresh press after the release counts again.
        qortest::HoldCombination({VK_CONTROL, VK_MENU}, c.key, 0);
        EXPECT_EQ(runs, c.runsPerHold + 1);
    }
}

TEST_F(KeyManagers, PasteTypesIntoTheForegroundWindowAndPutsTheClipboardBack) {
    const std::string backup = UseTempFolder();
    const UINT custom = RegisterClipboardFormatA("QorKeyTestFormat");
    PutOnClipboard({{CF_TEXT, std::string("Earlier text", 13)}, {custom, "\x01\x02\x03"}});

    ASSERT_TRUE(Add("Ctrl+Alt+F10", "^Hello{#10}World"));
    EXPECT_EQ(host.Var(kGlobalList), "Ctrl+Alt+F10=Hello World\r\n");
    PressCtrlAlt(VK_F10);
    EXPECT_EQ(other.Text(), "Hello\r\nWorld");
    EXPECT_TRUE(IsWindowEnabled(other.frame()));
    EXPECT_EQ(ClipboardBytes(CF_TEXT), std::string("Earlier text", 13));
    EXPECT_EQ(ClipboardBytes(custom), "\x01\x02\x03");
    EXPECT_EQ(ClipboardBytes(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing")), "<none>");

    std::vector<qor::ClipboardItem> items;
    const std::string written = qortest::FileBytes(backup);
    ASSERT_TRUE(qor::ReadClipboardStream(written, items));
    bool sawText = false, sawCustom = false;
    for (const auto& item : items) {
        sawText = sawText || (item.id == CF_TEXT && item.name.empty() && item.data == std::string("Earlier text", 13));
        sawCustom = sawCustom || (item.name == "QorKeyTestFormat" && item.data == "\x01\x02\x03");
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawCustom);

    // A backup file that cannot be replaced (another program holds it open)
    // stays as it was, and the clipboard still comes back.
    PutOnClipboard({{CF_TEXT, std::string("Kept", 5)}});
    HANDLE held = CreateFileA(backup.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PressCtrlAlt(VK_F10);
    CloseHandle(held);
    EXPECT_EQ(other.Text(), "Hello\r\nWorldHello\r\nWorld");
    EXPECT_EQ(qortest::FileBytes(backup), written);
    EXPECT_EQ(ClipboardBytes(CF_TEXT), std::string("Kept", 5));
}

TEST_F(KeyManagers, PasteKeepsABitmapAndItsCompanionsInMemoryAndLeavesTheFileAlone) {
    const std::string backup = UseTempFolder();
    qortest::WriteFileBytes(backup, "untouched");
    const BYTE pixels[8] = {0xF0, 0, 0x0F, 0, 0xF0, 0, 0x0F, 0};
    const UINT custom = RegisterClipboardFormatA("QorKeyTestFormat");
    PutOnClipboard({{CF_TEXT, std::string("along", 6)}, {custom, "\x04\x05"}}, CreateBitmap(8, 4, 1, 1, pixels));

    ASSERT_TRUE(Add("Ctrl+Alt+F9", "^bmp"));
    PressCtrlAlt(VK_F9);
    EXPECT_EQ(other.Text(), "bmp");
    EXPECT_EQ(qortest::FileBytes(backup), "untouched");
    EXPECT_EQ(ClipboardBytes(CF_TEXT), std::string("along", 6));
    EXPECT_EQ(ClipboardBytes(custom), "\x04\x05");
    ASSERT_TRUE(OpenClipboard(other.frame()));
    BITMAP bitmap{};
    HANDLE restored = GetClipboardData(CF_BITMAP);
    EXPECT_NE(restored, nullptr);
    GetObjectA(restored, sizeof bitmap, &bitmap);
    CloseClipboard();
    EXPECT_EQ(bitmap.bmWidth, 8);
    EXPECT_EQ(bitmap.bmHeight, 4);
}

// The backup file lies where other programs write: a planted one may name
// object formats, which the restore never hands to the clipboard.
TEST_F(KeyManagers, RestoreHandsNoObjectFormatOfAPlantedFileToTheClipboard) {
    const std::string backup = UseTempFolder();
    const UINT objectFormats[] = {CF_BITMAP, CF_METAFILEPICT, CF_PALETTE, CF_ENHMETAFILE, CF_DSPBITMAP,
                                  CF_PRIVATEFIRST, CF_GDIOBJFIRST, CF_GDIOBJLAST};
    std::vector<qor::ClipboardItem> planted;
    for (UINT format : objectFormats) planted.push_back({format, "", std::string(64, '\x11')});
    planted.push_back({CF_TEXT, "", std::string("planted", 8)});
    other.onPaste = [&] { qortest::WriteFileBytes(backup, qor::WriteClipboardStream(planted)); };
    PutOnClipboard({{CF_TEXT, std::string("mine", 5)}});

    ASSERT_TRUE(Add("Ctrl+Alt+F8", "^p"));
    PressCtrlAlt(VK_F8);
    EXPECT_EQ(other.Text(), "p");
    EXPECT_EQ(ClipboardBytes(CF_TEXT), std::string("planted", 8));
    for (UINT format : objectFormats) EXPECT_FALSE(IsClipboardFormatAvailable(format)) << format;
}

// Disabling a window sends it messages: a foreground window whose thread
// does not answer must not hold the host's thread.
TEST_F(KeyManagers, PasteLeavesAForegroundWindowThatDoesNotAnswerAlone) {
    const std::string backup = UseTempFolder();
    DeleteFileA(backup.c_str());
    ASSERT_TRUE(Add("Ctrl+Alt+F10", "^x"));
    std::atomic<HWND> hung{nullptr};
    HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        HWND window = CreateWindowExA(0, "STATIC", "Hung", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr);
        HostEmulator::FocusWindow(window);
        hung = window;
        WaitForSingleObject(wake, 6000); // no message is handled meanwhile
        HostEmulator::Pump(50);
        DestroyWindow(window);
    });
    ASSERT_TRUE(qortest::PumpUntil([&] { return hung.load() != nullptr; }));
    EXPECT_EQ(GetForegroundWindow(), hung.load());
    const DWORD start = GetTickCount();
    host.KeyPress(VK_F10, false, true, true);
    const bool handled = qortest::PumpUntil([&] { return !qortest::FileBytes(backup).empty(); }, 8000);
    const DWORD took = GetTickCount() - start;
    SetEvent(wake);
    owner.join();
    CloseHandle(wake);
    EXPECT_TRUE(handled);
    EXPECT_LT(took, 2500u);
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

// Keys outside the fixed table are named by the keyboard layout, and a user
// may switch layouts at any time: a binding made under the name a key has
// now fires. Wine 8 loads no second Windows layout (LoadKeyboardLayout of
// "00000407" answers the current one and the layout handle never changes);
// switching the X server's layout renames the keys instead.
TEST_F(KeyManagers, LocalKeyNamesFollowTheKeyboardLayout) {
    const UINT key = VK_OEM_1;
    auto name = [key] {
        char text[64] = {};
        GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16), text, sizeof text);
        return std::string(text);
    };
    auto switchTo = [&](const char* layout, const std::string& from) {
        qortest::RunProgram("Z:\\usr\\bin\\setxkbmap", layout);
        return qortest::PumpUntil([&] { return name() != from; });
    };
    struct UsLayoutAfterwards {
        ~UsLayoutAfterwards() { qortest::RunProgram("Z:\\usr\\bin\\setxkbmap", "us"); }
    } restore;
    const std::string first = name();
    ASSERT_FALSE(first.empty());
    auto press = [&] {
        EXPECT_TRUE(other.Focus());
        host.KeyPress(key, false, true);
        host.Pump(30);
    };
    ASSERT_TRUE(AddLocal("Ctrl+" + first, "*first"));
    press(); // the key's text is made under the first layout
    ASSERT_TRUE(switchTo("de", first));
    const std::string second = name();
    ASSERT_TRUE(AddLocal("Ctrl+" + second, "*second"));
    press();
    EXPECT_TRUE(switchTo("us", second));
    press();
    EXPECT_EQ(host.ScriptLines(), Strings({"first", "second", "first"})) << first << " / " << second;
}

// Hot keys held by a field and by the global manager; true when both atoms
// are in the table.
bool HoldFieldAndManagerHotKeys(HostEmulator& host) {
    host.AddRectangle("Field", 10, 10, 200, 30);
    return host.Exec("qorCreateHotKey", {"Field", "", "Sub1", "[HK]"}) &&
           host.Exec("qorSetHotKey", {"Field", "Ctrl+Alt+F3"}) && host.Var("[HK]") == "Ctrl+Alt+F3" &&
           host.Exec("qorAddHotKeyInManager", {"Ctrl+Alt+F4", ":Sub1"}) && host.LastError().empty() &&
           GlobalFindAtomA(qortest::ProgramPath().c_str()) != 0 &&
           GlobalFindAtomA(qortest::ManagerAtomName(0xC000 | VK_F4).c_str()) != 0;
}

// Global atoms live in the window station and outlast the plug-in and the
// process: a host that unloads the plug-in without discarding its controls,
// or exits without unloading it, leaves none behind.
TEST_F(KeyManagers, DetachingLeavesNoAtomOfAHotKeyBehind) {
    const std::string fieldAtom = qortest::ProgramPath();
    const std::string managerAtom = qortest::ManagerAtomName(0xC000 | VK_F4);
    auto atomsLeft = [&] { return GlobalFindAtomA(fieldAtom.c_str()) + GlobalFindAtomA(managerAtom.c_str()); };
    ASSERT_EQ(atomsLeft(), 0);
    ASSERT_TRUE(HoldFieldAndManagerHotKeys(host));
    host.UnloadWithoutCleanup();
    EXPECT_EQ(atomsLeft(), 0);
    EXPECT_TRUE(RegisterHotKey(other.frame(), 1, MOD_CONTROL | MOD_ALT, VK_F3));
    UnregisterHotKey(other.frame(), 1);

    // The same holdings in a process that then exits with the plug-in loaded.
    EXPECT_EQ(qortest::RunProgram(qortest::ProgramPath(), "--gtest_filter=KeyManagers.DISABLED_ExitWithHotKeysHeld "
                                                          "--gtest_also_run_disabled_tests"),
              0u);
    EXPECT_EQ(atomsLeft(), 0);
}

// Run only by the test above, in a process of its own: ends the process
// while the plug-in holds hot keys (exit code 3 when it could not take them).
TEST_F(KeyManagers, DISABLED_ExitWithHotKeysHeld) { ExitProcess(HoldFieldAndManagerHotKeys(host) ? 0 : 3); }

TEST_F(KeyManagers, UnloadReleasesHotKeysAndRemovesTheHook) {
    ASSERT_TRUE(Add("Ctrl+Alt+F7", ":Sub1"));
    ASSERT_TRUE(AddLocal("Q", "*Marker"));
    host.Unload();
    EXPECT_TRUE(RegisterHotKey(other.frame(), 1, MOD_CONTROL | MOD_ALT, VK_F7));
    UnregisterHotKey(other.frame(), 1);
    EXPECT_EQ(GlobalFindAtomA(qortest::ManagerAtomName(0xC000 | VK_F7).c_str()), 0);
    EXPECT_TRUE(other.Focus());
    host.TypeText("q");
    qortest::PumpUntil([&] { return !other.Text().empty(); });
    EXPECT_EQ(other.Text(), "q");
}

} // namespace

