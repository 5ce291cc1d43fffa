// The TrackBar as host and user see it: the setter rules at creation, real
// mouse drags and arrow keys with the changing and changed subroutines
// counted, the drawn slider's pixels in both orientations, the colour key,
// set properties (a failing call applies nothing), update and remove, the
// volume mode against the test build's stand-in level, and subroutines that
// remove or re-create the slider from inside its events.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "HostEmulator.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

constexpr char kLevel[] = "QOR_TEST_MASTER_LEVEL";
// The stand-in's devices, the default first, and their levels.
constexpr char kDevices[] = "QOR_TEST_MASTER_DEVICES";
constexpr char kLevelA[] = "QOR_TEST_MASTER_LEVEL_A";
constexpr char kLevelB[] = "QOR_TEST_MASTER_LEVEL_B";
constexpr char kLevelC[] = "QOR_TEST_MASTER_LEVEL_C";
constexpr COLORREF kPage = RGB(0xE8, 0xEE, 0xF6); // what the emulator's rectangle paints

std::string Variable(const char* name) {
    char buffer[64] = {};
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}
std::string Level() { return Variable(kLevel); }

void ForgetDevices() {
    for (const char* name : {kLevel, kDevices, kLevelA, kLevelB, kLevelC}) SetEnvironmentVariableA(name, nullptr);
}

// The system's text for "element not found", what Core Audio answers without a device.
std::string NoDeviceMessage() {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, 0x80070490, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? text : "";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

class TrackBar : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetDevices();
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        host.Activate();
        for (const char* name : {"Changing", "Changed", "Volume"})
            host.DefineSubroutine(name, [this, name] { seen[name].push_back(host.Var("[Pos]")); });
    }
    void TearDown() override { ForgetDevices(); }

    bool Create(const std::string& min = "0", const std::string& max = "100", const std::string& value = "0",
                const std::string& orientation = "0", const std::string& volume = "False",
                const std::string& thumbWidth = "20", const std::string& thumbHeight = "16") {
        return host.Exec("qorCreateTrackBar",
                         {"Rect1", thumbWidth, thumbHeight, min, max, value, orientation, volume, "[Pos]"});
    }
    bool Capture(const std::string& changing, const std::string& changed, const std::string& volume = "None") {
        return host.Exec("qorTrackBarCaptureEvents", {"Rect1", changing, changed, volume});
    }
    bool Properties(const Strings& rest) {
        Strings params{"Rect1"};
        params.insert(params.end(), rest.begin(), rest.end());
        return host.Exec("qorTrackBarSetProperties", params);
    }
    bool Update(const std::string& number, const std::string& option) {
        return host.Exec("qorTrackBarUpdate", {"Rect1", number, option});
    }

    HWND Form() { return host.ControlWindow("Rect1"); }

    // Press at x0, move pixel by pixel to x1, release (along y on a vertical slider).
    void Drag(int from, int to, int across, bool vertical = false) {
        ASSERT_TRUE(host.Activate());
        HWND form = Form();
        auto at = [&](int along) {
            if (vertical) host.MouseTo(form, across, along);
            else host.MouseTo(form, along, across);
        };
        at(from);
        host.LeftButton(true);
        for (int p = from; p != to;) {
            p += to > from ? 1 : -1;
            if (!IsWindow(form)) break;
            at(p);
        }
        host.LeftButton(false);
    }
    void Click(int x, int y) { Drag(x, x, y); }

    // What the screen shows of a rectangle of the form, row by row.
    std::vector<COLORREF> Pixels(const RECT& r) {
        host.Pump(30);
        UpdateWindow(host.window());
        POINT origin{0, 0};
        ClientToScreen(Form(), &origin);
        HDC screen = GetDC(nullptr);
        std::vector<COLORREF> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, origin.x + x, origin.y + y));
        ReleaseDC(nullptr, screen);
        return pixels;
    }
    COLORREF Pixel(int x, int y) { return Pixels(RECT{x, y, x + 1, y + 1})[0]; }
    int Count(const RECT& r, COLORREF color) {
        const auto pixels = Pixels(r);
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), color));
    }

    HostEmulator host;
    std::map<std::string, Strings> seen; // the result variable as each subroutine saw it
};

