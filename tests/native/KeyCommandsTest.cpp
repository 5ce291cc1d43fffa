#include "hotkeys/ClipboardStream.h"
#include "hotkeys/KeyCommands.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

TEST(KeyCommands, KindsByFirstCharacter) {
    struct Case {
        const char* command;
        KeyCommandKind global, local;
        const char* argument;
    };
    const Case cases[] = {
        {"*SetVar x 1", KeyCommandKind::Script, KeyCommandKind::Script, "SetVar x 1"},
        {":Sub1", KeyCommandKind::Subroutine, KeyCommandKind::Subroutine, "Sub1"},
        {"|Button1", KeyCommandKind::Click, KeyCommandKind::Click, "Button1"},
        {"^Hello", KeyCommandKind::Paste, KeyCommandKind::Open, "Hello"},
        {"notepad.exe", KeyCommandKind::Open, KeyCommandKind::Open, "notepad.exe"},
        {"", KeyCommandKind::Open, KeyCommandKind::Open, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandKindOf(c.command, true), c.global) << c.command;
        EXPECT_EQ(CommandKindOf(c.command, false), c.local) << c.command;
        EXPECT_EQ(CommandArgument(c.command, c.global), c.argument) << c.command;
    }
    EXPECT_EQ(CommandArgument("^Hello", KeyCommandKind::Open), "^Hello");
}

TEST(KeyCommands, DisplayForms) {
    const std::pair<const char*, const char*> cases[] = {
        {"*SetVar x 1", "SetVar x 1"},
        {":Sub1", "Sub1"},
        {"|Button1", "Button1"},
        {"C:\\a b.txt", "C:\\a b.txt"},
        {"^Hello{#10}World", "Hello World"},
        {"^Hello{#10}{#10}World  ", "Hello  World"},
        {"^a\r\nb\rc\nd", "a b c d"},
        {"^1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15"},
        {"^a  b", "a  b"},
        {"^", ""},
    };
    for (const auto& [command, shown] : cases) EXPECT_EQ(CommandDisplayForm(command), shown) << command;
}

TEST(KeyCommands, PasteTextTurnsMarksIntoLineBreaks) {
    EXPECT_EQ(PasteText("^Hello{#10}World{#10}"), "Hello\r\nWorld\r\n");
    EXPECT_EQ(PasteText("^a{#10}b"), "a\r\nb");
    EXPECT_EQ(PasteText("^{#10"), "{#10");
}

TEST(KeyCommands, KeyEventTextIsCanonical) {
    EXPECT_EQ(KeyEventText('A', true, false, true), "Shift+Ctrl+A");
    EXPECT_EQ(KeyEventText(0x74, false, false, false), "F5");
    EXPECT_EQ(KeyEventText(0x65, false, true, false), "Alt+5"); // keypad 5 names the main-row key
    EXPECT_EQ(KeyEventText(0x11, true, false, false), "");      // Ctrl alone: by name, when the layout has one
}

TEST(ClipboardStream, EncodingOfIntegersAndTexts) {
    // An empty clipboard.
    EXPECT_EQ(WriteClipboardStream({}), std::string("\x01\x00", 2));
    const std::vector<ClipboardItem> items = {
        {1, "", "hi"},
        {0xC0A1, "Rich Text Format", std::string(300, 'x')},
        {0xC0A2, "\xC3\xA9t\xC3\xA9", ""},
    };
    const std::string bytes = WriteClipboardStream(items);
    const std::string head = std::string("\x01" "\x02\x01" "\x06\x00" "\x02\x02" "hi", 9) +
                             std::string("\x04\xA1\xC0\x00\x00" "\x06\x10", 7) + "Rich Text Format" +
                             std::string("\x03\x2C\x01", 3);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    const std::string tail = std::string("\x04\xA2\xC0\x00\x00" "\x14\x05\x00\x00\x00", 10) + "\xC3\xA9t\xC3\xA9" +
                             std::string("\x02\x00" "\x00", 3);
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
    std::vector<ClipboardItem> read;
    ASSERT_TRUE(ReadClipboardStream(bytes, read));
    EXPECT_EQ(read, items);
    // A long ASCII name takes four length bytes.
    const std::string longName(256, 'n');
    const std::string withLong = WriteClipboardStream({{0xC000, longName, "d"}});
    EXPECT_EQ(withLong.substr(6, 5), std::string("\x0C\x00\x01\x00\x00", 5));
}

TEST(ClipboardStream, ReaderRefusesDamagedFiles) {
    const std::string good = WriteClipboardStream({{1, "", "hello"}});
    std::vector<ClipboardItem> items;
    // Every cut short of the end marker fails; so do wrong tags and oversize lengths.
    for (size_t n = 0; n + 1 < good.size(); ++n) EXPECT_FALSE(ReadClipboardStream(good.substr(0, n), items)) << n;
    using namespace std::string_literals;
    const std::string bad[] = {
        "\x02\x00"s,                                       // no list-begin marker
        "\x01\x13\x01\x00\x00\x00\x00\x00\x00\x00\x00"s,   // 64-bit integers are refused
        "\x01\x02\x01\x06\x09" "abc\x00"s,                // name longer than the file
        "\x01\x02\x01\x06\x00\x04\xFF\xFF\xFF\x7F" "x\x00"s, // size beyond the file
        "\x01\x02\x01\x06\x00\x02\xFF" "x\x00"s,          // negative size
        "\x01\x02\x01\x07\x00\x00"s,                     // unknown text tag
    };
    for (const std::string& b : bad) EXPECT_FALSE(ReadClipboardStream(b, items)) << b.size();
}

TEST(ClipboardStream, OnlyMemoryFormatsAreCopiedOrHandedBack) {
    // Handles of objects and owner-drawn formats, and ids no clipboard holds.
    for (uint32_t id : {0u, 2u, 3u, 9u, 14u, 0x80u, 0x82u, 0x83u, 0x8Eu, 0x200u, 0x2FFu, 0x300u, 0x3FFu, 0x10000u,
                        0xFFFFFFFFu})
        EXPECT_FALSE(IsMemoryFormat(id)) << std::hex << id;
    // Text, locale, DIB, file drops, display text, registered formats.
    for (uint32_t id : {1u, 7u, 8u, 13u, 15u, 16u, 17u, 0x81u, 0x1FFu, 0x400u, 0xC000u, 0xFFFFu})
        EXPECT_TRUE(IsMemoryFormat(id)) << std::hex << id;
}

} // namespace
} // namespace qor
