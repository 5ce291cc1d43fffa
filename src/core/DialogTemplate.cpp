#include "core/DialogTemplate.h"

#include <cstdlib>
#include <cstring>

#include "core/WinValues.h"

namespace qor {

namespace {

struct TemplateFont {
    std::string face;
    WORD points;
};

// The font of the system's message boxes, in whole points: the system rounds
// the pixel height up (11 pixels at 96 DPI, 17 at 144 for 8 points), so the
// points are rounded down.
TemplateFont SystemMessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
        !metrics.lfMessageFont.lfFaceName[0] || !metrics.lfMessageFont.lfHeight)
        return {"MS Shell Dlg", 8};
    const int points = std::abs(metrics.lfMessageFont.lfHeight) * 72 / ScreenPixelsPerInch();
    return {metrics.lfMessageFont.lfFaceName, static_cast<WORD>(points > 0 ? points : 8)};
}

constexpr WORD kItemCountIndex = 4; // cdit, in WORDs from the template's start

void PushDword(std::vector<WORD>& words, DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

} // namespace

DialogTemplate::DialogTemplate(const std::string& title, short width, short height, DWORD style,
                               const char* fontFace, WORD pointSize) {
    PushDword(words_, style | DS_SETFONT);
    PushDword(words_, 0);     // extended style
    words_.push_back(0);      // item count, patched as items arrive
    words_.push_back(0);      // x
    words_.push_back(0);      // y
    words_.push_back(width);
    words_.push_back(height);
    words_.push_back(0);      // no menu
    words_.push_back(0);      // predefined dialog class
    AddText(title);
    const TemplateFont font = fontFace ? TemplateFont{fontFace, pointSize} : SystemMessageFont();
    words_.push_back(font.points);
    AddText(font.face);
}

void DialogTemplate::Align() {
    if (words_.size() % 2) words_.push_back(0); // DWORD alignment
}

void DialogTemplate::AddText(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(length > 0 ? length : 1, 0);
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    words_.insert(words_.end(), wide.begin(), wide.end());
}

void DialogTemplate::AddControl(const char* windowClass, const std::string& text, WORD id, short x, short y,
                                short width, short height, DWORD style, DWORD exStyle) {
    Align();
    PushDword(words_, style | WS_CHILD | WS_VISIBLE);
    PushDword(words_, exStyle);
    words_.push_back(x);
    words_.push_back(y);
    words_.push_back(width);
    words_.push_back(height);
    words_.push_back(id);
    AddText(windowClass);
    AddText(text);
    words_.push_back(0); // no creation data
    words_[kItemCountIndex] = ++itemCount_;
}

void DialogTemplate::AddStatic(const std::string& text, WORD id, short x, short y, short width, short height,
                               DWORD style) {
    AddControl("STATIC", text, id, x, y, width, height, style);
}

void DialogTemplate::AddButton(const std::string& text, WORD id, short x, short y, short width, short height,
                               DWORD style) {
    AddControl("BUTTON", text, id, x, y, width, height, style | WS_TABSTOP);
}

} // namespace qor