// ---- Creation ----------------------------------------------------------------

TEST_F(TrackBar, TheSetterRulesApplyAtCreation) {
    // The range shows at the ends of the track: a press at either end gives
    // the minimum or the maximum.
    struct Case {
        const char *min, *max, *value;
        std::string created, atLeft, atRight;
    };
    const std::vector<Case> cases = {
        {"0", "100", "0", "0", "0", "100"},
        {"200", "300", "250", "250", "0", "300"}, // the minimum is refused while the maximum is 100
        {"10", "50", "70", "10", "10", "50"},     // the minimum moved the value up; 70 is outside
        {"-50", "-10", "-20", "-20", "-50", "-10"},
        {"5", "5", "5", "5", "5", "100"},         // a maximum not above the minimum is refused
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Create(c.min, c.max, c.value)) << host.LastError();
        EXPECT_EQ(host.Var("[Pos]"), c.created) << c.min << ".." << c.max;
        Click(0, 15);
        EXPECT_EQ(host.Var("[Pos]"), c.atLeft) << c.min << ".." << c.max;
        Click(199, 15);
        EXPECT_EQ(host.Var("[Pos]"), c.atRight) << c.min << ".." << c.max;
    }
}

TEST_F(TrackBar, AThumbHeightNotBelowTwentySevenIsIgnoredAtCreation) {
    // Value 50 puts the thumb at x 90..110; a thumb of 26 rows has its frame on row 2.
    ASSERT_TRUE(Create("0", "100", "50", "0", "False", "20", "26"));
    EXPECT_EQ(Pixel(100, 1), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(100, 2), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(100, 3), RGB(192, 192, 192));
    ASSERT_TRUE(Create("0", "100", "50", "0", "False", "20", "27"));
    EXPECT_EQ(Pixel(100, 2), RGB(255, 255, 255)) << "the default 16 stays: rows 7..22";
    EXPECT_EQ(Pixel(100, 8), RGB(192, 192, 192));
    EXPECT_EQ(Pixel(100, 6), RGB(255, 255, 255));
}

TEST_F(TrackBar, ParametersThatCannotBeReadAttachNothing) {
    struct Case {
        Strings params;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"Rect1", "x", "16", "0", "100", "0", "0", "False", "[Pos]"}, "'x' is not a valid integer value"},
        {{"Rect1", "20", "16", "0", "100", "", "0", "False", "[Pos]"}, "'' is not a valid integer value"},
        {{"Rect1", "20", "16", "0", "100", "0", "0", "maybe", "[Pos]"}, "'maybe' is not a valid boolean value"},
        {{"Rect1", "20", "16", "0", "1e3", "0", "0", "True", "[Pos]"}, "'1e3' is not a valid integer value"},
        {{"Nowhere", "20", "16", "0", "100", "0", "0", "False", "[Pos]"}, "An object named Nowhere does not exist."},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(host.Exec("qorCreateTrackBar", c.params));
        EXPECT_EQ(host.LastError(), c.message);
        EXPECT_EQ(Form(), nullptr);
    }
}

// ---- Mouse and keys ------------------------------------------------------------

