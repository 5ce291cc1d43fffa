#pragma once
// The track bar's slider without any window: its range and position under the
// setter rules, where the track and the thumb lie in a client area of a given
// size, which value a pointer position means, and the volume level as a
// position. Platform-free.
#include <cstdint>

namespace qor {

enum class SliderOrientation { Horizontal, Vertical };

// "1" is vertical; every other text keeps the horizontal default.
SliderOrientation OrientationFromCode(const char* code);

// The slider's numbers. The setters keep minimum < maximum and the value
// inside the range; a setter that would break that leaves everything as it is.
class SliderRange {
public:
    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }
    int32_t Value() const { return value_; }

    // Ignored unless below the maximum; a value below the new minimum moves up to it.
    void SetMinimum(int32_t minimum);
    // Ignored unless above the minimum; a value above the new maximum moves down to it.
    void SetMaximum(int32_t maximum);
    // Ignored outside the range or when equal to the value. True when the value changed.
    bool SetValue(int32_t value);
    // The value moved by delta and held inside the range (arrow keys).
    int32_t Stepped(int delta) const;

private:
    int32_t minimum_ = 0;
    int32_t maximum_ = 100;
    int32_t value_ = 0;
};

// The slider's height before it is sized to its rectangle: a thumb height
// that is not below it is ignored at creation.
constexpr int kSliderHeightAtCreation = 27;
constexpr int kDefaultThumbWidth = 20;
constexpr int kDefaultThumbHeight = 16;
constexpr int kTrackThickness = 6;

struct SliderRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const SliderRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Where the parts of a slider lie. The thumb width runs along the track and the
// thumb height across it, in both orientations; the minimum is at the left (or
// top) end and the maximum at the right (or bottom) end.
class SliderLayout {
public:
    SliderLayout(int width, int height, SliderOrientation orientation, int thumbWidth, int thumbHeight);

    SliderRect Track() const;
    SliderRect Thumb(const SliderRange& range) const;
    // Offset along the track from the thumb's leading edge to a pointer at
    // (x, y): where the pointer holds the thumb. A pointer off the thumb holds
    // it at its middle, so the thumb jumps there.
    int GrabOffset(const SliderRange& range, int x, int y) const;
    // The value whose thumb has its leading edge at the pointer minus the grab offset.
    int32_t ValueAt(const SliderRange& range, int x, int y, int grabOffset) const;

private:
    SliderRect Oriented(int64_t alongStart, int64_t alongEnd, int64_t acrossStart, int64_t acrossEnd) const;
    int Along(int x, int y) const { return orientation_ == SliderOrientation::Horizontal ? x : y; }
    int64_t ThumbStart(const SliderRange& range) const;

    SliderOrientation orientation_;
    int64_t along_, across_;        // client extent along and across the track
    int64_t thumbAlong_, thumbAcross_;
    int64_t travel_;                // how far the thumb's leading edge moves
};

// round(x), a half to the even neighbour, held inside the 32-bit range.
int32_t RoundHalfEven(double x);
// The slider position for a master level: round(maximum x level).
int32_t PositionForLevel(int32_t maximum, float level);

} // namespace qor
