// Dialogs, the About box and what the controls draw inside their rectangles
// grow with the system's DPI. A process reads the DPI once, when it starts,
// from the prefix's registry, so the test sets the DPI, measures in a fresh
// copy of this program, and compares what the copies at 96 and at 144 DPI saw.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AllKinds.h"
#include "EditDialogDriver.h"
#include "HostEmulator.h"
#include "ListTestSupport.h"
#include "PixelCapture.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

const char kReportVariable[] = "QOR_DPI_REPORT";
const char kDesktopKey[] = "Control Panel\\Desktop";
using Measures = std::map<std::string, int>;

// ---- measuring, in the copy that runs at one DPI ---------------------------

// The window as a full repaint leaves it.
std::vector<COLORREF> RepaintedPixels(HWND window, int& width, int& height) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HostEmulator::Pump(50);
    return ClientPixels(window, width, height);
}

// The height of the OK button of the dialog the call shows (0: none came).
int OkButtonHeight(HostEmulator& host, const std::function<bool()>& call) {
    int height = 0;
    RunWithSteps(host, call, {{"", [&](HWND dialog) {
                                   RECT ok{};
                                   if (GetWindowRect(GetDlgItem(dialog, IDOK), &ok)) height = ok.bottom - ok.top;
                                   PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                               }}});
    return height;
}

const KindCase& Kind(const char* rect) {
    for (const auto& kind : AllKinds())
        if (std::string(kind.rect) == rect) return kind;
    throw std::logic_error(rect);
}

Measures MeasureHere() {
    Measures m;
    {
        HDC screen = GetDC(nullptr);
        m["dpi"] = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    HostEmulator host;
    if (!host.Load()) return m;
    std::vector<std::string> params(10, "");
    m["edit dialog OK"] = OkButtonHeight(host, [&] { return host.Edit(5, params); });
    m["About box OK"] = OkButtonHeight(host, [&] {
        host.About();
        return true;
    });

    // The check list's items are as high as its glyph with the default font.
    const KindCase& list = Kind("CL");
    host.AddRectangle(list.rect, 10, 10, 200, 120);
    if (host.Exec(list.action, list.params))
        m["check glyph"] = static_cast<int>(
            SendMessageA(GetWindow(host.ControlWindow(list.rect), GW_CHILD), LB_GETITEMHEIGHT, 0, 0));

    // The thumb: its fill and its one-pixel frame.
    const KindCase& slider = Kind("TB");
    host.AddRectangle(slider.rect, 10, 140, 300, 80);
    if (host.Exec(slider.action, slider.params)) {
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = RepaintedPixels(host.ControlWindow(slider.rect), width, height);
        int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[static_cast<size_t>(y) * width + x] == RGB(192, 192, 192)) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        m["thumb width"] = right - left + 1 + 2;
        m["thumb height"] = bottom - top + 1 + 2;
    }

    // The zigzag: the distance between its touches of the base line.
    host.AddRectangle("SE", 10, 230, 400, 80);
    if (host.Exec("qorCreateSmartEdit", {"SE", "[SE]"}) &&
        host.Exec("qorSmartEditSetText", {"SE", "qzxvqzxvqzxv", "0"}) &&
        host.Exec("qorSmartEditActiveSpellChecker", {"SE", "", "False,False,False,False"})) {
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = RepaintedPixels(EditOf(host.ControlWindow("SE")), width, height);
        std::vector<int> touches;
        for (int y = 0; y < height && touches.empty(); ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[static_cast<size_t>(y) * width + x] == RGB(255, 0, 0)) touches.push_back(x);
        if (touches.size() >= 3) m["zigzag period"] = touches[1] - touches[0];
        for (size_t i = 2; i < touches.size(); ++i)
            if (touches[i] - touches[i - 1] != m["zigzag period"]) m["zigzag period"] = -1; // not regular
    }
    host.Unload();
    return m;
}

// Runs only in the copies the comparison starts (disabled otherwise).
TEST(DpiProbe, DISABLED_MeasureAtThisDpi) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA(kReportVariable, path, sizeof path), 0u);
    std::ofstream report(path);
    for (const auto& [name, value] : MeasureHere()) report << name << '=' << value << '\n';
}

// ---- comparing -------------------------------------------------------------

// Sets the DPI new processes start with, and puts the old value back.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        DWORD size = sizeof saved_;
        had_ = RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &saved_,
                            &size) == ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScopedLogPixels() {
        if (had_) {
            Set(saved_);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, "LogPixels");
                RegCloseKey(key);
            }
        }
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    static void Set(DWORD dpi) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    DWORD saved_ = 96;
    bool had_ = false;
};

// What a fresh copy of this program measures at `dpi`.
Measures MeasureInCopyAt(DWORD dpi) {
    const ScopedLogPixels setting(dpi);
    char exe[MAX_PATH] = {}, temp[MAX_PATH] = {}, report[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "dpi", 0, report);
    SetEnvironmentVariableA(kReportVariable, report);
    std::string command = std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=DpiProbe.*";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = nul; // the copy's report is the file
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                                        &process);
    SetEnvironmentVariableA(kReportVariable, nullptr);
    CloseHandle(nul);
    Measures m;
    if (!started) return m;
    const bool ended = WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream in(report);
    std::string line;
    while (std::getline(in, line))
        if (const size_t eq = line.find('='); eq != std::string::npos)
            m[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    in.close();
    DeleteFileA(report);
    return m;
}

TEST(Dpi, DialogsAndDrawnGlyphsGrowByHalfFrom96To144Dpi) {
    const Measures at96 = MeasureInCopyAt(96);
    const Measures at144 = MeasureInCopyAt(144);
    ASSERT_EQ(at96.count("dpi") ? at96.at("dpi") : 0, 96);
    ASSERT_EQ(at144.count("dpi") ? at144.at("dpi") : 0, 144);
    // Sizes in pixels at 96 DPI are scaled and rounded once; dialogs follow
    // their font, whose pixel height is itself rounded at each DPI.
    const struct {
        const char* name;
        double tolerance;
    } kMeasures[] = {
        {"edit dialog OK", 2}, {"About box OK", 2},  {"check glyph", 0.5},
        {"thumb width", 0.5},  {"thumb height", 0.5}, {"zigzag period", 0},
    };
    for (const auto& measure : kMeasures) {
        SCOPED_TRACE(measure.name);
        const auto low = at96.find(measure.name), high = at144.find(measure.name);
        ASSERT_TRUE(low != at96.end() && high != at144.end());
        EXPECT_GT(low->second, 0);
        EXPECT_NEAR(high->second, 1.5 * low->second, measure.tolerance) << low->second << " at 96 DPI";
        std::printf("%s: %d pixels at 96 DPI, %d at 144\n", measure.name, low->second, high->second);
    }
}

} // namespace
