#include "trackbar/UTCustomTrackBar.h"

#include <windowsx.h>

#include <cstring>

#include "core/ControlRegistry.h"
#include "core/EventBridge.h"
#include "core/FlagScope.h"
#include "core/WinValues.h"
#include "host/HostServices.h"

namespace qor {

namespace {

constexpr char kKindWords[] = "trackbar";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMilliseconds = 100;
// Posted when the mouse capture was taken away during a drag: the release
// runs once the message comes back, which it never does when the capture went
// because the window is being destroyed.
constexpr UINT kCaptureLostMessage = WM_APP + 0x3D1;

std::shared_ptr<TFMCustomTrackBar> RequireTrackBar(const std::string& name) {
    return RequireControl<TFMCustomTrackBar>(ControlKind::TrackBar, name, kKindWords);
}

RECT ToRect(const SliderRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& r, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
    Fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, color);
    Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
    Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, color);
    Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, color);
}

// The colour key as the 32-bit DIB stores it (0x00RRGGBB).
uint32_t KeyPixel(COLORREF key) {
    return (static_cast<uint32_t>(GetRValue(key)) << 16) | (static_cast<uint32_t>(GetGValue(key)) << 8) |
           GetBValue(key);
}

bool SameRuns(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!EqualRect(&a[i], &b[i])) return false;
    return true;
}

} // namespace

TFMCustomTrackBar::TFMCustomTrackBar(const Params& params)
    : AttachedControl(ControlKind::TrackBar, params.at(0)), create_(params) {
    ResultVariable = params.at(8);
}

// ---- Creation --------------------------------------------------------------

void TFMCustomTrackBar::BuildContent() {
    // Read in this order; the first that fails fails the creation.
    const int32_t thumbWidth = TextToInt(create_.at(1));
    const int32_t thumbHeight = TextToInt(create_.at(2));
    int32_t minimum = TextToInt(create_.at(3));
    int32_t maximum = TextToInt(create_.at(4));
    int32_t value = TextToInt(create_.at(5));
    const SliderOrientation orientation = OrientationFromCode(create_.at(6).c_str());
    volumeMode_ = TextToFlag(create_.at(7));

    if (volumeMode_) {
        volume_ = OpenMasterVolume();
        minimum = 0;
        maximum = 100;
        value = PositionForLevel(maximum, volume_->Level());
        lastChangingValue_ = value;
    }

    // The thumb's sizes are pixels at 96 DPI: it grows with the system's DPI.
    thumbWidth_ = ScaledToScreen(thumbWidth);
    thumbHeight_ = ScaledToScreen(thumbHeight < kSliderHeightAtCreation ? thumbHeight : kDefaultThumbHeight);
    range_.SetMinimum(minimum);
    range_.SetMaximum(maximum);
    range_.SetValue(value);
    orientation_ = orientation;
    WriteValue();

    captionFont_ = CreateFontFromSpec(DefaultControlFont());
    if (volumeMode_) SetTimer(hwnd(), kPollTimer, kPollMilliseconds, nullptr);
}

void TFMCustomTrackBar::LayoutContent(int width, int height) {
    if (width != pictureWidth_ || height != pictureHeight_) {
        pixels_ = nullptr;
        pictureWidth_ = pictureHeight_ = 0;
        if (!pictureDc_) pictureDc_.reset(CreateCompatibleDC(nullptr));
        if (width > 0 && height > 0 && pictureDc_) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height; // top-down
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            UniqueBitmap picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
            if (picture && bits) {
                SelectObject(pictureDc_.get(), picture.get()); // the previous picture is deselected
                picture_ = std::move(picture);
                pixels_ = static_cast<uint32_t*>(bits);
                pictureWidth_ = width;
                pictureHeight_ = height;
            }
        }
    }
    Render();
}

void TFMCustomTrackBar::ClearMirroredVariables() { WriteVariable(ResultVariable, ""); }

// ---- Value -----------------------------------------------------------------

SliderLayout TFMCustomTrackBar::Layout() const {
    RECT client{};
    if (hwnd()) GetClientRect(hwnd(), &client);
    return SliderLayout(client.right, client.bottom, orientation_, thumbWidth_, thumbHeight_);
}

void TFMCustomTrackBar::SetSliderValue(int32_t value) {
    if (range_.SetValue(value)) Render();
}

void TFMCustomTrackBar::WriteValue() const { WriteVariable(ResultVariable, std::to_string(range_.Value())); }

// ---- Events ----------------------------------------------------------------

void TFMCustomTrackBar::ValueChanging() {
    changed_ = true;
    WriteValue();
    if (volumeMode_ && volume_) {
        try {
            volume_->SetLevel(static_cast<float>(static_cast<double>(range_.Value()) / range_.Maximum()));
        } catch (const std::exception& e) {
            ReportError(e.what()); // the slider moved all the same
        }
    }
    if (range_.Value() == lastChangingValue_) return;
    lastChangingValue_ = range_.Value();
    RunEvent(volumeMode_ ? OnVolumeSub : OnChangingSub);
}

