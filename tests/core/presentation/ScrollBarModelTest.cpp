#include "core/presentation/ScrollBarModel.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// The set list window's bar: 17 rows, 16 in view.
ScrollBarModel SetListBar() {
    ScrollBarModel bar;
    bar.SetMax(1);
    bar.SetLargeChange(15);
    bar.SetSmallChange(14);
    bar.SetSmallChangeMax(5);
    return bar;
}

ScrollBarModel BarWithMax(int max, int largeChange = 9) {
    ScrollBarModel bar;
    bar.SetMax(max);
    bar.SetLargeChange(largeChange);
    return bar;
}

} // namespace

TEST(ScrollBarValues, PositionStaysWithinZeroAndMax) {
    ScrollBarModel bar = BarWithMax(10);
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(11);
    EXPECT_EQ(bar.Position(), 10);
    bar.SetPosition(INT_MIN);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(INT_MAX);
    EXPECT_EQ(bar.Position(), 10);
}

TEST(ScrollBarValues, ShrinkingMaxPullsPositionBack) {
    ScrollBarModel bar = BarWithMax(10);
    bar.SetPosition(8);
    bar.SetMax(5);
    EXPECT_EQ(bar.Position(), 5);
    bar.SetMax(-4);
    EXPECT_EQ(bar.Max(), 0);
    EXPECT_EQ(bar.Position(), 0);
    // Growing again leaves it where it is.
    bar.SetMax(20);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(ScrollBarValues, MovesStopAtTheEndsWithoutOverflow) {
    ScrollBarModel bar = BarWithMax(INT_MAX);
    bar.SetPosition(INT_MAX - 1);
    bar.MoveBy(INT_MAX);
    EXPECT_EQ(bar.Position(), INT_MAX);
    bar.SetPosition(1);
    bar.MoveBy(INT_MIN);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(ScrollBarSteps, ArrowsStepOnceAndTheTrackPages) {
    const ScrollBarModel bar = SetListBar();
    EXPECT_EQ(bar.StepFor(ScrollBarPart::UpArrow), -1);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::DownArrow), 1);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::PageUp), -15);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::PageDown), 15);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::Thumb), 0);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::None), 0);
}

TEST(ScrollBarSteps, TrackPagesAtLeastOneEvenWithoutALargeChange) {
    ScrollBarModel bar = BarWithMax(10, 0);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::PageDown), 1);
    bar.SetLargeChange(-7);
    EXPECT_EQ(bar.StepFor(ScrollBarPart::PageUp), -1);
}

TEST(ScrollBarSteps, WheelStepIsSmallChangeCappedBySmallChangeMax) {
    ScrollBarModel bar = SetListBar();
    EXPECT_EQ(bar.WheelStep(), 5);
    bar.SetSmallChange(3);
    EXPECT_EQ(bar.WheelStep(), 3);
    // A text window of two lines in view has a SmallChange of 0: the wheel still moves.
    bar.SetSmallChange(0);
    EXPECT_EQ(bar.WheelStep(), 1);
}

TEST(ScrollBarSteps, WheelNotchesScrollAndPartialTurnsAddUp) {
    ScrollBarModel bar = SetListBar();
    bar.SetMax(100);
    // Away from the user scrolls towards the start.
    EXPECT_EQ(bar.TakeWheel(120), -5);
    EXPECT_EQ(bar.TakeWheel(-240), 10);
    EXPECT_EQ(bar.TakeWheel(60), 0);
    EXPECT_EQ(bar.TakeWheel(60), -5);
    EXPECT_EQ(bar.TakeWheel(-119), 0);
    EXPECT_EQ(bar.TakeWheel(-1), 5);
    EXPECT_EQ(bar.TakeWheel(0), 0);
}

TEST(ScrollBarGeometryTest, SetListBarHasSquareArrowsAndANearlyFullThumb) {
    const ScrollBarGeometry geometry = SetListBar().Layout(16, 255);
    EXPECT_EQ(geometry.arrowLength, 16);
    EXPECT_EQ(geometry.trackTop, 16);
    EXPECT_EQ(geometry.trackLength, 223);
    // 16 of 17 rows in view.
    EXPECT_EQ(geometry.thumbLength, 223 * 16 / 17);
    EXPECT_EQ(geometry.thumbTop, 16);
}

