// The screenshot encoder of the host emulator: checksums against known values
// and a PNG whose pixels decode back from its stored blocks.
#include <gtest/gtest.h>

#include <string>

#include "../../emulator/PngWriter.h"

using qorhost::Adler32;
using qorhost::Crc32;
using qorhost::EncodePng;

namespace {

uint32_t BigEndianAt(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

TEST(PngWriter, ChecksumsMatchKnownValues) {
    const std::string text = "123456789";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(Crc32(bytes, text.size()), 0xCBF43926u);
    EXPECT_EQ(Adler32(bytes, text.size()), 0x091E01DEu);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
}

TEST(PngWriter, WritesAValidStructureWhosePixelsReadBack) {
    const int w = 3, h = 2;
    std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::vector<uint8_t> png = EncodePng(w, h, rgb);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // Walk the chunks, checking every CRC.
    size_t at = 8;
    std::vector<std::string> types;
    std::vector<uint8_t> idat;
    while (at < png.size()) {
        const uint32_t length = BigEndianAt(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(BigEndianAt(png, at + 8 + length), Crc32(png.data() + at + 4, length + 4)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(BigEndianAt(png, at + 8), uint32_t(w));
            EXPECT_EQ(BigEndianAt(png, at + 12), uint32_t(h));
            EXPECT_EQ(png[at + 16], 8);
            EXPECT_EQ(png[at + 17], 2);
        }
        if (type == "IDAT") idat.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    // One stored block: header, 5-byte block header, filter byte + row per line, Adler-32.
    ASSERT_EQ(idat.size(), 2u + 5u + size_t(h) * (1 + w * 3) + 4u);
    EXPECT_EQ(idat[2], 1) << "final stored block";
    std::vector<uint8_t> raw(idat.begin() + 7, idat.end() - 4);
    EXPECT_EQ(raw[0], 0);
    EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 1, raw.begin() + 10), std::vector<uint8_t>(rgb.begin(), rgb.begin() + 9));
    EXPECT_EQ(raw[10], 0);
    EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 11, raw.end()), std::vector<uint8_t>(rgb.begin() + 9, rgb.end()));
    EXPECT_EQ(BigEndianAt(idat, idat.size() - 4), Adler32(raw.data(), raw.size()));
}

TEST(PngWriter, LargeImagesSplitIntoStoredBlocks) {
    const int w = 300, h = 200; // 180,200 bytes of scanlines: three stored blocks
    const std::vector<uint8_t> png = EncodePng(w, h, std::vector<uint8_t>(size_t(w) * h * 3, 0x7F));
    const uint32_t idatLength = BigEndianAt(png, 8 + 25);
    EXPECT_EQ(idatLength, 2u + 3 * 5u + size_t(h) * (1 + w * 3) + 4u);
}

TEST(PngWriter, RejectsMismatchedSizes) {
    EXPECT_THROW(EncodePng(2, 2, std::vector<uint8_t>(11)), std::invalid_argument);
    EXPECT_THROW(EncodePng(0, 2, {}), std::invalid_argument);
}

} // namespace