void TFMCustomTrackBar::Release() {
    if (volumeMode_ || !changed_ || range_.Value() == lastReleasedValue_) return;
    lastReleasedValue_ = range_.Value();
    changed_ = false;
    RunEvent(OnChangedSub);
}

void TFMCustomTrackBar::Press(int x, int y) {
    if (GetFocus() != hwnd()) SetFocus(hwnd());
    if (IsDestroyed()) return;
    SetCapture(hwnd());
    buttonDown_ = true;
    grabOffset_ = Layout().GrabOffset(range_, x, y);
    PointerMoved(x, y);
}

void TFMCustomTrackBar::PointerMoved(int x, int y) {
    SetSliderValue(Layout().ValueAt(range_, x, y, grabOffset_));
    ValueChanging();
}

void TFMCustomTrackBar::EndDrag() {
    if (!buttonDown_) return;
    buttonDown_ = false; // before the capture goes: WM_CAPTURECHANGED must not end it twice
    if (GetCapture() == hwnd()) ReleaseCapture();
    Release();
}

void TFMCustomTrackBar::Poll() {
    if (buttonDown_ || polling_ || !volume_) return;
    FlagScope scope(polling_);
    float level = 0.0f;
    try {
        level = volume_->Level();
    } catch (const std::exception&) {
        return; // the device went away; the next tick tries again
    }
    SetSliderValue(PositionForLevel(range_.Maximum(), level));
    WriteValue();
    if (range_.Value() == lastChangingValue_) return;
    lastChangingValue_ = range_.Value();
    RunEvent(OnVolumeSub);
}