TEST_F(TrackBar, DraggingRunsChangingForEveryNewValueAndChangedOnceOnRelease) {
    // 120 pixels wide with a thumb of 20: one value per pixel; value v has its
    // thumb's middle at x = v + 10.
    host.AddRectangle("Rect1", 20, 20, 120, 30);
    ASSERT_TRUE(Create("0", "100", "10"));
    ASSERT_TRUE(Capture("Changing", "Changed"));
    Drag(20, 50, 15);
    Strings expected;
    for (int v = 10; v <= 40; ++v) expected.push_back(std::to_string(v));
    EXPECT_EQ(seen["Changing"], expected);
    EXPECT_EQ(seen["Changed"], Strings{"40"});
    EXPECT_EQ(host.Var("[Pos]"), "40");

    // A click on the thumb without movement reports nothing new.
    seen.clear();
    Click(50, 15);
    EXPECT_TRUE(seen["Changing"].empty());
    EXPECT_TRUE(seen["Changed"].empty());
    // A press beside the thumb moves its middle there.
    Click(100, 15);
    EXPECT_EQ(seen["Changing"], Strings{"90"});
    EXPECT_EQ(seen["Changed"], Strings{"90"});
    // Each drag reports the way and, on release, where it ended.
    seen.clear();
    Drag(100, 97, 15);
    Drag(97, 100, 15);
    EXPECT_EQ(seen["Changing"], (Strings{"89", "88", "87", "88", "89", "90"}));
    EXPECT_EQ(seen["Changed"], (Strings{"87", "90"}));

    // "None" keeps a subroutine, the empty text switches it off.
    ASSERT_TRUE(Capture("None", ""));
    seen.clear();
    Click(30, 15);
    EXPECT_EQ(seen["Changing"], Strings{"20"});
    EXPECT_TRUE(seen["Changed"].empty());
}

TEST_F(TrackBar, AVerticalSliderHasItsMinimumAtTheTop) {
    host.AddRectangle("Rect1", 20, 20, 30, 120);
    ASSERT_TRUE(Create("0", "100", "10", "1"));
    ASSERT_TRUE(Capture("Changing", "Changed"));
    Drag(20, 25, 15, true);
    EXPECT_EQ(seen["Changing"], (Strings{"10", "11", "12", "13", "14", "15"}));
    EXPECT_EQ(seen["Changed"], Strings{"15"});
    seen.clear();
    Drag(25, 5, 15, true); // past the top end
    EXPECT_EQ(seen["Changed"], Strings{"0"});
    EXPECT_EQ(seen["Changing"].size(), 15u) << "14 down to 0, then held";
}

TEST_F(TrackBar, ArrowKeysRunChangingButNotChanged) {
    ASSERT_TRUE(Create("0", "100", "50"));
    ASSERT_TRUE(Capture("Changing", "Changed"));
    Click(100, 15); // on the thumb: focus, and 50 reported once
    EXPECT_EQ(seen["Changed"], Strings{"50"});
    seen.clear();
    for (WORD key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_UP}) host.KeyPress(key);
    host.Pump(30);
    EXPECT_EQ(seen["Changing"], (Strings{"51", "52", "53", "52", "51", "50"}));
    EXPECT_TRUE(seen["Changed"].empty());
    EXPECT_EQ(host.Var("[Pos]"), "50");
    // At an end the key still raises the event, but the value did not change.
    ASSERT_TRUE(Update("100", "0"));
    seen.clear();
    host.ClearLog();
    host.KeyPress(VK_RIGHT);
    host.Pump(30);
    EXPECT_EQ(seen["Changing"], Strings{"100"}) << "100 differs from the last changing value, 50";
    EXPECT_EQ(host.WritesTo("[Pos]"), Strings{"100"});
    host.KeyPress(VK_RIGHT);
    host.Pump(30);
    EXPECT_EQ(seen["Changing"], Strings{"100"});
    EXPECT_EQ(host.WritesTo("[Pos]"), (Strings{"100", "100"}));
}

// ---- Drawing ---------------------------------------------------------------------

