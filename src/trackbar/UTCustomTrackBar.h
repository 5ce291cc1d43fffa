#pragma once
// The TrackBar: a slider drawn by the plug-in itself (background, track,
// thumb, borders, the value as a caption on the thumb), horizontal or
// vertical, attached to a host rectangle. It mirrors its value into a result
// variable and runs host subroutines while the thumb moves and when it is
// released. Created in volume mode it follows the system's master volume
// (polled every 100 ms) and sets it when moved.
//
// Drawing. Every change of value, look or size renders the whole slider into
// an off-screen bitmap; painting copies that bitmap in one step. Pixels of the
// system button-face colour are cut out of the window's region, so the page
// behind shows through them (the colour key of the control window).
//
// Events run from the form's own mouse, keyboard and timer messages; a
// subroutine may remove or re-create the control, after which nothing here
// touches it.
#include <memory>
#include <string>
#include <vector>

#include "core/AttachedControl.h"
#include "core/ValueEncodings.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"
#include "trackbar/MasterVolume.h"
#include "trackbar/SliderModel.h"
#include "trackbar/TrackBarAccessible.h"

namespace qor {

// What the slider currently shows (set properties stores apart from this and
// applies only when the whole call has been read).
struct SliderLook {
    bool showCaption = false;
    bool backBorder = false;
    bool trackBorder = true;
    int32_t backColor = RgbColor(255, 255, 255);
    int32_t thumbColor = RgbColor(192, 192, 192);
    int32_t trackColor = RgbColor(128, 128, 128);
    int32_t borderColor = RgbColor(0, 0, 0);
};

class TFMCustomTrackBar : public AttachedControl {
public:
    // params: the nine parameters of qorCreateTrackBar.
    explicit TFMCustomTrackBar(const Params& params);

    // qorTrackBarSetProperties: parameters 2 to 8.
    void SetProperties(const Params& params);
    // qorTrackBarCaptureEvents: parameters 2 to 4.
    void CaptureEvents(const Params& params);
    // qorTrackBarUpdate: number and what to set ("0" value, "1" minimum, "2" maximum).
    void Update(int32_t number, const std::string& option);

    const SliderRange& Range() const { return range_; }
    bool VolumeMode() const { return volumeMode_; }

    // State, as the script sees it.
    std::string ResultVariable;
    std::string OnChangingSub;
    std::string OnChangedSub;
    std::string OnVolumeSub;
    bool ShowCaptionOption = false;
    bool BackBorderOption = false;
    bool TrackBorderOption = false;
    int32_t BackColor = ColorNone;
    int32_t BorderColor = ColorNone;
    int32_t ThumbColor = ColorNone;
    int32_t TrackColor = ColorNone;

protected:
    void BuildContent() override;
    void LayoutContent(int width, int height) override;
    void ClearMirroredVariables() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TrackBarAccessible;
    SliderLayout Layout() const;
    // The setter under the range rules; redraws when the value moved.
    void SetSliderValue(int32_t value);
    void WriteValue() const;

    // The slider's events. A subroutine may remove the control: each is the
    // last thing its caller does.
    void ValueChanging();
    void Release();
    void PointerMoved(int x, int y);
    void Press(int x, int y);
    void EndDrag();
    void Poll();

    // Renders the slider off-screen and refreshes the colour-key region.
    void Render();
    void DrawSlider(HDC dc, int width, int height) const;
    void UpdateKeyRegion();
    void CopyTo(HDC dc, bool keyed) const;

    Params create_;
    SliderRange range_;
    SliderOrientation orientation_ = SliderOrientation::Horizontal;
    int thumbWidth_ = kDefaultThumbWidth;
    int thumbHeight_ = kDefaultThumbHeight;
    SliderLook look_;
    bool volumeMode_ = false;
    std::unique_ptr<MasterVolume> volume_;

    bool changed_ = false;
    int32_t lastChangingValue_ = 0;
    int32_t lastReleasedValue_ = 0;
    bool buttonDown_ = false; // pressed on the slider; the slider holds the mouse capture
    bool polling_ = false;
    int grabOffset_ = 0;

    // The off-screen picture: a top-down 32-bit DIB section and its DC.
    UniqueBitmap picture_;
    UniqueMemoryDc pictureDc_;
    uint32_t* pixels_ = nullptr;
    int pictureWidth_ = 0, pictureHeight_ = 0;
    UniqueFont captionFont_;
    // Opaque runs of the last region set; empty with keyed_ false when none was needed.
    std::vector<RECT> opaqueRuns_;
    bool keyed_ = false;
    TrackBarAccessible accessible_{*this};
};

// The attached TrackBar: the registry entry of its rectangle.
class TQORTrackBar final : public TFMCustomTrackBar {
public:
    using TFMCustomTrackBar::TFMCustomTrackBar;
};

bool qorCreateTrackBar(const Params& params);
bool qorTrackBarSetProperties(const Params& params);
bool qorTrackBarCaptureEvents(const Params& params);
bool qorTrackBarUpdate(const Params& params);

} // namespace qor
