// The FileDragDrop as host and user see it: drops of real files and folders
// delivered as the shell delivers them, the three variables and the drop
// subroutine, the panel's pixels and the invisible target, failures,
// removal, and drop subroutines that remove or re-create the control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DropTestSupport.h"
#include "HostEmulator.h"

using qorhost::HostEmulator;
using qorhost::LogKind;
using Strings = std::vector<std::string>;

namespace {

const char kNoDropTarget[] = "There is no FileDragDrop control attached to an object named Rect1.";

class FileDragDrop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 120);
        host.Activate();
    }

    bool Create(const std::string& showPanel = "true", const std::string& color = "clRed",
                const Strings& vars = {"[Folders]", "[Files]", "[Items]"}, const std::string& sub = "OnDrop",
                const std::string& caption = "Drop files here") {
        return host.Exec("qorCreateFileDragDrop", {"Rect1", caption, color, showPanel, vars[0], vars[1], vars[2], sub});
    }
    // Drops at the middle of the rectangle and lets the message arrive.
    void Drop(const Strings& paths) {
        ASSERT_TRUE(HostEmulator::DropFiles(host.Rectangle("Rect1"), 100, 60, paths));
        host.Pump(20);
    }
    Strings Events() {
        Strings events;
        for (const auto& e : host.log())
            events.push_back(e.kind == LogKind::SetVariable ? e.name + "=" + e.value : e.value);
        return events;
    }
    // The control painted through the host object message into a bitmap
    // filled with `background` first; pixels as COLORREFs, top row first.
    std::vector<COLORREF> Printed(int width, int height, COLORREF background) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH fill = CreateSolidBrush(background);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, fill);
        DeleteObject(fill);
        host.SendObjectMessage(host.ControlWindow("Rect1"), 5, reinterpret_cast<WPARAM>(dc));
        GdiFlush();
        std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
        const auto* raw = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return pixels;
    }

    // The window's client area as it is on the screen, top row first.
    std::vector<COLORREF> OnScreen(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
        return pixels;
    }

    HostEmulator host;
    qortest::ScratchFolder scratch{"qorDrop"};
};

TEST_F(FileDragDrop, FilesFoldersAndEveryItemAreWrittenInDropOrderBeforeTheSubroutineRunsOnce) {
    // Names with characters of the ANSI code page beyond ASCII.
    const std::string a = scratch.File("caf\xE9 \xFC" "ber.txt");
    const std::string folder = scratch.Folder("Fotos \xC4pfel");
    const std::string b = scratch.File("b.txt");
    const std::string missing = scratch.path() + "\\gone.txt";
    ASSERT_TRUE(Create());
    HWND control = host.ControlWindow("Rect1");
    EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    host.ClearLog();
    Drop({a, folder, missing, b});
    EXPECT_EQ(Events(), (Strings{"[Files]=" + a + "\r\n" + b, "[Folders]=" + folder,
                                 "[Items]=" + a + "\r\n" + folder + "\r\n" + missing + "\r\n" + b,
                                 "GoSub \"OnDrop\""}));
    // Every drop overwrites the lists; only folders empty the file list.
    host.ClearLog();
    Drop({folder});
    EXPECT_EQ(Events(), (Strings{"[Files]=", "[Folders]=" + folder, "[Items]=" + folder, "GoSub \"OnDrop\""}));
}

// What the variables hold for a name: the long name where the ANSI code page
// holds it exactly, else the short name, else the text with "?" for what the
// code page lacks.
std::string Narrow(const std::wstring& wide, bool* exact) {
    BOOL defaulted = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;
    char text[4096] = {};
    WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, text, sizeof text,
                        utf8 ? nullptr : "?", utf8 ? nullptr : &defaulted);
    *exact = !defaulted;
    return text;
}
std::string ForVariables(const std::wstring& path) {
    bool exact = false;
    const std::string long_ = Narrow(path, &exact);
    if (exact) return long_;
    wchar_t shortPath[MAX_PATH] = {};
    if (GetShortPathNameW(path.c_str(), shortPath, MAX_PATH)) {
        const std::string short_ = Narrow(shortPath, &exact);
        if (exact) return short_;
    }
    return long_;
}