LRESULT TFMCustomTrackBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        if (pixels_)
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, pictureDc_.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the picture covers everything
    case WM_PRINTCLIENT:
        CopyTo(reinterpret_cast<HDC>(wParam), true);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the form's class asks for double clicks: a quick second press is a press
        Press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (buttonDown_) PointerMoved(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        EndDrag();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (a dialog, say) ends the drag as a release does,
        // but not while the window is being destroyed: the system takes the
        // capture from a window it destroys, and no subroutine runs then.
        if (reinterpret_cast<HWND>(lParam) != hwnd() && buttonDown_) {
            buttonDown_ = false;
            PostMessageA(hwnd(), kCaptureLostMessage, 0, 0);
        }
        return 0;
    case kCaptureLostMessage:
        Release();
        return 0;
    case WM_KEYDOWN: {
        int delta = 0;
        switch (wParam) {
        case VK_LEFT: case VK_UP: delta = -1; break;
        case VK_RIGHT: case VK_DOWN: delta = 1; break;
        }
        if (delta == 0) break;
        SetSliderValue(range_.Stepped(delta));
        ValueChanging();
        return 0;
    }
    case WM_TIMER:
        if (wParam == kPollTimer) {
            Poll();
            return 0;
        }
        break;
    case WM_DESTROY:
        // The poll and the volume interface end with the control.
        KillTimer(hwnd(), kPollTimer);
        volume_.reset();
        break;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

// ---- Drawing ---------------------------------------------------------------

void TFMCustomTrackBar::DrawSlider(HDC dc, int width, int height) const {
    const RECT client{0, 0, width, height};
    const SliderLayout layout(width, height, orientation_, thumbWidth_, thumbHeight_);
    Fill(dc, client, ToColorRef(look_.backColor, RGB(255, 255, 255)));

    const RECT track = ToRect(layout.Track());
    Fill(dc, track, ToColorRef(look_.trackColor, RGB(128, 128, 128)));
    if (look_.trackBorder) {
        RECT edge = track;
        InflateRect(&edge, 2, 2);
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }

    const COLORREF border = ToColorRef(look_.borderColor, RGB(0, 0, 0));
    RECT thumb = ToRect(layout.Thumb(range_));
    Fill(dc, thumb, ToColorRef(look_.thumbColor, RGB(192, 192, 192)));
    Frame(dc, thumb, border);
    if (look_.showCaption) {
        const std::string caption = std::to_string(range_.Value());
        SelectedObject font(dc, captionFont_ ? static_cast<HGDIOBJ>(captionFont_.get())
                                             : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToColorRef(DefaultControlFont().color, RGB(0, 0, 0)));
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &thumb,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
        SetBkMode(dc, OPAQUE);
    }
    if (look_.backBorder) Frame(dc, client, border);
}

void TFMCustomTrackBar::Render() {
    if (!pixels_ || !hwnd()) return;
    DrawSlider(pictureDc_.get(), pictureWidth_, pictureHeight_);
    GdiFlush();
    UpdateKeyRegion();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TFMCustomTrackBar::UpdateKeyRegion() {
    // Runs of pixels that are not the key colour, row by row.
    const uint32_t key = KeyPixel(GetSysColor(COLOR_BTNFACE));
    std::vector<RECT> runs;
    bool anyKey = false;
    for (int y = 0; y < pictureHeight_; ++y) {
        const uint32_t* row = pixels_ + static_cast<size_t>(y) * static_cast<size_t>(pictureWidth_);
        int x = 0;
        while (x < pictureWidth_) {
            while (x < pictureWidth_ && (row[x] & 0xFFFFFFu) == key) {
                anyKey = true;
                ++x;
            }
            const int start = x;
            while (x < pictureWidth_ && (row[x] & 0xFFFFFFu) != key) ++x;
            if (x > start) runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    if (!anyKey) {
        if (keyed_) SetWindowRgn(hwnd(), nullptr, TRUE);
        keyed_ = false;
        opaqueRuns_.clear();
        return;
    }
    if (keyed_ && SameRuns(runs, opaqueRuns_)) return;
    std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header->rcBound = RECT{0, 0, pictureWidth_, pictureHeight_};
    if (!runs.empty()) std::memcpy(data.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
    HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    if (!region) return;
    // The window owns the region from here on.
    if (!SetWindowRgn(hwnd(), region, TRUE)) {
        DeleteObject(region);
        return;
    }
    keyed_ = true;
    opaqueRuns_ = std::move(runs);
}

void TFMCustomTrackBar::CopyTo(HDC dc, bool keyed) const {
    if (!pixels_ || !dc) return;
    if (keyed && keyed_)
        GdiTransparentBlt(dc, 0, 0, pictureWidth_, pictureHeight_, pictureDc_.get(), 0, 0, pictureWidth_,
                          pictureHeight_, GetSysColor(COLOR_BTNFACE));
    else
        BitBlt(dc, 0, 0, pictureWidth_, pictureHeight_, pictureDc_.get(), 0, 0, SRCCOPY);
}

// ---- Actions ---------------------------------------------------------------

void TFMCustomTrackBar::SetProperties(const Params& params) {
    if (!params.at(1).empty()) ShowCaptionOption = TextToFlag(params[1]);
    if (!params.at(2).empty()) BackBorderOption = TextToFlag(params[2]);
    if (!params.at(3).empty()) TrackBorderOption = TextToFlag(params[3]);
    BackColor = TextToColor(params.at(4));
    BorderColor = TextToColor(params.at(5));
    ThumbColor = TextToColor(params.at(6));
    TrackColor = TextToColor(params.at(7));

    // Applied only now: a failure above leaves what it stored unapplied.
    look_.showCaption = ShowCaptionOption;
    look_.backBorder = BackBorderOption;
    look_.trackBorder = TrackBorderOption;
    if (BackColor != ColorNone) look_.backColor = BackColor;
    if (ThumbColor != ColorNone) look_.thumbColor = ThumbColor;
    if (TrackColor != ColorNone) look_.trackColor = TrackColor;
    if (BorderColor != ColorNone) look_.borderColor = BorderColor;
    Render();
}

void TFMCustomTrackBar::CaptureEvents(const Params& params) {
    ApplyCapture(OnChangingSub, params.at(1));
    ApplyCapture(OnChangedSub, params.at(2));
    ApplyCapture(OnVolumeSub, params.at(3));
}

void TFMCustomTrackBar::Update(int32_t number, const std::string& option) {
    if (option == "0") {
        if (volumeMode_) {
            // The slider follows at the next poll.
            if (volume_) volume_->SetLevel(static_cast<float>(static_cast<double>(number) / range_.Maximum()));
        } else {
            SetSliderValue(number);
        }
    } else if (!volumeMode_ && option == "1") {
        range_.SetMinimum(number);
        Render();
    } else if (!volumeMode_ && option == "2") {
        range_.SetMaximum(number);
        Render();
    }
    WriteValue();
    if (volumeMode_ || range_.Value() == lastReleasedValue_) return;
    lastReleasedValue_ = range_.Value();
    RunEvent(OnChangedSub);
}

bool qorCreateTrackBar(const Params& params) {
    CreateAttachedControl(std::make_shared<TQORTrackBar>(params));
    return true;
}

bool qorTrackBarSetProperties(const Params& params) {
    RequireTrackBar(params.at(0))->SetProperties(params);
    return true;
}

bool qorTrackBarCaptureEvents(const Params& params) {
    RequireTrackBar(params.at(0))->CaptureEvents(params);
    return true;
}

bool qorTrackBarUpdate(const Params& params) {
    auto trackBar = RequireTrackBar(params.at(0));
    trackBar->Update(TextToInt(params.at(1)), params.at(2));
    return true;
}

} // namespace qor
