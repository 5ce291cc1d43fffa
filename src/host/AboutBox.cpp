#include "host/AboutBox.h"

#include <shellapi.h>

#include <algorithm>

#include "core/DialogTemplate.h"
#include "core/ThemedLook.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "resource.h"

namespace qor {

const char kSupportAddress[] = "support@qorbrindavel.example";
const char kWebAddress[] = "https://www.qorbrindavel.example";

namespace {

enum : WORD {
    IdLogo = 101,
    IdProduct,
    IdDescription,
    IdVersion,
    IdFix,
    IdYear,
    IdSupport,
    IdWebsiteLabel,
    IdWebsiteLink,
};

const char kDescription[] =
    "This plugin helps you enhance the ability of your application by adding \r\n"
    "HotKey Gadget, HotKey Manager, LocalKey Manager, DropDown, \r\n"
    "ListBox, SmartEdit, CheckListBox, RadioListBox, FileDragDrop, \r\n"
    "TrackBar/VolumeSlider and customized dialogues with much more enhanced \r\n"
    "features.";

const COLORREF kProductBlue = RGB(0x1E, 0x5A, 0xA8);
const COLORREF kLinkBlue = RGB(0, 0, 0xFF);

// State of one open About box; lives on ShowAboutBox's stack.
struct AboutState {
    UniqueFont productFont;
    UniqueFont boldFont;
    UniqueFont linkFont;
    UniqueBitmap logo;
};

UniqueFont DeriveFont(HWND dialog, int heightScale, int weight, bool underline) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight *= heightScale;
    font.lfWeight = weight;
    font.lfUnderline = underline;
    return UniqueFont(CreateFontIndirectA(&font));
}

void SetControlFont(HWND dialog, WORD id, const UniqueFont& font) {
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
}

// Draws the logo scaled proportionally and centred in the item's frame.
void DrawLogo(const AboutState& state, const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    BITMAP info{};
    if (!state.logo || !GetObjectA(state.logo.get(), sizeof info, &info) || !info.bmWidth || !info.bmHeight)
        return;
    const int frameW = item.rcItem.right - item.rcItem.left;
    const int frameH = item.rcItem.bottom - item.rcItem.top;
    const double scale = std::min(double(frameW) / info.bmWidth, double(frameH) / info.bmHeight);
    const int w = int(info.bmWidth * scale), h = int(info.bmHeight * scale);
    UniqueMemoryDc source(CreateCompatibleDC(item.hDC));
    SelectedObject selected(source.get(), state.logo.get());
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchBlt(item.hDC, item.rcItem.left + (frameW - w) / 2, item.rcItem.top + (frameH - h) / 2, w, h,
               source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<AboutState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        state->productFont = DeriveFont(dialog, 3, FW_BOLD, false);
        state->boldFont = DeriveFont(dialog, 1, FW_BOLD, false);
        state->linkFont = DeriveFont(dialog, 1, FW_NORMAL, true);
        state->logo.reset(static_cast<HBITMAP>(
            LoadImageA(PlugInInstance(), MAKEINTRESOURCEA(IDB_QOR_LOGO), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        SetControlFont(dialog, IdProduct, state->productFont);
        for (WORD id : {IdVersion, IdFix, IdYear}) SetControlFont(dialog, id, state->boldFont);
        SetControlFont(dialog, IdWebsiteLink, state->linkFont);
        return TRUE;
    }
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        SetBkColor(dc, RGB(255, 255, 255));
        if (id == IdProduct) SetTextColor(dc, kProductBlue);
        if (id == IdWebsiteLink) SetTextColor(dc, kLinkBlue);
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    case WM_DRAWITEM:
        if (state && wParam == IdLogo) {
            DrawLogo(*state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, IdWebsiteLink)) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IdWebsiteLink && HIWORD(wParam) == STN_CLICKED) {
            ShellExecuteA(dialog, "open", kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

DialogTemplate BuildAboutTemplate() {
    DialogTemplate t("About", 310, 214, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.AddStatic("", IdLogo, 10, 8, 56, 56, SS_OWNERDRAW);
    t.AddStatic("qorBrindavel", IdProduct, 76, 22, 220, 28);
    t.AddStatic(kDescription, IdDescription, 10, 72, 290, 52);
    t.AddStatic("Version Number: 1.3", IdVersion, 10, 130, 200, 10);
    t.AddStatic("Fix Number: 000", IdFix, 10, 141, 200, 10);
    t.AddStatic("Year: 2022", IdYear, 10, 152, 200, 10);
    t.AddStatic(std::string("Support: ") + kSupportAddress, IdSupport, 10, 168, 290, 10);
    t.AddStatic("Website: ", IdWebsiteLabel, 10, 180, 34, 10);
    t.AddStatic(kWebAddress, IdWebsiteLink, 44, 180, 180, 10, SS_LEFT | SS_NOTIFY);
    t.AddButton("OK", IDOK, 250, 194, 50, 14, BS_DEFPUSHBUTTON);
    return t;
}

} // namespace

void ShowAboutBox(HWND parent) noexcept {
    try {
        const DialogTemplate layout = BuildAboutTemplate();
        AboutState state;
        const ThemedLookScope themed;
        DialogBoxIndirectParamA(PlugInInstance(), layout.get(), parent, AboutProc,
                                reinterpret_cast<LPARAM>(&state));
    } catch (...) {
        // The About box is a courtesy: failing to show it must not hurt the host.
    }
}

} // namespace qor