TEST_F(TrackBar, TheSliderIsDrawnInItsColoursInBothOrientations) {
    struct Case {
        const char* orientation;
        int width, height;
        // A point of each part, as (along, across) for a slider of 200 x 30.
    };
    for (const Case& c : {Case{"0", 200, 30}, Case{"1", 30, 200}}) {
        host.AddRectangle("Rect1", 20, 20, c.width, c.height);
        ASSERT_TRUE(Create("0", "100", "50", c.orientation));
        const bool vertical = c.orientation[0] == '1';
        auto at = [&](int along, int across) { return vertical ? Pixel(across, along) : Pixel(along, across); };
        auto area = [&](int a0, int c0, int a1, int c1) {
            return vertical ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
        };
        // Defaults: white background, grey track in a sunken frame, silver
        // thumb framed in black, no caption, no background border.
        EXPECT_EQ(at(50, 2), RGB(255, 255, 255)) << c.orientation;
        EXPECT_EQ(at(0, 0), RGB(255, 255, 255));
        EXPECT_EQ(at(50, 14), RGB(128, 128, 128));
        EXPECT_EQ(at(50, 10), GetSysColor(COLOR_BTNSHADOW)) << "the sunken frame's outer line";
        EXPECT_EQ(at(100, 10), RGB(192, 192, 192));
        EXPECT_EQ(at(90, 15), RGB(0, 0, 0));
        EXPECT_EQ(at(109, 15), RGB(0, 0, 0));
        EXPECT_EQ(Count(area(91, 8, 109, 22), RGB(192, 192, 192)), 18 * 14) << "no caption";

        ASSERT_TRUE(Properties({"True", "True", "True", "clYellow", "clRed", "clBlue", "clLime"}));
        EXPECT_EQ(at(50, 2), RGB(255, 255, 0));
        EXPECT_EQ(at(0, 0), RGB(255, 0, 0)) << "the background border";
        EXPECT_EQ(at(199, 29), RGB(255, 0, 0));
        EXPECT_EQ(at(50, 14), RGB(0, 255, 0));
        EXPECT_EQ(at(90, 15), RGB(255, 0, 0)) << "the thumb's frame";
        EXPECT_EQ(at(92, 9), RGB(0, 0, 255));
        const int captionFree = Count(area(91, 8, 109, 22), RGB(0, 0, 255));
        EXPECT_LT(captionFree, 18 * 14) << "the caption 50 is drawn on the thumb";
        EXPECT_GT(captionFree, 18 * 14 / 2);

        // The value moves the thumb to the start.
        ASSERT_TRUE(Update("0", "0"));
        EXPECT_EQ(at(3, 9), RGB(0, 0, 255));
        EXPECT_EQ(at(100, 15), RGB(0, 255, 0)) << "the track where the thumb was";
    }
}

TEST_F(TrackBar, ButtonFacePixelsLetThePageShowThrough) {
    ASSERT_TRUE(Create("0", "100", "50"));
    ASSERT_TRUE(Properties({"", "", "True", "clBtnFace", "clNone", "clNone", "clNone"}));
    EXPECT_EQ(Pixel(50, 2), kPage);
    EXPECT_EQ(Pixel(5, 28), kPage);
    EXPECT_EQ(Pixel(50, 14), RGB(128, 128, 128));
    EXPECT_EQ(Pixel(100, 8), RGB(192, 192, 192));
    // A thumb in the key colour is a hole too, and it moves with the value.
    ASSERT_TRUE(Properties({"", "", "", "clWhite", "clNone", "clBtnFace", "clNone"}));
    EXPECT_EQ(Pixel(50, 2), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(100, 8), kPage);
    ASSERT_TRUE(Update("0", "0"));
    EXPECT_EQ(Pixel(100, 8), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(10, 8), kPage);
    // The host's paint request draws the slider without the key pixels.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 200, 30};
    HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(memory, &all, marker);
    DeleteObject(marker);
    host.SendObjectMessage(Form(), 5, reinterpret_cast<WPARAM>(memory));
    EXPECT_EQ(GetPixel(memory, 10, 10), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(memory, 0, 15), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(memory, 50, 2), RGB(255, 255, 255));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(TrackBar, AFailingSetPropertiesStoresButAppliesNothing) {
    ASSERT_TRUE(Create("0", "100", "50"));
    EXPECT_FALSE(Properties({"True", "True", "", "clRed", "bogus", "clNone", "clNone"}));
    EXPECT_EQ(host.LastError(), "'bogus' is not a valid integer value");
    EXPECT_FALSE(Properties({"yes", "", "", "clRed", "clNone", "clNone", "clNone"}));
    EXPECT_EQ(host.LastError(), "'yes' is not a valid boolean value");
    EXPECT_EQ(Pixel(50, 2), RGB(255, 255, 255)) << "no colour applied";
    EXPECT_EQ(Pixel(0, 0), RGB(255, 255, 255)) << "no border applied";
    EXPECT_EQ(Pixel(50, 10), GetSysColor(COLOR_BTNSHADOW)) << "the track border is still on";
    EXPECT_EQ(Count(RECT{91, 8, 109, 22}, RGB(192, 192, 192)), 18 * 14) << "no caption";
    // The next successful call applies what the failing ones stored.
    ASSERT_TRUE(Properties({"", "", "", "clNone", "clNone", "clNone", "clNone"}));
    EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 0)) << "the background border stored by the failing call";
    EXPECT_EQ(Pixel(50, 10), RGB(255, 255, 255)) << "the track border stored as off";
    EXPECT_LT(Count(RECT{91, 8, 109, 22}, RGB(192, 192, 192)), 18 * 14) << "the caption";
    EXPECT_EQ(Pixel(50, 2), RGB(255, 255, 255)) << "clNone keeps the colour";
}

