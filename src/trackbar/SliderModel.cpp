#include "trackbar/SliderModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qor {

namespace {

// round(a * b / c) for a, b below 2^32 and c > 0, without overflow.
uint64_t MulDivRound(uint64_t a, uint64_t b, uint64_t c) {
    const uint64_t q = a / c, r = a % c;
    return q * b + (r * b + c / 2) / c;
}

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

uint64_t Span(const SliderRange& range) {
    return static_cast<uint64_t>(static_cast<int64_t>(range.Maximum()) - range.Minimum());
}

} // namespace

SliderOrientation OrientationFromCode(const char* code) {
    return code && std::strcmp(code, "1") == 0 ? SliderOrientation::Vertical : SliderOrientation::Horizontal;
}

// ---- Range -----------------------------------------------------------------

void SliderRange::SetMinimum(int32_t minimum) {
    if (minimum >= maximum_) return;
    minimum_ = minimum;
    if (value_ < minimum_) value_ = minimum_;
}

void SliderRange::SetMaximum(int32_t maximum) {
    if (maximum <= minimum_) return;
    maximum_ = maximum;
    if (value_ > maximum_) value_ = maximum_;
}

bool SliderRange::SetValue(int32_t value) {
    if (value < minimum_ || value > maximum_ || value == value_) return false;
    value_ = value;
    return true;
}

int32_t SliderRange::Stepped(int delta) const {
    const int64_t moved = static_cast<int64_t>(value_) + delta;
    return static_cast<int32_t>(std::clamp<int64_t>(moved, minimum_, maximum_));
}

// ---- Layout ----------------------------------------------------------------

SliderLayout::SliderLayout(int width, int height, SliderOrientation orientation, int thumbWidth, int thumbHeight)
    : orientation_(orientation) {
    const bool horizontal = orientation == SliderOrientation::Horizontal;
    along_ = std::max(0, horizontal ? width : height);
    across_ = std::max(0, horizontal ? height : width);
    thumbAlong_ = std::max(1, thumbWidth);
    thumbAcross_ = std::max(0, thumbHeight);
    travel_ = std::max<int64_t>(0, along_ - thumbAlong_);
}

SliderRect SliderLayout::Oriented(int64_t alongStart, int64_t alongEnd, int64_t acrossStart, int64_t acrossEnd) const {
    if (orientation_ == SliderOrientation::Horizontal)
        return {ClampToInt(alongStart), ClampToInt(acrossStart), ClampToInt(alongEnd), ClampToInt(acrossEnd)};
    return {ClampToInt(acrossStart), ClampToInt(alongStart), ClampToInt(acrossEnd), ClampToInt(alongEnd)};
}

SliderRect SliderLayout::Track() const {
    const int64_t start = thumbAlong_ / 2;
    const int64_t across = (across_ - kTrackThickness) / 2;
    return Oriented(start, start + travel_, across, across + kTrackThickness);
}

int64_t SliderLayout::ThumbStart(const SliderRange& range) const {
    const uint64_t offset = static_cast<uint64_t>(static_cast<int64_t>(range.Value()) - range.Minimum());
    return static_cast<int64_t>(MulDivRound(offset, static_cast<uint64_t>(travel_), Span(range)));
}

SliderRect SliderLayout::Thumb(const SliderRange& range) const {
    const int64_t start = ThumbStart(range);
    const int64_t across = (across_ - thumbAcross_) / 2;
    return Oriented(start, start + thumbAlong_, across, across + thumbAcross_);
}

int SliderLayout::GrabOffset(const SliderRange& range, int x, int y) const {
    const SliderRect thumb = Thumb(range);
    const bool onThumb = x >= thumb.left && x < thumb.right && y >= thumb.top && y < thumb.bottom;
    if (!onThumb) return static_cast<int>(thumbAlong_ / 2);
    return static_cast<int>(Along(x, y) - ThumbStart(range));
}

int32_t SliderLayout::ValueAt(const SliderRange& range, int x, int y, int grabOffset) const {
    if (travel_ == 0) return range.Minimum();
    const int64_t start = std::clamp<int64_t>(static_cast<int64_t>(Along(x, y)) - grabOffset, 0, travel_);
    const uint64_t offset = MulDivRound(static_cast<uint64_t>(start), Span(range), static_cast<uint64_t>(travel_));
    return static_cast<int32_t>(range.Minimum() + static_cast<int64_t>(offset));
}

// ---- Volume ------------------------------------------------------------------

int32_t RoundHalfEven(double x) {
    if (std::isnan(x)) return 0;
    const double lowest = std::numeric_limits<int32_t>::min(), highest = std::numeric_limits<int32_t>::max();
    if (x <= lowest) return std::numeric_limits<int32_t>::min();
    if (x >= highest) return std::numeric_limits<int32_t>::max();
    const double down = std::floor(x);
    const double fraction = x - down;
    double result = down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0)) result = down + 1.0;
    return static_cast<int32_t>(result);
}

int32_t PositionForLevel(int32_t maximum, float level) {
    return RoundHalfEven(static_cast<double>(maximum) * static_cast<double>(level));
}

} // namespace qor