TEST_F(FileDragDrop, NamesBeyondTheCodePageAreSortedByTheNamesThemselves) {
    // Greek and CJK names; and a folder whose name a best-fit conversion
    // turns into that of an existing file ("\u221E", infinity, fits as "8").
    const std::string bestFitTwin = scratch.File("a8");
    const std::wstring folder = scratch.WideFolder(L"a\u221E");
    const std::wstring greek = scratch.WideFile(L"\u0391\u03BB\u03C6\u03B1 file.txt");
    const std::wstring cjk = scratch.WideFile(L"\u6F22\u5B57.txt");
    const std::string plain = scratch.File("plain.txt");
    ASSERT_NE(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(Create());
    host.ClearLog();
    ASSERT_TRUE(HostEmulator::DropFiles(host.Rectangle("Rect1"), 100, 60,
                                        std::vector<std::wstring>{folder, greek, qorhost::Widen(plain), cjk}));
    host.Pump(20);
    const std::string f = ForVariables(folder), g = ForVariables(greek), c = ForVariables(cjk);
    EXPECT_EQ(Events(), (Strings{"[Files]=" + g + "\r\n" + plain + "\r\n" + c, "[Folders]=" + f,
                                 "[Items]=" + f + "\r\n" + g + "\r\n" + plain + "\r\n" + c, "GoSub \"OnDrop\""}));
    EXPECT_NE(f, bestFitTwin) << "never the name of another file";
    // Where the system has short names, the variables name the very files.
    for (const std::string& text : {f, g, c}) {
        if (text.find('?') == std::string::npos) {
            EXPECT_NE(GetFileAttributesA(text.c_str()), INVALID_FILE_ATTRIBUTES) << text;
        }
    }
}

TEST_F(FileDragDrop, OnlyTheNamedVariablesAreWrittenAndNoSubroutineRunsWithoutAName) {
    const std::string a = scratch.File("a.txt");
    const std::string folder = scratch.Folder("Sub");
    ASSERT_TRUE(Create("true", "clBlack", {"", "[Files]", ""}, ""));
    host.ClearLog();
    Drop({folder, a});
    EXPECT_EQ(Events(), (Strings{"[Files]=" + a}));
}

TEST_F(FileDragDrop, AThousandItemsArriveSortedAndInOrder) {
    Strings paths;
    std::string files, folders, items;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "item " + std::to_string(i) + (i % 3 ? ".dat" : "");
        const std::string path = i % 3 ? scratch.File(name) : scratch.Folder(name);
        paths.push_back(path);
        std::string& list = i % 3 ? files : folders;
        list += (list.empty() ? "" : "\r\n") + path;
        items += (items.empty() ? "" : "\r\n") + path;
    }
    ASSERT_TRUE(Create());
    host.ClearLog();
    Drop(paths);
    EXPECT_EQ(host.Var("[Files]"), files);
    EXPECT_EQ(host.Var("[Folders]"), folders);
    EXPECT_EQ(host.Var("[Items]"), items);
    EXPECT_EQ(host.ScriptLines(), Strings{"GoSub \"OnDrop\""});
}

