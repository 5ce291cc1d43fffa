#include "hotkeys/HotKeyList.h"

#include <gtest/gtest.h>

namespace qor {
namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(HotKeyListCrypto, PublishedVectors) {
    // FIPS 180 "abc".
    EXPECT_EQ(Hex(Sha1Digest("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
    // RFC 6229, 40-bit key 0x0102030405, keystream bytes 0 to 31.
    EXPECT_EQ(Hex(Rc4(std::string("\x01\x02\x03\x04\x05"), std::string(32, '\0'))),
              "b2396305f03dc027ccc3524a0a1118a86982944f18fc82d589c403a47a0d0919");
    // RFC 4648 section 10.
    const std::pair<const char*, const char*> base64[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, coded] : base64) {
        EXPECT_EQ(Base64Encode(plain), coded) << plain;
        EXPECT_EQ(Base64Decode(coded), plain) << coded;
    }
    // The file key, and RC4 being its own inverse.
    EXPECT_EQ(Hex(ListFileKey()), "b4a03726d46ae984db3721a4951123a60d7649dd");
    EXPECT_EQ(Rc4(ListFileKey(), Rc4(ListFileKey(), "any text\r\n")), "any text\r\n");
}

TEST(HotKeyListCrypto, DecoderNeverFailsOnDamagedText) {
    // A remainder shorter than a group is ignored; foreign characters count as 0.
    EXPECT_EQ(Base64Decode("Zm9vYmFy\r\n"), "foobar");
    EXPECT_EQ(Base64Decode("Zg=x"), "f");
    EXPECT_EQ(Base64Decode("Zm9="), "fo");
    EXPECT_EQ(Base64Decode("!!!!"), std::string(3, '\0'));
    EXPECT_EQ(Base64Decode("===="), std::string(1, '\0'));
}

TEST(HotKeyListFile, EncryptedFileMatchesIndependentEncoding) {
    // Computed outside this code base (RC4, SHA-1 and Base64 written afresh).
    const Lines lines = {"Ctrl+A=:Sub1", "F5=*Refresh", "Shift+Ctrl+P=^Hello{#10}World"};
    const std::string file = EncodeListFile(lines, true);
    EXPECT_EQ(file, "HkTs2k4NDCKZ8ABFnQmRr3gkEqK7DK+zVTvTTlAalhpIUKvF9eRITtZA9d9mKCGYQiF6BMp7lm8PMw==\r\n");
    EXPECT_EQ(DecodeListFile(file, true), lines);
    EXPECT_EQ(EncodeListFile({"x"}, true), "JT2U\r\n");
    // Read without the flag: one line, named by the text before the padding.
    const Lines plainRead = DecodeListFile(file, false);
    ASSERT_EQ(plainRead.size(), 1u);
    EXPECT_EQ(LineName(plainRead[0]), "HkTs2k4NDCKZ8ABFnQmRr3gkEqK7DK+zVTvTTlAalhpIUKvF9eRITtZA9d9mKCGYQiF6BMp7lm8PMw");
    EXPECT_EQ(LineValue(plainRead[0]), "=");
}

TEST(HotKeyListFile, PlainFilesAndLineEndings) {
    EXPECT_EQ(EncodeListFile({"Rect1=Ctrl+A", "Rect2="}, false), "Rect1=Ctrl+A\r\nRect2=\r\n");
    EXPECT_EQ(EncodeListFile({}, false), "");
    EXPECT_EQ(EncodeListFile({}, true), "");
    EXPECT_TRUE(DecodeListFile("", true).empty());
    EXPECT_TRUE(DecodeListFile("", false).empty());
    const Lines expected = {"a=1", "b=2", "", "c=3"};
    for (const char* text : {"a=1\r\nb=2\r\n\r\nc=3\r\n", "a=1\nb=2\n\nc=3", "a=1\rb=2\r\rc=3\n", "a=1\r\nb=2\n\rc=3"})
        EXPECT_EQ(DecodeListFile(text, false), expected) << text;
}

TEST(HotKeyListFile, NamesValuesAndFlags) {
    EXPECT_EQ(LineName("Ctrl+A=*x=y"), "Ctrl+A");
    EXPECT_EQ(LineValue("Ctrl+A=*x=y"), "*x=y");
    EXPECT_EQ(LineName("NoEquals"), "");
    EXPECT_EQ(LineValue("NoEquals"), "oEquals");
    EXPECT_EQ(LineValue(""), "");
    EXPECT_EQ(LineValue("=v"), "v");
    for (const char* yes : {"true", "TRUE", "True"}) EXPECT_TRUE(IsTrueFlag(yes)) << yes;
    for (const char* no : {"", " true", "true ", "1", "yes", "[Flag]"}) EXPECT_FALSE(IsTrueFlag(no)) << no;
}

TEST(HotKeyListFile, KeyLineListFindsFirstLineOfANameIgnoringCase) {
    KeyLineList list;
    list.Append("Ctrl+A=one");
    list.Append("NoName");
    list.Append("ctrl+a=two");
    list.Append("F5=three");
    EXPECT_EQ(list.Find("CTRL+A"), 0);
    EXPECT_EQ(list.Find("f5"), 3);
    EXPECT_EQ(list.Find("NoName"), -1);
    EXPECT_EQ(list.Find(""), -1);
    list.RemoveAt(0);
    EXPECT_EQ(list.Find("Ctrl+A"), 1);
    EXPECT_EQ(list.Find("F5"), 2);
    EXPECT_EQ(list.Text(), "NoName\r\nctrl+a=two\r\nF5=three\r\n");
    list.RemoveAt(7); // out of range: nothing
    EXPECT_EQ(list.Size(), 3u);

    // Many names, each three times: the first line of each is found, also
    // after the table grew and after removals.
    KeyLineList many;
    for (int n = 0; n < 120; ++n) many.Append("Key" + std::to_string(n % 40) + "=" + std::to_string(n));
    EXPECT_FALSE(many.AppendNew("KEY5=again"));
    EXPECT_TRUE(many.AppendNew("Key40=new"));
    for (int k = 0; k < 41; ++k) EXPECT_EQ(many.Find("key" + std::to_string(k)), k == 40 ? 120 : k) << k;
    many.RemoveAt(7);
    EXPECT_EQ(many.Find("KEY7"), 46);
    EXPECT_EQ(many.Find("Key8"), 7);
}

} // namespace
} // namespace qor
