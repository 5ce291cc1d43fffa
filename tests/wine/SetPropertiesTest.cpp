// Every kind's set-properties action: a call that fails stores what it read
// but applies nothing (the control looks and behaves as before), and the next
// successful call applies what the failed one stored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

const char kFont[] = "'Courier New', 14, (Bold|Italic), (clRed)";

struct Kind {
    const char* name;
    Strings create;
    const char* setProperties;
    Strings failing;   // switches everything on, then fails on the colour
    Strings succeeding; // keeps everything stored
};

const Kind kKinds[] = {
    {"DropDown",
     {"Rect1", "0", "0", "Apple\r\nBanana", "0", "0", "", "0", "1", "[V]"},
     "qorDropDownSetProperties",
     {"Rect1", "True", "True", "True", kFont, "", "300", "Ban"},
     {"Rect1", "", "", "", "", "clNone", "0", ""}},
    {"ListBox",
     {"Rect1", "0", "0", "Apple\r\nBanana", "0", "0", "", "0", "1", "[V]"},
     "qorListBoxSetProperties",
     {"Rect1", "True", "True", kFont, ""},
     {"Rect1", "", "", "", "clNone"}},
    {"SmartEdit",
     {"Rect1", "[V]"},
     "qorSmartEditSetProperties",
     {"Rect1", "True", "False", "True", "False", kFont, "", "3", "1"},
     {"Rect1", "", "", "", "", "", "clNone", "", ""}},
    {"CheckListBox",
     {"Rect1", "0", "0", "Apple\r\nBanana", "0", "0", "", "", "", ""},
     "qorCheckListBoxSetProperties",
     {"Rect1", kFont, ""},
     {"Rect1", "", "clNone"}},
    {"TrackBar",
     {"Rect1", "20", "16", "0", "100", "50", "0", "False", "[V]"},
     "qorTrackBarSetProperties",
     {"Rect1", "True", "True", "True", "clRed", "", "clNone", "clNone"},
     {"Rect1", "", "", "", "clNone", "clNone", "clNone", "clNone"}},
};

const char* CreateAction(const std::string& kind) {
    if (kind == "DropDown") return "qorCreateDropDown";
    if (kind == "ListBox") return "qorCreateListBox";
    if (kind == "SmartEdit") return "qorCreateSmartEdit";
    if (kind == "TrackBar") return "qorCreateTrackBar";
    return "qorCreateCheckListBox";
}

class SetProperties : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 220, 120);
        host.Activate();
    }

    // The control as the host's paint request (object message 5) draws it.
    std::vector<uint32_t> Pixels() {
        host.Pump(30);
        HWND control = host.ControlWindow("Rect1");
        RECT r{};
        GetWindowRect(control, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        host.SendObjectMessage(control, 5, reinterpret_cast<WPARAM>(dc));
        GdiFlush();
        std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                     static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return pixels;
    }

    HostEmulator host;
};

TEST_F(SetProperties, AFailingCallOfAnyKindChangesNothingVisibleUntilTheNextSuccessfulOne) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ASSERT_TRUE(host.Exec(CreateAction(kind.name), kind.create)) << host.LastError();
        const std::vector<uint32_t> before = Pixels();
        EXPECT_FALSE(host.Exec(kind.setProperties, kind.failing));
        EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
        EXPECT_TRUE(Pixels() == before) << "the failing call changed the picture";
        ASSERT_TRUE(host.Exec(kind.setProperties, kind.succeeding)) << host.LastError();
        EXPECT_FALSE(Pixels() == before) << "what the failing call stored is applied now";
    }
}

TEST_F(SetProperties, AFailedDropDownCallLeavesTheTypingAidsOff) {
    const Kind& kind = kKinds[0];
    ASSERT_TRUE(host.Exec(CreateAction(kind.name), kind.create));
    EXPECT_FALSE(host.Exec(kind.setProperties, kind.failing));
    HWND combo = qortest::ComboOf(host.ControlWindow("Rect1"));
    RECT r{};
    GetClientRect(combo, &r);
    host.ClickAt(combo, 8, r.bottom / 2);
    host.TypeText("B");
    host.Pump(30);
    EXPECT_EQ(qortest::WindowText(combo), "B") << "no completion";
    EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0) << "the list did not drop down";

    ASSERT_TRUE(host.Exec(kind.setProperties, kind.succeeding));
    SetWindowTextA(combo, "");
    host.ClickAt(combo, 8, r.bottom / 2);
    host.TypeText("B");
    host.Pump(30);
    EXPECT_EQ(qortest::WindowText(combo), "Banana") << "the stored aids act after a successful call";
}

TEST_F(SetProperties, AFailedSmartEditCallKeepsItEditableAndTabsOut) {
    const Kind& kind = kKinds[2];
    ASSERT_TRUE(host.Exec(CreateAction(kind.name), kind.create));
    EXPECT_FALSE(host.Exec(kind.setProperties, kind.failing));
    HWND edit = qortest::EditOf(host.ControlWindow("Rect1"));
    host.ClickAt(edit, 5, 5);
    host.TypeText("ab");
    host.KeyPress(VK_TAB);
    host.Pump(30);
    EXPECT_EQ(qortest::WindowText(edit), "ab") << "not read-only, and Tab is no text";
}

} // namespace
