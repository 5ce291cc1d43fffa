#pragma once
// What every benchmark program shares: loading the plug-in into the host
// emulator, timing, and the rows printed side by side.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "HostEmulator.h"

namespace qorbench {

inline double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs: the one least disturbed by the rest of the machine.
inline double Best(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        prepare();
        best = std::min(best, Seconds(work));
    }
    return best;
}

// The fastest of three runs, for the cheap cases.
inline double Best(const std::function<void()>& work) {
    return Best(3, [] {}, work);
}

// One row: the plug-in's time, the bare control's and their ratio.
inline void Row(const char* name, double mine, double bare) {
    std::printf("%-44s %9.4f %9.4f %7.2f\n", name, mine, bare, bare > 0 ? mine / bare : 0.0);
}

// Unbuffered output (rows show as they are measured), no log of the host's
// calls (it would grow from round to round) and the plug-in loaded; false,
// with a message, when it cannot be.
inline bool LoadPlugin(qorhost::HostEmulator& host) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    host.keepLog = false;
    if (host.Load()) return true;
    std::fprintf(stderr, "cannot load the plug-in\n");
    return false;
}

// Two rectangles side by side: "Bench" for the plug-in's control and
// "Baseline" for the bare one, whose window is returned.
inline HWND SideBySide(qorhost::HostEmulator& host) {
    host.AddRectangle("Bench", 10, 10, 300, 200);
    return host.AddRectangle("Baseline", 320, 10, 300, 200);
}

inline std::string Pad(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06d", n);
    return buffer;
}

// The controls' own font (MS Sans Serif, 8 points), made once, for the bare
// controls: text layout depends on the font.
inline HFONT ControlFont() {
    static const HFONT font = [] {
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    }();
    return font;
}

} // namespace qorbench
