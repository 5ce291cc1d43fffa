// The parts of the text conversions that come from Windows itself: key names
// of the keyboard layout, the ANSI case mappings and the decimal separator.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/AnsiText.h"
#include "core/ScriptError.h"
#include "core/ValueEncodings.h"
#include "hotkeys/ShortCutText.h"

namespace {

std::string LayoutName(UINT vk) {
    char name[64] = {};
    const int n = GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16), name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

TEST(WindowsText, KeysOutsideTheTableAreNamedByTheKeyboardLayout) {
    // Windows says "Caps Lock", Wine's X11 layout "Caps_Lock": whatever the layout says.
    const std::string caps = LayoutName(VK_CAPITAL);
    ASSERT_FALSE(caps.empty());
    EXPECT_EQ(qor::ShortCutToText(VK_CAPITAL), caps);
    EXPECT_EQ(qor::ShortCutToText(0x4000 | VK_CAPITAL), "Ctrl+" + caps);
    EXPECT_EQ(qor::TextToShortCut("ctrl+" + qor::AnsiLowerCase(caps)), 0x4000u | VK_CAPITAL);
    const std::string oem = LayoutName(VK_OEM_1);
    ASSERT_FALSE(oem.empty());
    EXPECT_EQ(qor::ShortCutToText(0x8000 | VK_OEM_1), "Alt+" + oem);
    // Table names win over the layout's: the layout calls 0x0D "Enter" too, but 0x2E is "Del".
    EXPECT_EQ(qor::ShortCutToText(VK_DELETE), "Del");
    EXPECT_EQ(qor::ShortCutToText(0xE070), "Shift+Ctrl+Alt+F1");
}

TEST(WindowsText, KeysWithoutAScanCodeHaveNoName) {
    EXPECT_EQ(qor::ShortCutToText(0), "");
    ASSERT_EQ(MapVirtualKeyA(0x07, MAPVK_VK_TO_VSC), 0u);
    EXPECT_EQ(qor::ShortCutToText(0x07), "") << "an unassigned code";
}

TEST(WindowsText, CaseMappingsComeFromTheSystemCodePage) {
    EXPECT_EQ(qor::AnsiUpperCase("abc \xE4\xF6\xFC\xE9"), "ABC \xC4\xD6\xDC\xC9");
    EXPECT_EQ(qor::AnsiLowerCase("ABC \xC4\xD6\xDC\xC9"), "abc \xE4\xF6\xFC\xE9");
    EXPECT_TRUE(qor::SameTextAnsi("\xC4rger", "\xE4RGER"));
    EXPECT_FALSE(qor::SameNameAscii("\xC4rger", "\xE4rger")) << "rectangle names fold ASCII only";
    EXPECT_EQ(qor::ReplaceText("Stra\xDF" "e \xC4pfel", "\xE4PFEL", "Birnen", true, true), "Stra\xDF" "e Birnen");
}

TEST(WindowsText, EveryByteMapsAsTheSystemMapsIt) {
    for (int value = 0; value < 256; ++value) {
        char byte = static_cast<char>(value);
        char up = byte, low = byte;
        if (value != 0) {
            CharUpperBuffA(&up, 1);
            CharLowerBuffA(&low, 1);
        }
        EXPECT_EQ(qor::AnsiUpperChar(byte), up) << value;
        EXPECT_EQ(qor::AnsiLowerChar(byte), low) << value;
        EXPECT_EQ(qor::AnsiUpperCase(std::string(1, byte)), std::string(1, up)) << value;
        EXPECT_EQ(qor::AnsiLowerCase(std::string(1, byte)), std::string(1, low)) << value;
    }
    EXPECT_TRUE(qor::LowersTo("\xC4RGER", "\xE4rger"));
    EXPECT_TRUE(qor::RaisedContains("gro\xDF\xE4rger", "\xC4RG"));
}

TEST(WindowsText, FlagsReadNumbersWithTheLocaleDecimalSeparator) {
    char separator[8] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator), 0);
    EXPECT_EQ(qor::DecimalSeparator(), separator[0]);
    const std::string half = std::string("0") + separator[0] + "5";
    EXPECT_TRUE(qor::TextToFlag(half));
    EXPECT_FALSE(qor::TextToFlag(std::string("0") + separator[0] + "0"));
    EXPECT_TRUE(qor::TextToFlag("TRUE"));
    EXPECT_THROW(qor::TextToFlag("yes"), qor::ScriptError);
}

} // namespace
