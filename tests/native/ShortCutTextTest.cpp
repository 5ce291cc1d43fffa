#include "hotkeys/ShortCutText.h"

#include <gtest/gtest.h>

#include <vector>

namespace qor {
namespace {

const size_t kMegabyte = 1024 * 1024;

// Installs a key name provider for the lifetime of the object.
class ScopedKeyNames {
public:
    explicit ScopedKeyNames(KeyNameProvider provider) : previous_(SetKeyNameProvider(provider)) {}
    ~ScopedKeyNames() { SetKeyNameProvider(previous_); }
    ScopedKeyNames(const ScopedKeyNames&) = delete;
    ScopedKeyNames& operator=(const ScopedKeyNames&) = delete;

private:
    KeyNameProvider previous_;
};

std::string TestLayout(uint32_t code)
{
    switch (code) {
    case 0x03: return "Break";
    case 0x13: return "Pause";
    case 0x97: return "F25";
    case 0xBA: return "\xDC";   // U umlaut
    case 0xBB: return "+";
    case 0xDC: return "^";
    default: return std::string();
    }
}

std::string LayoutNamingEverything(uint32_t code)
{
    return "Key" + std::to_string(code);
}

// Codes 8 to 255 that have a name in the fixed table.
std::vector<uint32_t> FixedCodes()
{
    std::vector<uint32_t> codes;
    for (uint32_t code = 8; code < 256; ++code)
        if (!KeyName(code).empty())
            codes.push_back(code);
    return codes;
}

TEST(KeyNames, FixedTable)
{
    EXPECT_EQ(KeyName(0x08), "BkSp");
    EXPECT_EQ(KeyName(0x09), "Tab");
    EXPECT_EQ(KeyName(0x0D), "Enter");
    EXPECT_EQ(KeyName(0x1B), "Esc");
    EXPECT_EQ(KeyName(0x20), "Space");
    EXPECT_EQ(KeyName(0x21), "PgUp");
    EXPECT_EQ(KeyName(0x22), "PgDn");
    EXPECT_EQ(KeyName(0x23), "End");
    EXPECT_EQ(KeyName(0x24), "Home");
    EXPECT_EQ(KeyName(0x25), "Left");
    EXPECT_EQ(KeyName(0x26), "Up");
    EXPECT_EQ(KeyName(0x27), "Right");
    EXPECT_EQ(KeyName(0x28), "Down");
    EXPECT_EQ(KeyName(0x2D), "Ins");
    EXPECT_EQ(KeyName(0x2E), "Del");
    EXPECT_EQ(KeyName(0x30), "0");
    EXPECT_EQ(KeyName(0x39), "9");
    EXPECT_EQ(KeyName(0x41), "A");
    EXPECT_EQ(KeyName(0x5A), "Z");
    EXPECT_EQ(KeyName(0x60), "0");
    EXPECT_EQ(KeyName(0x65), "5");
    EXPECT_EQ(KeyName(0x69), "9");
    EXPECT_EQ(KeyName(0x70), "F1");
    EXPECT_EQ(KeyName(0x79), "F10");
    EXPECT_EQ(KeyName(0x87), "F24");
    EXPECT_EQ(KeyName(0x141), "A");   // only the low byte counts
}

TEST(KeyNames, NativeDefaultNamesNothingElse)
{
    for (uint32_t code : {0x00u, 0x01u, 0x07u, 0x0Au, 0x10u, 0x11u, 0x12u, 0x2Fu, 0x3Au, 0x40u,
                          0x5Bu, 0x5Fu, 0x6Au, 0x6Fu, 0x88u, 0xBAu, 0xFFu})
        EXPECT_EQ(KeyName(code), "") << code;
    // 15 named keys, 10 digits, 26 letters, 10 keypad digits, 24 function keys.
    EXPECT_EQ(FixedCodes().size(), 15u + 10u + 26u + 10u + 24u);
}

TEST(KeyNames, LayoutNamesOnlyCodesOutsideTheTable)
{
    ScopedKeyNames layout(LayoutNamingEverything);
    EXPECT_EQ(KeyName(0xBA), "Key186");
    EXPECT_EQ(KeyName(0x1BA), "Key186");
    EXPECT_EQ(KeyName(0x41), "A");
    EXPECT_EQ(KeyName(0x65), "5");
    EXPECT_EQ(KeyName(0x87), "F24");
}

TEST(KeyNames, NullProviderNamesNothing)
{
    ScopedKeyNames none(nullptr);
    EXPECT_EQ(KeyName(0xBA), "");
    EXPECT_EQ(KeyName(0x41), "A");
}

TEST(ShortCutToText, ModifiersInFixedOrder)
{
    EXPECT_EQ(ShortCutToText(0x4041), "Ctrl+A");
    EXPECT_EQ(ShortCutToText(0x6041), "Shift+Ctrl+A");
    EXPECT_EQ(ShortCutToText(0xE070), "Shift+Ctrl+Alt+F1");
    EXPECT_EQ(ShortCutToText(0xC02E), "Ctrl+Alt+Del");
    EXPECT_EQ(ShortCutToText(0xA020), "Shift+Alt+Space");
    EXPECT_EQ(ShortCutToText(0x8000 | 0x87), "Alt+F24");
    EXPECT_EQ(ShortCutToText(0x41), "A");
}

TEST(ShortCutToText, WindowsKeyAndOtherBitsAreNotWritten)
{
    EXPECT_EQ(ShortCutToText(0x10041), "A");
    EXPECT_EQ(ShortCutToText(0x14041), "Ctrl+A");
    EXPECT_EQ(ShortCutToText(0x1F41), "A");
    EXPECT_EQ(ShortCutToText(0xFFFF0041u), "A");
}

TEST(ShortCutToText, NamelessKeysGiveEmptyText)
{
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(0xE000), "");
    EXPECT_EQ(ShortCutToText(0x4000 | 0xBA), "");
    EXPECT_EQ(ShortCutToText(0xFFFFFFFFu), "");
}

TEST(ShortCutToText, KeypadDigitsReadBackAsMainRowDigits)
{
    EXPECT_EQ(ShortCutToText(0x65), "5");
    EXPECT_EQ(TextToShortCut("5"), 0x35u);
    EXPECT_EQ(ShortCutToText(0x4060), "Ctrl+0");
    EXPECT_EQ(TextToShortCut("Ctrl+0"), 0x4030u);
}

TEST(TextToShortCut, PrefixesInAnyOrderAndCase)
{
    EXPECT_EQ(TextToShortCut("Ctrl+A"), 0x4041u);
    EXPECT_EQ(TextToShortCut("ctrl+a"), 0x4041u);
    EXPECT_EQ(TextToShortCut("CTRL+A"), 0x4041u);
    EXPECT_EQ(TextToShortCut("^a"), 0x4041u);
    EXPECT_EQ(TextToShortCut("Shift+Ctrl+A"), 0x6041u);
    EXPECT_EQ(TextToShortCut("ctrl+shift+a"), 0x6041u);
    EXPECT_EQ(TextToShortCut("CTRL+SHIFT+A"), 0x6041u);
    EXPECT_EQ(TextToShortCut("^Shift+A"), 0x6041u);
    EXPECT_EQ(TextToShortCut("Alt+Ctrl+Del"), 0xC02Eu);
    EXPECT_EQ(ShortCutToText(TextToShortCut("Alt+Ctrl+Del")), "Ctrl+Alt+Del");
    EXPECT_EQ(TextToShortCut("aLT+sHIFT+^f12"), 0xE07Bu);
}

TEST(TextToShortCut, RepeatedPrefixesAddOnce)
{
    EXPECT_EQ(TextToShortCut("Shift+Shift+A"), 0x2041u);
    EXPECT_EQ(TextToShortCut("^^Ctrl+A"), 0x4041u);
    EXPECT_EQ(TextToShortCut("Alt+Alt+Alt+Space"), 0x8020u);
}

TEST(TextToShortCut, KeyNamesIgnoreCase)
{
    EXPECT_EQ(TextToShortCut("space"), 0x20u);
    EXPECT_EQ(TextToShortCut("BKSP"), 0x08u);
    EXPECT_EQ(TextToShortCut("pgdn"), 0x22u);
    EXPECT_EQ(TextToShortCut("f24"), 0x87u);
    EXPECT_EQ(TextToShortCut("F1"), 0x70u);
    EXPECT_EQ(TextToShortCut("Esc"), 0x1Bu);
}

TEST(TextToShortCut, NoCombinationGivesZero)
{
    for (const std::string text : {"", "Ctrl+", "Shift+", "^", "Shift+Ctrl+Alt+", "Ctrl+Foo", "F25", "F0",
                                   "Ctrl+ A", "Ctrl+A ", " Ctrl+A", "ShiftA", "Ctrl-A", "Ctrl+AB", "+",
                                   "Ctrl++", "Win+A", "Shift", "AA", "\xDC", "Ctrl+\xE9"}) {
        EXPECT_EQ(TextToShortCut(text), 0u) << text;
    }
    EXPECT_EQ(TextToShortCut(std::string("A\0", 2)), 0u);
}

TEST(TextToShortCut, LayoutNamesAreSearchedByCode)
{
    ScopedKeyNames layout(TestLayout);
    EXPECT_EQ(ShortCutToText(0x4000 | 0xBA), "Ctrl+\xDC");
    EXPECT_EQ(TextToShortCut("Ctrl+\xDC"), 0x40BAu);
    EXPECT_EQ(TextToShortCut("ctrl+\xFC"), 0x40BAu);   // lower-case u umlaut
    EXPECT_EQ(TextToShortCut("F25"), 0x97u);
    EXPECT_EQ(TextToShortCut("Ctrl++"), 0x40BBu);
    EXPECT_EQ(TextToShortCut("Pause"), 0x13u);
    EXPECT_EQ(TextToShortCut("Shift+^"), 0u);   // "^" is taken as a prefix, nothing is left
}

TEST(TextToShortCut, CodesBelowEightAreFoundAboveTwoHundredFiftyFive)
{
    ScopedKeyNames layout(TestLayout);
    // Code 3 lies outside the searched range 8 to 597, code 259 has the same low byte.
    EXPECT_EQ(KeyName(0x03), "Break");
    EXPECT_EQ(TextToShortCut("Break"), 0x103u);
    EXPECT_EQ(TextToShortCut("Alt+break"), 0x8103u);
}

TEST(TextToShortCut, FirstCodeWithTheNameWins)
{
    ScopedKeyNames layout(LayoutNamingEverything);
    EXPECT_EQ(TextToShortCut("Key186"), 0xBAu);
    EXPECT_EQ(TextToShortCut("Key7"), 0x107u);
    EXPECT_EQ(TextToShortCut("Key256"), 0u);
}

TEST(ShortCutRoundTrip, EveryCanonicalTextReadsBackToItsValue)
{
    for (uint32_t code : FixedCodes()) {
        for (uint32_t modifiers = 0; modifiers < 8; ++modifiers) {
            const uint32_t value = code | (modifiers << 13);
            const std::string text = ShortCutToText(value);
            ASSERT_FALSE(text.empty()) << value;
            const uint32_t read = TextToShortCut(text);
            EXPECT_EQ(ShortCutToText(read), text) << text;
            if (code < 0x60 || code > 0x69)
                EXPECT_EQ(read, value) << text;
            else
                EXPECT_EQ(read, value - 0x30) << text;
        }
    }
}

TEST(ShortCutRoundTrip, LayoutNamedKeys)
{
    ScopedKeyNames layout(LayoutNamingEverything);
    for (uint32_t code = 8; code < 256; ++code) {
        const uint32_t value = code | 0xE000;
        const std::string text = ShortCutToText(value);
        EXPECT_EQ(ShortCutToText(TextToShortCut(text)), text) << code;
    }
}

TEST(TextToShortCut, HostileTexts)
{
    std::string prefixes;
    while (prefixes.size() < kMegabyte)
        prefixes += "Shift+ctrl+^ALT+";
    EXPECT_EQ(TextToShortCut(prefixes), 0u);
    EXPECT_EQ(TextToShortCut(prefixes + "Home"), 0xE024u);
    EXPECT_EQ(TextToShortCut(std::string(kMegabyte, 'A')), 0u);
    std::string high;
    for (int value = 0x80; value < 0x100; ++value)
        high += static_cast<char>(value);
    EXPECT_EQ(TextToShortCut(high), 0u);
    for (int value = 0x80; value < 0x100; ++value)
        EXPECT_EQ(TextToShortCut(std::string(1, static_cast<char>(value))), 0u) << value;
    EXPECT_EQ(TextToShortCut("Ctrl+\"A\""), 0u);
    EXPECT_EQ(TextToShortCut("Ctrl+\r"), 0u);
    EXPECT_EQ(TextToShortCut("\nA"), 0u);
}

TEST(HotKeySplitting, ValueToKeyCodeAndModFlags)
{
    const SplitHotKeyValue ctrlA = SplitHotKey(0x4041);
    EXPECT_EQ(ctrlA.keyCode, 0x41u);
    EXPECT_EQ(ctrlA.modFlags, kModControl);
    const SplitHotKeyValue all = SplitHotKey(0x1E070);
    EXPECT_EQ(all.keyCode, 0x70u);
    EXPECT_EQ(all.modFlags, kModAlt | kModControl | kModShift | kModWin);
    EXPECT_EQ(SplitHotKey(0x2020).modFlags, kModShift);
    EXPECT_EQ(SplitHotKey(0x8020).modFlags, kModAlt);
    EXPECT_EQ(SplitHotKey(0x10020).modFlags, kModWin);
    EXPECT_EQ(SplitHotKey(0x1F41).modFlags, 0u);
    EXPECT_EQ(SplitHotKey(0).keyCode, 0u);
    EXPECT_EQ(kModAlt, 1u);
    EXPECT_EQ(kModControl, 2u);
    EXPECT_EQ(kModShift, 4u);
    EXPECT_EQ(kModWin, 8u);
}

TEST(HotKeySplitting, JoinIsTheInverse)
{
    EXPECT_EQ(JoinHotKey(0x41, kModControl), 0x4041u);
    EXPECT_EQ(JoinHotKey(0x70, kModAlt | kModControl | kModShift), 0xE070u);
    EXPECT_EQ(JoinHotKey(0x41, kModWin), 0x10041u);
    EXPECT_EQ(JoinHotKey(0x41, 0x4000), 0x41u);   // MOD_NOREPEAT is no modifier of the value
    EXPECT_EQ(JoinHotKey(0x141, 0), 0x41u);
    for (uint32_t value : {0u, 0x41u, 0x2041u, 0x4041u, 0x8041u, 0x10041u, 0x1E0FFu}) {
        const SplitHotKeyValue split = SplitHotKey(value);
        EXPECT_EQ(JoinHotKey(split.keyCode, split.modFlags), value) << value;
    }
}

} // namespace
} // namespace qor