// ---- Update, capture and remove ---------------------------------------------------

TEST_F(TrackBar, UpdateSetsValueMinimumAndMaximumUnderTheSetterRules) {
    ASSERT_TRUE(Create("0", "100", "50"));
    ASSERT_TRUE(Capture("Changing", "Changed"));
    struct Step {
        const char *number, *option;
        std::string value;  // the variable afterwards
        Strings changed;    // what the changed subroutine saw, in this step
    };
    const std::vector<Step> steps = {
        {"60", "0", "60", {"60"}},
        {"60", "0", "60", {}},        // equal: nothing new
        {"101", "0", "60", {}},       // outside: ignored
        {"70", "1", "70", {"70"}},    // the minimum moves the value up
        {"50", "2", "70", {}},        // not above the minimum: ignored, still success
        {"90", "0", "90", {"90"}},
        {"80", "2", "80", {"80"}},    // the maximum moves the value down
        {"64", "7", "80", {}},        // an unknown option sets nothing
        {"$40", "1", "80", {}},       // hexadecimal 64: below the maximum
        {"64", "0", "64", {"64"}},
        {"63", "0", "64", {}},        // now below the minimum
    };
    for (const Step& s : steps) {
        seen.clear();
        ASSERT_TRUE(Update(s.number, s.option)) << s.number << " " << s.option << ": " << host.LastError();
        EXPECT_EQ(host.Var("[Pos]"), s.value) << s.number << " " << s.option;
        EXPECT_EQ(seen["Changed"], s.changed) << s.number << " " << s.option;
        EXPECT_TRUE(seen["Changing"].empty());
    }
    EXPECT_FALSE(Update("x", "0"));
    EXPECT_EQ(host.LastError(), "'x' is not a valid integer value");
}

TEST_F(TrackBar, ActionsOnAMissingTrackBarReportIt) {
    const std::string missing = "There is no trackbar control attached to an object named Rect1.";
    EXPECT_FALSE(Properties({"", "", "", "clNone", "clNone", "clNone", "clNone"}));
    EXPECT_EQ(host.LastError(), missing);
    EXPECT_FALSE(Capture("None", "None"));
    EXPECT_EQ(host.LastError(), missing);
    EXPECT_FALSE(Update("1", "x")); // the control is looked up before the number is read
    EXPECT_EQ(host.LastError(), missing);
    ASSERT_TRUE(Create());
    ASSERT_TRUE(host.Exec("qorRemoveTrackBar", {"RECT1"}));
    EXPECT_EQ(host.Var("[Pos]"), "");
    EXPECT_EQ(Form(), nullptr);
    EXPECT_FALSE(host.Exec("qorRemoveTrackBar", {"Rect1"}));
    EXPECT_EQ(host.LastError(), "There is no TrackBar control attached to an object named Rect1.");
}

// ---- Volume mode ------------------------------------------------------------------

