#pragma once
// A dependency-free PNG encoder for the emulator's screenshots: 8-bit RGB,
// stored (uncompressed) deflate blocks, CRC-32 and Adler-32 as PNG requires.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qorhost {

// rgb holds width * height * 3 bytes, top row first.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

} // namespace qorhost
