#include "filedrop/UTCustomFileContainer.h"

#include <shellapi.h>

#include "core/AnsiText.h"
#include "core/ControlRegistry.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "filedrop/DroppedItems.h"

namespace qor {

namespace {

constexpr int kCaptionHeight = 15; // pixels
constexpr int kCaptionMargin = 4;  // between the bevel and the text

// Classified by the name itself, read wide: a name the ANSI code page
// cannot hold (or holds only by best fit) would name another file or none.
DroppedKind KindOfPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return DroppedKind::Other;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? DroppedKind::Folder : DroppedKind::File;
}

// Path i of a drop into path, using path's capacity as the buffer: one call
// for every path that fits, two for a longer one.
void DroppedPath(HDROP drop, UINT index, std::wstring& path) {
    if (path.size() < MAX_PATH) path.resize(MAX_PATH);
    UINT copied = DragQueryFileW(drop, index, &path[0], static_cast<UINT>(path.size()));
    if (copied + 1 >= path.size()) {
        path.resize(DragQueryFileW(drop, index, nullptr, 0) + 1);
        copied = DragQueryFileW(drop, index, &path[0], static_cast<UINT>(path.size()));
    }
    path.resize(copied);
}

// The path in the ANSI code page without best fit: false when a character
// has no exact counterpart there (it is then "?", which names no file).
bool ToAnsi(const std::wstring& wide, std::string& ansi) {
    ansi.clear();
    if (wide.empty()) return true;
    const int length = static_cast<int>(wide.size());
    // A UTF-8 code page holds every character and takes neither flag nor default.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    BOOL defaulted = FALSE;
    BOOL* usedDefault = utf8 ? nullptr : &defaulted;
    const int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, fallback, usedDefault);
    if (bytes <= 0) return false;
    ansi.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, flags, wide.data(), length, &ansi[0], bytes, fallback, usedDefault);
    if (defaulted) return false;
    // Read back, the text must be the same name.
    const int back = MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, nullptr, 0);
    std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, &again[0], back);
    return again == wide;
}

// What the variables get for a dropped path: the long name where the code
// page holds it, else the short (8.3) name, else the text converted without
// best fit.
std::string PathForVariables(const std::wstring& path) {
    std::string ansi;
    if (ToAnsi(path, ansi)) return ansi;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed > 0) {
        std::wstring shortPath(needed, L'\0');
        const DWORD copied = GetShortPathNameW(path.c_str(), &shortPath[0], needed);
        shortPath.resize(copied < needed ? copied : 0);
        std::string shortAnsi;
        if (!shortPath.empty() && ToAnsi(shortPath, shortAnsi)) return shortAnsi;
    }
    ToAnsi(path, ansi);
    return ansi;
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
    auto channel = [&](int shift) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>(a + (b - a) * step / steps) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

} // namespace

TFMCustomFileContainer::TFMCustomFileContainer(const Params& params)
    : AttachedControl(ControlKind::FileDragDrop, params.at(0)) {
    Caption = params.at(1);
    TextColorText = params.at(2);
    ShowPanel = SameNameAscii(params.at(3), "true");
    FolderVariable = params.at(4);
    FileVariable = params.at(5);
    ItemVariable = params.at(6);
    OnDropSub = params.at(7);
}

void TFMCustomFileContainer::BuildContent() {
    TextColor = TextToColor(TextColorText);
    if (!ShowPanel) return;
    LOGFONTA lf{};
    lf.lfHeight = -kCaptionHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    captionFont_.reset(CreateFontIndirectA(&lf));
}

void TFMCustomFileContainer::AfterPlaced() { DragAcceptFiles(hwnd(), TRUE); }

void TFMCustomFileContainer::LayoutContent(int /*width*/, int /*height*/) {
    if (ShowPanel) InvalidateRect(hwnd(), nullptr, FALSE);
}

void TFMCustomFileContainer::ClearMirroredVariables() {
    WriteVariable(FolderVariable, "");
    WriteVariable(FileVariable, "");
    WriteVariable(ItemVariable, "");
}

void TFMCustomFileContainer::Drop(HDROP handle) {
    DroppedLists lists;
    {
        UniqueDrop drop(handle);
        const UINT count = DragQueryFileW(handle, 0xFFFFFFFF, nullptr, 0);
        std::wstring path;
        for (UINT i = 0; i < count; ++i) {
            DroppedPath(handle, i, path);
            lists.Add(PathForVariables(path), KindOfPath(path));
        }
    }
    WriteVariable(FileVariable, lists.files);
    WriteVariable(FolderVariable, lists.folders);
    WriteVariable(ItemVariable, lists.items);
    RunEvent(OnDropSub); // may remove this control: nothing follows it
}

void TFMCustomFileContainer::DrawPanel(HDC dc, RECT area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    // White at the top to the button face at the bottom, one row at a time.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    SelectedObject brush(dc, GetStockObject(DC_BRUSH));
    const int steps = height > 1 ? height - 1 : 1;
    for (int y = 0; y < height; ++y) {
        SetDCBrushColor(dc, Blend(RGB(255, 255, 255), face, y, steps));
        PatBlt(dc, area.left, area.top + y, width, 1, PATCOPY);
    }
    FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&area, -1, -1);
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&area, -1 - kCaptionMargin, -1 - kCaptionMargin);
    if (Caption.empty() || area.right <= area.left || area.bottom <= area.top) return;

    // Word-wrapped and centred both ways.
    SelectedObject font(dc, captionFont_ ? static_cast<HGDIOBJ>(captionFont_.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(TextColor, GetSysColor(COLOR_WINDOWTEXT)));
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT measured = area;
    DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &measured, kFormat | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    if (textHeight < area.bottom - area.top) area.top += (area.bottom - area.top - textHeight) / 2;
    DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &area, kFormat);
}

void TFMCustomFileContainer::PaintPanel(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    if (!bitmap) {
        DrawPanel(dc, client);
        return;
    }
    SelectedObject selected(memory.get(), bitmap.get());
    DrawPanel(memory.get(), client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void TFMCustomFileContainer::PaintRectangleBeneath(HDC dc) {
    // A rectangle that keeps its children out of its own paint cannot draw
    // beneath the target: it is asked to print itself here, shifted so that
    // its part under the target lands in the target's DC. A rectangle that
    // cannot print leaves what was on the screen, as before.
    const HWND parent = GetParent(hwnd());
    if (!parent || !(GetWindowLongA(parent, GWL_STYLE) & WS_CLIPCHILDREN)) return;
    POINT origin{0, 0};
    MapWindowPoints(hwnd(), parent, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

LRESULT TFMCustomFileContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // The panel covers everything; without it nothing of our own shows.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        if (dc) {
            if (ShowPanel) PaintPanel(dc);
            else PaintRectangleBeneath(dc);
        }
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (ShowPanel && wParam) PaintPanel(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DROPFILES:
        Drop(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

bool qorCreateFileDragDrop(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORFileDragDrop>(params));
    return true;
}

} // namespace qor