TEST_F(TrackBar, AVolumeSliderShowsTheLevelAndIgnoresTheRangeParameters) {
    SetEnvironmentVariableA(kLevel, "0.375");
    ASSERT_TRUE(Create("200", "300", "250", "0", "True")) << host.LastError();
    EXPECT_EQ(host.Var("[Pos]"), "38") << "37.5 rounds to the even 38";
    ASSERT_TRUE(Capture("Changing", "Changed", "Volume"));
    // The range is 0 to 100 and options 1 and 2 do nothing.
    ASSERT_TRUE(Update("50", "2"));
    ASSERT_TRUE(Update("90", "1"));
    Click(0, 15);
    EXPECT_EQ(host.Var("[Pos]"), "0");
    EXPECT_EQ(Level(), "0");
    Click(199, 15);
    EXPECT_EQ(host.Var("[Pos]"), "100");
    EXPECT_EQ(Level(), "1");
    EXPECT_EQ(seen["Volume"], (Strings{"0", "100"}));
    EXPECT_TRUE(seen["Changing"].empty());
    EXPECT_TRUE(seen["Changed"].empty()) << "no changed subroutine in volume mode";
    SetEnvironmentVariableA(kLevel, "0.125");
    ASSERT_TRUE(Create("0", "100", "0", "0", "True"));
    EXPECT_EQ(host.Var("[Pos]"), "12") << "12.5 rounds to the even 12";
}

TEST_F(TrackBar, ALevelSetElsewhereReachesTheSliderWithinAPoll) {
    SetEnvironmentVariableA(kLevel, "0.5");
    ASSERT_TRUE(Create("0", "100", "0", "0", "True"));
    ASSERT_TRUE(Capture("None", "None", "Volume"));
    host.Pump(250);
    EXPECT_TRUE(seen["Volume"].empty()) << "the level did not change";
    SetEnvironmentVariableA(kLevel, "0.37");
    const DWORD start = GetTickCount();
    while (host.Var("[Pos]") != "37" && GetTickCount() - start < 1000) host.Pump(5);
    // A 100 ms poll; the bound leaves room for a loaded machine's timer slack.
    EXPECT_LE(GetTickCount() - start, 500u);
    host.Pump(350);
    EXPECT_EQ(seen["Volume"], Strings{"37"}) << "once";
    EXPECT_EQ(host.Var("[Pos]"), "37");
    // The thumb moved: value 37 of a 180-pixel travel starts at x 67.
    EXPECT_EQ(Pixel(67, 15), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(77, 10), RGB(192, 192, 192));
}

TEST_F(TrackBar, AnUpdateSetsTheLevelAndTheSliderFollows) {
    SetEnvironmentVariableA(kLevel, "0.5");
    ASSERT_TRUE(Create("0", "100", "0", "0", "True"));
    ASSERT_TRUE(Capture("Changing", "Changed", "Volume"));
    ASSERT_TRUE(Update("25", "0"));
    EXPECT_EQ(Level(), "0.25");
    EXPECT_EQ(host.Var("[Pos]"), "50") << "the slider follows at the next poll";
    host.Pump(300);
    EXPECT_EQ(host.Var("[Pos]"), "25");
    EXPECT_EQ(seen["Volume"], Strings{"25"});
    EXPECT_TRUE(seen["Changed"].empty());
    // A number above the maximum goes to the system as it is.
    ASSERT_TRUE(Update("150", "0"));
    EXPECT_EQ(Level(), "1.5");
}

TEST_F(TrackBar, WithoutAPlaybackDeviceNothingIsAttached) {
    ASSERT_FALSE(NoDeviceMessage().empty());
    // The stand-in told there is no device, then the system's own Core Audio:
    // Wine on a machine without sound has no default playback device (where
    // one exists, the slider shows its level).
    for (const char* level : {"none", static_cast<const char*>(nullptr)}) {
        SetEnvironmentVariableA(kLevel, level);
        if (Create("0", "100", "0", "0", "True")) {
            ASSERT_EQ(level, nullptr);
            const int value = std::stoi(host.Var("[Pos]"));
            EXPECT_TRUE(value >= 0 && value <= 100) << value;
            continue;
        }
        EXPECT_EQ(host.LastError(), NoDeviceMessage());
        EXPECT_EQ(Form(), nullptr);
        EXPECT_FALSE(host.HasVar("[Pos]"));
    }
}

