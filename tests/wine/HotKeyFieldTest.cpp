// The hot key field as host and user see it: system-wide combinations pressed
// while another window has the focus, refusals, typing a combination into the
// field, focus, save and load of all fields, removal from inside its own
// subroutine, and nbMessage 2 releasing the combinations.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "KeyTestSupport.h"
#include "ListTestSupport.h"
#include "hotkeys/HotKeyList.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

class HotKeyField : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        host.AddRectangle("Rect2", 20, 60, 200, 30);
        host.Activate();
        host.DefineSubroutine("OnKey", [this] { ++presses; });
    }
    bool Create(const std::string& rect, const std::string& sub = "OnKey", const std::string& var = "[HK]",
                const std::string& font = "") {
        return host.Exec("qorCreateHotKey", {rect, font, sub, var});
    }
    bool Set(const std::string& rect, const std::string& text) { return host.Exec("qorSetHotKey", {rect, text}); }
    HWND Field(const std::string& rect) { return qortest::FindChildOfClass(host.ControlWindow(rect), HOTKEY_CLASSA); }
    // Ctrl+Shift+K pressed while the other window has the focus.
    void PressCtrlShiftK() {
        EXPECT_TRUE(other.Focus());
        host.KeyPress('K', true, true);
        host.Pump(50);
    }

    HostEmulator host;
    qortest::OtherWindow other;
    int presses = 0;
};

TEST_F(HotKeyField, SetCombinationRunsSubroutineWhileAnotherWindowHasTheFocus) {
    ASSERT_TRUE(Create("Rect1"));
    ASSERT_NE(Field("Rect1"), nullptr);
    EXPECT_FALSE(host.HasVar("[HK]")); // a new field writes nothing
    EXPECT_EQ(SendMessageA(Field("Rect1"), HKM_GETHOTKEY, 0, 0), 0);

    ASSERT_TRUE(Set("Rect1", "ctrl+shift+k"));
    EXPECT_EQ(host.Var("[HK]"), "Shift+Ctrl+K");
    EXPECT_EQ(SendMessageA(Field("Rect1"), HKM_GETHOTKEY, 0, 0), 'K' | ((HOTKEYF_SHIFT | HOTKEYF_CONTROL) << 8));
    PressCtrlShiftK();
    PressCtrlShiftK();
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(host.ScriptLines(), Strings({"GoSub \"OnKey\"", "GoSub \"OnKey\""}));

    // The empty text clears the field and releases the combination.
    ASSERT_TRUE(Set("Rect1", ""));
    EXPECT_EQ(host.Var("[HK]"), "");
    PressCtrlShiftK();
    EXPECT_EQ(presses, 2);
    EXPECT_FALSE(Set("Rect9", "F5"));
    EXPECT_EQ(host.LastError(), "There is no hotkey control attached to an object named Rect9.");
}

TEST_F(HotKeyField, RefusedCombinationWritesErrorUntilTheHolderGoes) {
    ASSERT_TRUE(Create("Rect1"));
    ASSERT_TRUE(Create("Rect2", "OnKey", "[HK2]"));
    ASSERT_TRUE(Set("Rect1", "Ctrl+Shift+K"));
    ASSERT_TRUE(Set("Rect2", "Ctrl+Shift+K"));
    EXPECT_EQ(host.Var("[HK2]"), "ERROR");
    EXPECT_EQ(host.WritesTo("[HK2]"), Strings({"Shift+Ctrl+K", "ERROR"}));
    // Without a subroutine nothing is registered, so nothing is refused.
    ASSERT_TRUE(Create("Rect2", "", "[HK2]"));
    ASSERT_TRUE(Set("Rect2", "Ctrl+Shift+K"));
    EXPECT_EQ(host.Var("[HK2]"), "Shift+Ctrl+K");
    // Removing the holder empties its variable and frees the combination.
    ASSERT_TRUE(host.Exec("qorRemoveHotKey", {"Rect1"}));
    EXPECT_EQ(host.Var("[HK]"), "");
    ASSERT_TRUE(Create("Rect2", "OnKey", "[HK2]"));
    ASSERT_TRUE(Set("Rect2", "Ctrl+Shift+K"));
    EXPECT_EQ(host.Var("[HK2]"), "Shift+Ctrl+K");
    PressCtrlShiftK();
    EXPECT_EQ(presses, 1);
    // nbMessage 2 releases it too: another program could now take it.
    host.Message(2);
    EXPECT_TRUE(RegisterHotKey(other.frame(), 77, MOD_CONTROL | MOD_SHIFT, 'K'));
    UnregisterHotKey(other.frame(), 77);
}

