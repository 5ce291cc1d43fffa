// The track bar's slider without a window: the setter rules, where track and
// thumb lie in both orientations, which value a pointer means, and the volume
// level as a position with a half rounded to the even neighbour.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "trackbar/SliderModel.h"

using qor::SliderLayout;
using qor::SliderOrientation;
using qor::SliderRange;
using qor::SliderRect;

namespace {

// Creation order of the create action: minimum, maximum, value.
SliderRange Created(int32_t minimum, int32_t maximum, int32_t value) {
    SliderRange range;
    range.SetMinimum(minimum);
    range.SetMaximum(maximum);
    range.SetValue(value);
    return range;
}

TEST(SliderRange, SettersKeepTheRangeConsistent) {
    struct Case {
        int32_t minimum, maximum, value;
        int32_t wantMinimum, wantMaximum, wantValue;
    };
    const std::vector<Case> cases = {
        {0, 100, 0, 0, 100, 0},           // the defaults
        {200, 300, 250, 0, 300, 250},     // a minimum not below the maximum (100) is refused
        {10, 50, 70, 10, 50, 10},         // the minimum moved the value up; 70 is outside
        {-5, 5, -5, -5, 5, -5},
        {0, 0, 0, 0, 100, 0},             // a maximum not above the minimum is refused
        {50, 60, 55, 50, 60, 55},
        {INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MIN},
        {INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MAX},
        {100, 20, 5, 0, 20, 5},           // minimum 100 refused (not below 100)
    };
    for (const Case& c : cases) {
        const SliderRange range = Created(c.minimum, c.maximum, c.value);
        EXPECT_EQ(range.Minimum(), c.wantMinimum) << c.minimum << " " << c.maximum << " " << c.value;
        EXPECT_EQ(range.Maximum(), c.wantMaximum) << c.minimum << " " << c.maximum << " " << c.value;
        EXPECT_EQ(range.Value(), c.wantValue) << c.minimum << " " << c.maximum << " " << c.value;
    }
}

TEST(SliderRange, LaterSettersMoveTheValueIntoTheRangeAndReportOnlyChanges) {
    SliderRange range = Created(0, 100, 40);
    EXPECT_FALSE(range.SetValue(40)) << "equal to the current value";
    EXPECT_FALSE(range.SetValue(101)) << "outside";
    EXPECT_TRUE(range.SetValue(41));
    range.SetMaximum(30);
    EXPECT_EQ(range.Value(), 30);
    range.SetMinimum(30); // not below the maximum: refused
    EXPECT_EQ(range.Minimum(), 0);
    range.SetMinimum(29);
    EXPECT_EQ(range.Value(), 30);
    range.SetMaximum(29); // not above the minimum: refused
    EXPECT_EQ(range.Maximum(), 30);
    EXPECT_EQ(range.Stepped(-1), 29);
    EXPECT_EQ(range.Stepped(1), 30) << "held at the maximum";
    const SliderRange extreme = Created(INT_MIN, INT_MAX, INT_MIN);
    EXPECT_EQ(extreme.Stepped(-1), INT_MIN);
}

TEST(SliderOrientation, OnlyOneMeansVertical) {
    EXPECT_EQ(qor::OrientationFromCode("1"), SliderOrientation::Vertical);
    for (const char* code : {"0", "", "2", "01", " 1", "True"})
        EXPECT_EQ(qor::OrientationFromCode(code), SliderOrientation::Horizontal) << code;
}

TEST(SliderLayout, TrackAndThumbLieAlongTheOrientation) {
    const SliderRange range = Created(0, 100, 50);
    // 200 x 30, thumb 20 along and 16 across: the thumb travels 180 pixels.
    const SliderLayout horizontal(200, 30, SliderOrientation::Horizontal, 20, 16);
    EXPECT_EQ(horizontal.Track(), (SliderRect{10, 12, 190, 18}));
    EXPECT_EQ(horizontal.Thumb(range), (SliderRect{90, 7, 110, 23}));
    EXPECT_EQ(horizontal.Thumb(Created(0, 100, 0)), (SliderRect{0, 7, 20, 23}));
    EXPECT_EQ(horizontal.Thumb(Created(0, 100, 100)), (SliderRect{180, 7, 200, 23}));
    // The same slider on its side: along is the height.
    const SliderLayout vertical(30, 200, SliderOrientation::Vertical, 20, 16);
    EXPECT_EQ(vertical.Track(), (SliderRect{12, 10, 18, 190}));
    EXPECT_EQ(vertical.Thumb(range), (SliderRect{7, 90, 23, 110}));
    EXPECT_EQ(vertical.Thumb(Created(0, 100, 100)), (SliderRect{7, 180, 23, 200}));
}

TEST(SliderLayout, APointerOnTheThumbHoldsItWhereItWasTakenElsewhereItJumps) {
    const SliderRange range = Created(0, 100, 50);
    const SliderLayout layout(200, 30, SliderOrientation::Horizontal, 20, 16);
    // On the thumb (90..110): the value stays where it is.
    const int grab = layout.GrabOffset(range, 95, 15);
    EXPECT_EQ(grab, 5);
    EXPECT_EQ(layout.ValueAt(range, 95, 15, grab), 50);
    EXPECT_EQ(layout.ValueAt(range, 95 + 18, 15, grab), 60);
    // Off the thumb: its middle goes under the pointer.
    const int jump = layout.GrabOffset(range, 28, 15);
    EXPECT_EQ(jump, 10);
    EXPECT_EQ(layout.ValueAt(range, 28, 15, jump), 10);
    EXPECT_EQ(layout.GrabOffset(range, 100, 2), 10) << "above the thumb is off it";
    // Held at the ends.
    EXPECT_EQ(layout.ValueAt(range, -500, 15, jump), 0);
    EXPECT_EQ(layout.ValueAt(range, 5000, 15, jump), 100);
    // Vertical: the pointer's y counts.
    const SliderLayout vertical(30, 200, SliderOrientation::Vertical, 20, 16);
    EXPECT_EQ(vertical.ValueAt(range, 0, 28, 10), 10);
}

TEST(SliderLayout, ExtremeRangesAndSizesStayInsideTheirNumbers) {
    const SliderRange wide = Created(INT_MIN, INT_MAX, INT_MAX);
    const SliderLayout layout(INT_MAX, 30, SliderOrientation::Horizontal, 1, 16);
    EXPECT_EQ(layout.Thumb(wide).right, INT_MAX);
    EXPECT_EQ(layout.ValueAt(wide, INT_MAX, 0, 0), INT_MAX);
    EXPECT_EQ(layout.ValueAt(wide, 0, 0, 0), INT_MIN);
    // A thumb longer than the slider cannot move; every pointer means the minimum.
    const SliderLayout cramped(10, 30, SliderOrientation::Horizontal, 40, 16);
    EXPECT_EQ(cramped.ValueAt(Created(5, 9, 7), 8, 8, 0), 5);
    EXPECT_EQ(cramped.Thumb(Created(5, 9, 7)).left, 0);
    // Negative sizes draw nothing odd.
    const SliderLayout negative(-5, -5, SliderOrientation::Vertical, -3, -4);
    EXPECT_EQ(negative.Thumb(Created(0, 100, 50)), (SliderRect{0, 0, 0, 1}));
}

TEST(VolumeLevel, AHalfRoundsToTheEvenNeighbour) {
    struct Case {
        double x;
        int32_t want;
    };
    for (const Case& c : std::vector<Case>{{0.5, 0}, {1.5, 2}, {2.5, 2}, {36.5, 36}, {37.5, 38}, {37.49, 37},
                                           {37.51, 38}, {-0.5, 0}, {-1.5, -2}, {-2.6, -3}, {1e12, INT_MAX},
                                           {-1e12, INT_MIN}})
        EXPECT_EQ(qor::RoundHalfEven(c.x), c.want) << c.x;
    EXPECT_EQ(qor::PositionForLevel(100, 0.375f), 38);
    EXPECT_EQ(qor::PositionForLevel(100, 0.125f), 12);
    EXPECT_EQ(qor::PositionForLevel(100, 0.37f), 37);
    EXPECT_EQ(qor::PositionForLevel(100, 1.0f), 100);
    EXPECT_EQ(qor::PositionForLevel(100, 0.0f), 0);
}

} // namespace