TEST_F(TrackBar, ThePollAndTheVolumeInterfaceEndWithTheWindow) {
    // Removed by the action, or its window destroyed by the host (the entry stays).
    for (bool hostDestroys : {false, true}) {
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        SetEnvironmentVariableA(kLevel, "0.5");
        ASSERT_TRUE(Create("0", "100", "0", "0", "True"));
        ASSERT_TRUE(Capture("None", "None", "Volume"));
        if (hostDestroys) host.RemoveRectangle("Rect1");
        else ASSERT_TRUE(host.Exec("qorRemoveTrackBar", {"Rect1"}));
        host.ClearLog();
        SetEnvironmentVariableA(kLevel, "0.8");
        host.Pump(300);
        EXPECT_TRUE(host.log().empty()) << hostDestroys;
        if (!hostDestroys) continue;
        EXPECT_TRUE(Update("30", "0"));
        EXPECT_EQ(Level(), "0.8");
        EXPECT_TRUE(Properties({"True", "True", "True", "clRed", "clRed", "clRed", "clRed"}));
        EXPECT_TRUE(host.log().empty());
        EXPECT_TRUE(host.Exec("qorRemoveTrackBar", {"Rect1"}));
        EXPECT_EQ(host.WritesTo("[Pos]"), Strings{""});
    }
}

// ---- Subroutines that remove or re-create the slider ---------------------------------

TEST_F(TrackBar, EventSubroutinesMayRemoveOrRecreateTheirOwnControl) {
    struct Case {
        const char* event; // which subroutine acts
        bool recreate;
    };
    for (const Case& c : {Case{"Changed", false}, Case{"Changing", false}, Case{"Changed", true},
                          Case{"Changing", true}}) {
        host.AddRectangle("Rect1", 20, 20, 120, 30);
        ASSERT_TRUE(Create("0", "100", "10"));
        int runs = 0;
        host.DefineSubroutine("Act", [&] {
            ++runs;
            host.Exec("qorRemoveTrackBar", {"Rect1"});
            if (c.recreate) Create("0", "100", "77");
        });
        const bool onChanging = std::string(c.event) == "Changing";
        ASSERT_TRUE(Capture(onChanging ? "Act" : "", onChanging ? "" : "Act"));
        Drag(20, 30, 15);
        host.Pump(50);
        EXPECT_EQ(runs, 1) << c.event;
        if (c.recreate) {
            ASSERT_NE(Form(), nullptr);
            EXPECT_EQ(host.Var("[Pos]"), "77");
            ASSERT_TRUE(Update("5", "0")); // the new control answers
            EXPECT_EQ(host.Var("[Pos]"), "5");
        } else {
            EXPECT_EQ(Form(), nullptr);
            EXPECT_EQ(host.Var("[Pos]"), "");
        }
    }
}

TEST_F(TrackBar, AVolumeSubroutineMayRemoveItsControlDuringAPoll) {
    SetEnvironmentVariableA(kLevel, "0.5");
    ASSERT_TRUE(Create("0", "100", "0", "0", "True"));
    int runs = 0;
    host.DefineSubroutine("Act", [&] {
        ++runs;
        host.Exec("qorRemoveTrackBar", {"Rect1"});
    });
    ASSERT_TRUE(Capture("None", "None", "Act"));
    SetEnvironmentVariableA(kLevel, "0.6");
    host.Pump(400);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Form(), nullptr);
    EXPECT_EQ(host.Var("[Pos]"), "");
}

// ---- The mouse capture taken away during a drag ------------------------------------

HWND g_captureHolder = nullptr;
bool g_takenOnDestroy = false;