TEST_F(FileDragDrop, ThePanelHasItsBorderBevelGradientAndCaptionInTheTextColour) {
    ASSERT_TRUE(Create("TRUE", "clRed", {"", "", ""}, "", "Drop"));
    const int w = 200, h = 120;
    const auto px = Printed(w, h, RGB(1, 2, 3));
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * w + x]; };
    EXPECT_EQ(at(0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(at(w - 1, h - 1), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(at(1, 1), GetSysColor(COLOR_BTNSHADOW)) << "lowered bevel: dark at the top left";
    EXPECT_EQ(at(w - 2, h - 2), GetSysColor(COLOR_BTNHIGHLIGHT)) << "and light at the bottom right";
    EXPECT_EQ(at(5, 2), RGB(255, 255, 255)) << "the gradient starts white";
    const COLORREF face = GetSysColor(COLOR_BTNFACE), end = at(5, h - 3);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR((end >> shift) & 0xFF, (face >> shift) & 0xFF, 3) << "and ends in the button face";
    // The caption: pure red pixels, all in a band around the middle, and
    // as high as a 15-pixel font allows.
    int red = 0, top = h, bottom = 0, left = w, right = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (at(x, y) == RGB(255, 0, 0)) {
                ++red;
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    EXPECT_GT(red, 40);
    EXPECT_LE(bottom - top + 1, 15);
    EXPECT_GE(bottom - top + 1, 9);
    EXPECT_NEAR((top + bottom) / 2.0, h / 2.0, 4);
    EXPECT_NEAR((left + right) / 2.0, w / 2.0, 4);
}

TEST_F(FileDragDrop, WithoutThePanelTheControlPaintsNothingYetAcceptsDrops) {
    const std::string a = scratch.File("a.txt");
    ASSERT_TRUE(Create("yes", "clRed"));
    HWND control = host.ControlWindow("Rect1");
    ASSERT_TRUE(control);
    EXPECT_TRUE(IsWindowVisible(control));
    const auto px = Printed(200, 120, RGB(1, 2, 3));
    EXPECT_EQ(std::count(px.begin(), px.end(), RGB(1, 2, 3)), static_cast<long>(px.size()));
    // The rectangle's own paint stays visible beneath, also when the
    // rectangle (which keeps its children out of its paint) paints again
    // after something covered it.
    host.Pump(50);
    const std::vector<COLORREF> shown = OnScreen(control);
    EXPECT_EQ(shown[10 * 200 + 10], RGB(0xE8, 0xEE, 0xF6)); // away from the rectangle's name in its middle
    HDC covered = GetDC(control);
    const RECT all{0, 0, 200, 120};
    FillRect(covered, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(control, covered);
    RedrawWindow(host.Rectangle("Rect1"), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    host.Pump(50);
    const std::vector<COLORREF> again = OnScreen(control);
    EXPECT_EQ(std::count(again.begin(), again.end(), RGB(0, 0, 0)), 0) << "the cover is still there";
    EXPECT_TRUE(again == shown) << "the target does not show the rectangle beneath it";
    host.ClearLog();
    Drop({a});
    EXPECT_EQ(host.Var("[Files]"), a);
}

TEST_F(FileDragDrop, FailuresAndRemovalReportAndEmptyTheNamedVariables) {
    EXPECT_FALSE(Create("true", ""));
    EXPECT_EQ(host.LastError(), "'' is not a valid integer value");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_FALSE(Create("false", "purple"));
    EXPECT_EQ(host.LastError(), "'purple' is not a valid integer value") << "required even without the panel";
    EXPECT_FALSE(host.Exec("qorCreateFileDragDrop", {"Nowhere", "", "clRed", "true", "", "", "", ""}));
    EXPECT_EQ(host.LastError(), "An object named Nowhere does not exist.");
    EXPECT_FALSE(host.Exec("qorRemoveFileDragDrop", {"Rect1"}));
    EXPECT_EQ(host.LastError(), kNoDropTarget);

    ASSERT_TRUE(Create("true", "$000000FF", {"[Folders]", "", "[Items]"}));
    host.ClearLog();
    EXPECT_TRUE(host.Exec("qorRemoveFileDragDrop", {"rect1"}));
    EXPECT_EQ(Events(), (Strings{"[Folders]=", "[Items]="}));
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    // nbMessage 2 and a create of another kind on the rectangle do the same.
    ASSERT_TRUE(Create());
    host.ClearLog();
    host.Message(2);
    EXPECT_EQ(Events(), (Strings{"[Folders]=", "[Files]=", "[Items]="}));
    ASSERT_TRUE(Create());
    host.ClearLog();
    ASSERT_TRUE(host.Exec("qorCreateCheckListBox", {"Rect1", "False", "False", "A", "0", "False", "", "", "", ""}));
    const Strings events = Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(Strings(events.begin(), events.begin() + 3), (Strings{"[Folders]=", "[Files]=", "[Items]="}));
}

TEST_F(FileDragDrop, ADropSubroutineMayRemoveOrRecreateItsOwnControl) {
    const std::string a = scratch.File("a.txt");
    ASSERT_TRUE(Create());
    int runs = 0;
    host.DefineSubroutine("OnDrop", [&] {
        ++runs;
        EXPECT_TRUE(host.Exec("qorRemoveFileDragDrop", {"Rect1"}));
    });
    host.ClearLog();
    Drop({a});
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Events(), (Strings{"[Files]=" + a, "[Folders]=", "[Items]=" + a, "GoSub \"OnDrop\"", "[Folders]=",
                                 "[Files]=", "[Items]="}));
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);

    ASSERT_TRUE(Create());
    host.DefineSubroutine("OnDrop", [&] {
        ++runs;
        EXPECT_TRUE(Create("true", "clBlue", {"", "[Again]", ""}, ""));
    });
    Drop({a});
    EXPECT_EQ(runs, 2);
    host.ClearLog();
    Drop({a});
    EXPECT_EQ(Events(), (Strings{"[Again]=" + a})) << "the new control answers the next drop";
}

} // namespace
