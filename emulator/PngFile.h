#pragma once
// PNG files through the system's imaging component (WIC): the emulator's
// screenshots, and reading them back.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorhost {

// Pixels top row first, three bytes each in blue, green, red order; every row
// takes `stride` bytes (at least width * 3).
struct BgrImage {
    int width = 0, height = 0;
    size_t stride = 0;
    std::vector<uint8_t> bytes;
    // The pixel at (x, y) as a COLORREF.
    COLORREF At(int x, int y) const {
        const uint8_t* p = bytes.data() + size_t(y) * stride + size_t(x) * 3;
        return RGB(p[2], p[1], p[0]);
    }
};

// What is on the screen inside the window's frame (a top-level window with
// its title bar, or a child window), as the screen shows it now.
BgrImage CaptureWindow(HWND window);

// The image as the bytes of a PNG file; empty, with the failed step in
// `error`, when the imaging component refuses.
std::vector<uint8_t> EncodePng(const BgrImage& image, std::string& error);
// A PNG file's bytes as an image with the stride width * 3; false, with the
// failed step in `error`, when they do not decode.
bool DecodePng(const std::vector<uint8_t>& file, BgrImage& image, std::string& error);

} // namespace qorhost