TEST_F(HotKeyField, TypingACombinationIntoTheFieldRegistersIt) {
    ASSERT_TRUE(Create("Rect1", "OnKey", "[HK]", "'Courier New', 12, (Bold), (clRed)"));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Field("Rect1"), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    ASSERT_TRUE(host.Exec("qorFocusHotKey", {"Rect1", "ignored"}));
    EXPECT_EQ(GetFocus(), Field("Rect1"));
    host.ClearLog();
    host.KeyPress(VK_F7, false, false, true);
    // every change writes: Alt alone names no key (the empty text), then the
    // combination (a value written again unchanged counted once)
    Strings writes = host.WritesTo("[HK]");
    writes.erase(std::unique(writes.begin(), writes.end()), writes.end());
    EXPECT_EQ(writes, (Strings{"", "Alt+F7"}));
    EXPECT_TRUE(other.Focus());
    host.KeyPress(VK_F7, false, false, true);
    host.Pump(50);
    EXPECT_EQ(presses, 1);
}

TEST_F(HotKeyField, FocusNeedsAnEnabledVisibleField) {
    ASSERT_TRUE(Create("Rect1"));
    host.SendObjectMessage(host.ControlWindow("Rect1"), 7); // the host disables the object
    EXPECT_FALSE(host.Exec("qorFocusHotKey", {"Rect1", ""}));
    EXPECT_EQ(host.LastError(), "Cannot focus a disabled or invisible window");
    host.SendObjectMessage(host.ControlWindow("Rect1"), 8);
    ShowWindow(host.Rectangle("Rect1"), SW_HIDE);
    EXPECT_FALSE(host.Exec("qorFocusHotKey", {"Rect1", ""}));
    EXPECT_FALSE(host.Exec("qorFocusHotKey", {"Rect7", ""}));
    EXPECT_EQ(host.LastError(), "There is no hotkey control attached to an object named Rect7.");
    EXPECT_FALSE(host.Exec("qorCreateHotKey", {"Rect2", "'Arial', x", "", "[HK2]"}));
    EXPECT_EQ(host.ControlWindow("Rect2"), nullptr);
}