TEST(ScrollBarGeometryTest, ThumbTravelsTheTrackWithPosition) {
    ScrollBarModel bar = BarWithMax(90, 9); // a tenth in view
    ScrollBarGeometry geometry = bar.Layout(16, 232);
    EXPECT_EQ(geometry.thumbLength, 20);
    EXPECT_EQ(geometry.thumbTop, 16);
    bar.SetPosition(45);
    EXPECT_EQ(bar.Layout(16, 232).thumbTop, 16 + 90);
    bar.SetPosition(90);
    geometry = bar.Layout(16, 232);
    EXPECT_EQ(geometry.thumbTop + geometry.thumbLength, geometry.trackTop + geometry.trackLength);
}

TEST(ScrollBarGeometryTest, ThumbKeepsAGrippableLength) {
    const ScrollBarGeometry geometry = BarWithMax(1'000'000, 1).Layout(16, 200);
    EXPECT_EQ(geometry.thumbLength, ScrollBarModel::kMinThumbLength);
}

TEST(ScrollBarGeometryTest, NoScrollingFillsTheTrack) {
    const ScrollBarGeometry geometry = BarWithMax(0).Layout(16, 100);
    EXPECT_EQ(geometry.thumbTop, 16);
    EXPECT_EQ(geometry.thumbLength, 68);
}

TEST(ScrollBarGeometryTest, ShortBarsShareTheirHeightBetweenTheArrows) {
    const ScrollBarGeometry geometry = BarWithMax(5).Layout(16, 20);
    EXPECT_EQ(geometry.arrowLength, 10);
    EXPECT_EQ(geometry.trackLength, 0);
    EXPECT_EQ(geometry.thumbLength, 0);
    const ScrollBarGeometry none = BarWithMax(5).Layout(16, -5);
    EXPECT_EQ(none.arrowLength, 0);
    EXPECT_EQ(none.trackLength, 0);
}

TEST(ScrollBarGeometryTest, PartsFollowEachOtherDownTheBar) {
    ScrollBarModel bar = BarWithMax(90, 9);
    bar.SetPosition(45);
    const ScrollBarGeometry geometry = bar.Layout(16, 232); // thumb 106..125
    EXPECT_EQ(geometry.PartAt(-1), ScrollBarPart::None);
    EXPECT_EQ(geometry.PartAt(0), ScrollBarPart::UpArrow);
    EXPECT_EQ(geometry.PartAt(15), ScrollBarPart::UpArrow);
    EXPECT_EQ(geometry.PartAt(16), ScrollBarPart::PageUp);
    EXPECT_EQ(geometry.PartAt(105), ScrollBarPart::PageUp);
    EXPECT_EQ(geometry.PartAt(106), ScrollBarPart::Thumb);
    EXPECT_EQ(geometry.PartAt(125), ScrollBarPart::Thumb);
    EXPECT_EQ(geometry.PartAt(126), ScrollBarPart::PageDown);
    EXPECT_EQ(geometry.PartAt(215), ScrollBarPart::PageDown);
    EXPECT_EQ(geometry.PartAt(216), ScrollBarPart::DownArrow);
    EXPECT_EQ(geometry.PartAt(231), ScrollBarPart::DownArrow);
    EXPECT_EQ(geometry.PartAt(232), ScrollBarPart::None);
}

TEST(ScrollBarThumbDrag, ThumbPlaceGivesTheNearestPosition) {
    const ScrollBarModel bar = BarWithMax(90, 9);
    const ScrollBarGeometry geometry = bar.Layout(16, 232); // travel 180 px for 90 steps
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16), 0);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 3), 2);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 100), 50);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 180), 90);
    // Beyond the track's ends: the ends.
    EXPECT_EQ(bar.PositionForThumbTop(geometry, -500), 0);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 5000), 90);
}

TEST(ScrollBarThumbDrag, ThumbThatCannotMoveKeepsThePosition) {
    ScrollBarModel bar = BarWithMax(3, 9);
    bar.SetPosition(2);
    const ScrollBarGeometry geometry = bar.Layout(16, 32); // no track at all
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 100), 2);
}

TEST(ScrollBarThumbDrag, SetListBarDragsBetweenItsTwoPositions) {
    const ScrollBarModel bar = SetListBar();
    const ScrollBarGeometry geometry = bar.Layout(16, 255); // 14 px of travel
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 6), 0);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 7), 1);
    EXPECT_EQ(bar.PositionForThumbTop(geometry, 16 + 14), 1);
}
