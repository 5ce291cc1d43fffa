#include "core/WinValues.h"

#include <cstring>

namespace qor {

int ScreenPixelsPerInch() {
    // The system's DPI is fixed for the life of a process that is not aware
    // of each monitor's DPI, as the host is not: asked once (glyphs are sized
    // with it on every paint).
    static const int dpi = [] {
        WindowDc screen(nullptr);
        const int perInch = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        return perInch > 0 ? perInch : 96;
    }();
    return dpi;
}

int ScaledToScreen(int pixelsAt96) { return MulDiv(pixelsAt96, ScreenPixelsPerInch(), 96); }

UniqueFont CreateFontFromSpec(const FontSpec& spec) {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(spec.size, ScreenPixelsPerInch(), 72);
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic;
    lf.lfUnderline = spec.underline;
    lf.lfStrikeOut = spec.strikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(lf.lfFaceName, spec.faceName.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectA(&lf));
}

FontSpec SpecFromFont(HFONT font, int32_t color) {
    FontSpec spec;
    spec.color = color;
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf)) return spec;
    spec.faceName = lf.lfFaceName;
    const int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    spec.size = MulDiv(height, 72, ScreenPixelsPerInch());
    spec.bold = lf.lfWeight >= FW_BOLD;
    spec.italic = lf.lfItalic != 0;
    spec.underline = lf.lfUnderline != 0;
    spec.strikeout = lf.lfStrikeOut != 0;
    return spec;
}

FontSpec DefaultControlFont() {
    FontSpec spec;
    spec.faceName = "MS Sans Serif";
    spec.size = 8;
    spec.color = SystemColor(COLOR_WINDOWTEXT);
    return spec;
}

COLORREF ToColorRef(int32_t color, COLORREF fallback) {
    const auto value = static_cast<uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u) {
        const int index = static_cast<int>(value & 0xFFu);
        if (index > COLOR_MENUBAR) return fallback;
        return GetSysColor(index);
    }
    if ((value & 0xFF000000u) != 0) return fallback; // clNone, clDefault and other special values
    return static_cast<COLORREF>(value);
}

int FontTextHeight(HFONT font) {
    WindowDc screen(nullptr);
    SelectedObject selected(screen.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(screen.get(), &tm);
    return tm.tmHeight;
}

} // namespace qor

namespace qor {

void RepaintWindow(HWND window) {
    if (window) InvalidateRect(window, nullptr, TRUE);
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
}

HWND WindowFromHandleText(const std::string& text) {
    const auto value = static_cast<int32_t>(TextToHandleValue(text));
    return reinterpret_cast<HWND>(static_cast<intptr_t>(value));
}

} // namespace qor