// As the system does: a window being destroyed loses the mouse capture.
LRESULT CALLBACK TakeCaptureOnDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_DESTROY && g_captureHolder && GetCapture() == g_captureHolder) {
        g_takenOnDestroy = true;
        ReleaseCapture();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(TrackBar, CaptureTakenAwayEndsTheDragButNoSubroutineRunsWhileTheSliderIsDestroyed) {
    enum class Taker { OtherWindow, HostDestroysRectangle, RemoveAction };
    for (Taker taker : {Taker::OtherWindow, Taker::HostDestroysRectangle, Taker::RemoveAction}) {
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        ASSERT_TRUE(Create("0", "100", "10"));
        ASSERT_TRUE(Capture("Changing", "Changed"));
        ASSERT_TRUE(host.Activate());
        HWND form = Form();
        host.MouseTo(form, 20, 15);
        host.LeftButton(true);
        host.MouseTo(form, 60, 15);
        ASSERT_EQ(GetCapture(), form);
        seen.clear();
        g_captureHolder = form;
        g_takenOnDestroy = false;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, TakeCaptureOnDestroy, nullptr, GetCurrentThreadId());
        switch (taker) {
        case Taker::OtherWindow: SetCapture(host.window()); break;
        case Taker::HostDestroysRectangle: host.RemoveRectangle("Rect1"); break;
        case Taker::RemoveAction: ASSERT_TRUE(host.Exec("qorRemoveTrackBar", {"Rect1"})); break;
        }
        UnhookWindowsHookEx(hook);
        g_captureHolder = nullptr;
        ReleaseCapture();
        host.LeftButton(false);
        host.Pump(50);
        if (taker == Taker::OtherWindow) {
            EXPECT_EQ(seen["Changed"], Strings{host.Var("[Pos]")}) << "ends as a release does";
            EXPECT_NE(host.Var("[Pos]"), "10");
            continue;
        }
        EXPECT_TRUE(g_takenOnDestroy) << static_cast<int>(taker);
        EXPECT_TRUE(seen["Changed"].empty()) << static_cast<int>(taker);
        EXPECT_EQ(Form(), nullptr);
    }
}

// ---- The volume slider stays with the default playback device ----------------------

TEST_F(TrackBar, AVolumeSliderMovesToTheNewDefaultDevice) {
    // The slider's device goes away (unplugged), or another device becomes
    // the default while the first one stays.
    for (const char* devices : {"B", "B A"}) {
        SetEnvironmentVariableA(kLevel, "0.5");
        SetEnvironmentVariableA(kDevices, "A");
        SetEnvironmentVariableA(kLevelA, "0.5");
        SetEnvironmentVariableA(kLevelB, "0.3");
        host.AddRectangle("Rect1", 20, 20, 200, 30);
        ASSERT_TRUE(Create("0", "100", "0", "0", "True")) << host.LastError();
        EXPECT_EQ(host.Var("[Pos]"), "50");
        ASSERT_TRUE(Capture("None", "None", "Volume"));
        seen.clear();
        SetEnvironmentVariableA(kDevices, devices);
        const DWORD start = GetTickCount();
        while (host.Var("[Pos]") != "30" && GetTickCount() - start < 1000) host.Pump(5);
        EXPECT_EQ(host.Var("[Pos]"), "30") << devices;
        EXPECT_EQ(seen["Volume"], Strings{"30"}) << devices;
        host.SetVar("[qorBrindavelLastError]", "");
        Click(199, 15);
        EXPECT_EQ(host.LastError(), "") << devices;
        EXPECT_EQ(Variable(kLevelB), "1") << devices;
        EXPECT_EQ(Variable(kLevelA), "0.5") << devices;
        ASSERT_TRUE(Update("25", "0"));
        EXPECT_EQ(Variable(kLevelB), "0.25") << devices;
    }
    // No device left: calls fail with the system's message, and the slider
    // takes up the next default device when one comes.
    SetEnvironmentVariableA(kDevices, "none");
    EXPECT_FALSE(Update("75", "0"));
    EXPECT_EQ(host.LastError(), NoDeviceMessage());
    SetEnvironmentVariableA(kDevices, "C");
    SetEnvironmentVariableA(kLevelC, "0.7");
    ASSERT_TRUE(Update("75", "0"));
    EXPECT_EQ(Variable(kLevelC), "0.75");
}

} // namespace