TEST_F(HotKeyField, SaveAndLoadAllFields) {
    const std::string plain = qortest::TempFile("qorhk_fields.txt");
    const std::string coded = qortest::TempFile("qorhk_fields.enc");
    // Before any field exists: nothing is written or read.
    EXPECT_TRUE(host.Exec("qorSaveHotKeys", {plain, "False"}));
    EXPECT_EQ(GetFileAttributesA(plain.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(host.Exec("qorLoadHotKeys", {plain, "False"}));

    ASSERT_TRUE(Create("Rect1"));
    ASSERT_TRUE(Create("Rect2", "", "[HK2]"));
    ASSERT_TRUE(Set("Rect1", "ctrl+a"));
    ASSERT_TRUE(host.Exec("qorSaveHotKeys", {plain, "false"}));
    EXPECT_EQ(qortest::FileBytes(plain), "Rect1=Ctrl+A\r\nRect2=\r\n");
    ASSERT_TRUE(host.Exec("qorSaveHotKeys", {coded, "TRUE"}));
    EXPECT_EQ(qor::DecodeListFile(qortest::FileBytes(coded), true), Strings({"Rect1=Ctrl+A", "Rect2="}));

    // The text goes to the variable as read; fields without a line are cleared.
    qortest::WriteFileBytes(plain, "other=F3\nRECT2=ctrl+shift+f9");
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorLoadHotKeys", {plain, "False"}));
    EXPECT_EQ(host.Var("[HK]"), "");
    EXPECT_EQ(host.Var("[HK2]"), "ctrl+shift+f9");
    EXPECT_EQ(SendMessageA(Field("Rect2"), HKM_GETHOTKEY, 0, 0), VK_F9 | ((HOTKEYF_SHIFT | HOTKEYF_CONTROL) << 8));
    ASSERT_TRUE(host.Exec("qorLoadHotKeys", {coded, "true"}));
    EXPECT_EQ(host.Var("[HK]"), "Ctrl+A");
    EXPECT_TRUE(other.Focus());
    host.KeyPress('A', false, true);
    host.Pump(50);
    EXPECT_EQ(presses, 1);

    // A missing file fails and changes no field.
    const std::string missing = qortest::TempFile("qorhk_missing.txt");
    EXPECT_FALSE(host.Exec("qorLoadHotKeys", {missing, "False"}));
    EXPECT_EQ(host.LastError().rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << host.LastError();
    EXPECT_EQ(host.Var("[HK]"), "Ctrl+A");
    EXPECT_FALSE(host.Exec("qorSaveHotKeys", {qortest::TempFile("no such folder\\x.txt"), "False"}));
    EXPECT_EQ(host.LastError().rfind("Cannot create file \"", 0), 0u) << host.LastError();
}

// The navigation keys and the arrows share their scan codes with keypad keys:
// the field names them right ("Left", not "Num 4") only when their value is
// marked extended, whether it was set or loaded.
TEST_F(HotKeyField, ExtendedKeysReachTheNativeFieldMarkedExtended) {
    struct Case {
        const char* name;
        WORD key;
        bool extended;
    };
    const Case cases[] = {
        {"Left", VK_LEFT, true},  {"Right", VK_RIGHT, true}, {"Up", VK_UP, true},         {"Down", VK_DOWN, true},
        {"PgUp", VK_PRIOR, true}, {"PgDn", VK_NEXT, true},   {"Home", VK_HOME, true},     {"End", VK_END, true},
        {"Ins", VK_INSERT, true}, {"Del", VK_DELETE, true},  {"A", 'A', false},           {"F5", VK_F5, false},
        {"5", '5', false},        {"Enter", VK_RETURN, false}, {"Space", VK_SPACE, false},
    };
    ASSERT_TRUE(Create("Rect1", ""));
    const std::string file = qortest::TempFile("qorhk_extended.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = std::string("Ctrl+") + c.name;
        const LRESULT expected = c.key | ((HOTKEYF_CONTROL | (c.extended ? HOTKEYF_EXT : 0)) << 8);
        ASSERT_TRUE(Set("Rect1", text));
        EXPECT_EQ(SendMessageA(Field("Rect1"), HKM_GETHOTKEY, 0, 0), expected);
        EXPECT_EQ(host.Var("[HK]"), text);
        ASSERT_TRUE(Set("Rect1", ""));
        qortest::WriteFileBytes(file, "Rect1=" + text + "\r\n");
        ASSERT_TRUE(host.Exec("qorLoadHotKeys", {file, "False"}));
        EXPECT_EQ(SendMessageA(Field("Rect1"), HKM_GETHOTKEY, 0, 0), expected);
    }
}

TEST_F(HotKeyField, SubroutineMayRemoveTheFieldThatRanIt) {
    ASSERT_TRUE(Create("Rect1"));
    host.DefineSubroutine("OnKey", [this] {
        ++presses;
        host.Exec("qorRemoveHotKey", {"Rect1"});
    });
    ASSERT_TRUE(Set("Rect1", "Ctrl+Shift+K"));
    PressCtrlShiftK();
    PressCtrlShiftK();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(host.Var("[HK]"), "");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
}

} // namespace
