// The emulator's screenshots go through the system's imaging component: a
// window of known pixels comes back from its PNG file unchanged, and the file
// is a small fraction of the raw pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HostEmulator.h"
#include "KeyTestSupport.h"
#include "PngFile.h"

using qorhost::BgrImage;
using qorhost::HostEmulator;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    const std::string bytes = qortest::FileBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Pixels only: rows may be padded differently.
void ExpectSamePixels(const BgrImage& actual, const BgrImage& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    int differing = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (actual.At(x, y) != expected.At(x, y) && differing++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual.At(x, y) << " instead of "
                              << expected.At(x, y);
    EXPECT_EQ(differing, 0);
}

// The emulator's rectangle fill (red, green and blue all differ, so swapped
// channels show) and the host window's white.
constexpr COLORREF kRectangleFill = RGB(0xE8, 0xEE, 0xF6);
constexpr COLORREF kHostBackground = RGB(0xFF, 0xFF, 0xFF);

TEST(Screenshot, PngOfAKnownWindowDecodesToItsPixelsAndIsSmall) {
    HostEmulator host;
    SetWindowPos(host.window(), nullptr, 0, 0, 660, 440, SWP_NOMOVE | SWP_NOZORDER);
    host.AddRectangle("Fruit", 20, 20, 220, 24);
    host.AddRectangle("Colours", 20, 64, 220, 150);
    host.AddRectangle("Options", 260, 20, 380, 194);
    host.AddRectangle("Notes", 20, 234, 620, 160);
    ASSERT_TRUE(host.Activate());
    const std::string path = qortest::TempFile("qor_screenshot.png");
    ASSERT_TRUE(host.SaveScreenshot(path));
    const BgrImage screen = qorhost::CaptureWindow(host.window());

    const std::vector<uint8_t> file = FileBytes(path);
    EXPECT_FALSE(Exists(path + ".part"));
    const size_t raw = size_t(screen.width) * screen.height * 3;
    EXPECT_LT(file.size(), 32u * 1024) << "raw pixels: " << raw;
    BgrImage decoded;
    std::string error;
    ASSERT_TRUE(qorhost::DecodePng(file, decoded, error)) << error;
    ExpectSamePixels(decoded, screen);

    // Known pixels at known places: inside a rectangle, and the host's background.
    RECT frame{};
    GetWindowRect(host.window(), &frame);
    auto at = [&](HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return decoded.At(p.x - frame.left, p.y - frame.top);
    };
    EXPECT_EQ(at(host.Rectangle("Colours"), 5, 5), kRectangleFill);
    EXPECT_EQ(at(host.Rectangle("Notes"), 600, 10), kRectangleFill);
    EXPECT_EQ(at(host.window(), 250, 225), kHostBackground);
    EXPECT_EQ(at(host.window(), 650, 10), kHostBackground);
}

TEST(Screenshot, EveryRowSurvivesWhateverTheWidth) {
    for (int width : {1, 2, 3, 5, 17}) {
        BgrImage image;
        image.width = width;
        image.height = 3;
        image.stride = size_t(width) * 3 + 4; // rows longer than their pixels
        image.bytes.assign(image.stride * image.height, 0xAB);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t* p = image.bytes.data() + size_t(y) * image.stride + size_t(x) * 3;
                p[0] = uint8_t(x * 40), p[1] = uint8_t(y * 90), p[2] = uint8_t(255 - x - y);
            }
        std::string error;
        const std::vector<uint8_t> png = qorhost::EncodePng(image, error);
        ASSERT_FALSE(png.empty()) << error;
        BgrImage decoded;
        ASSERT_TRUE(qorhost::DecodePng(png, decoded, error)) << error;
        SCOPED_TRACE(width);
        ExpectSamePixels(decoded, image);
    }
}

TEST(Screenshot, FailuresLeaveNoFile) {
    HostEmulator host;
    const std::string missingFolder = qortest::TempFile("qor_no_such_folder\\shot.png");
    const std::string good = qortest::TempFile("qor_screenshot_null.png");
    struct Case {
        HWND window;
        std::string path;
    } cases[] = {{host.window(), missingFolder}, {nullptr, good}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_FALSE(HostEmulator::SaveWindowScreenshot(c.window, c.path));
        EXPECT_FALSE(Exists(c.path));
        EXPECT_FALSE(Exists(c.path + ".part"));
    }
    std::string error;
    BgrImage decoded;
    EXPECT_FALSE(qorhost::DecodePng({'n', 'o', 't', ' ', 'P', 'N', 'G'}, decoded, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(qorhost::EncodePng(BgrImage{}, error).empty());
    EXPECT_EQ(error, "no pixels to encode");
}

} // namespace
