#include "gui/widgets/ScrollBar.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A bar on screen with every OnChange recorded.
class ScrollBarTest : public ::testing::Test {
protected:
    ScrollBarTest() {
        QObject::connect(&bar, &ScrollBar::OnChange, [this](int position) { changes.push_back(position); });
        bar.resize(16, 255);
        bar.show();
    }

    void Configure(int max, int largeChange, int smallChange, int smallChangeMax) {
        bar.SetMax(max);
        bar.SetLargeChange(largeChange);
        bar.SetSmallChange(smallChange);
        bar.SetSmallChangeMax(smallChangeMax);
        changes.clear();
    }

    void Click(int y) { QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(8, y)); }
    void Wheel(int angle) {
        QWheelEvent event(QPointF(8, 100), bar.mapToGlobal(QPointF(8, 100)), {}, QPoint(0, angle), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &event);
    }
    // Where the bar's pieces lie now, by the same arithmetic the bar draws with.
    ScrollBarGeometry Pieces() const {
        ScrollBarModel model;
        model.SetMax(bar.Max());
        model.SetLargeChange(bar.LargeChange());
        model.SetPosition(bar.Position());
        return model.Layout(16, 255);
    }

    ScrollBar bar;
    std::vector<int> changes;
};

} // namespace

TEST_F(ScrollBarTest, ProgramChangesAreClampedAndReported) {
    Configure(10, 3, 2, 5);
    bar.SetPosition(4);
    bar.SetPosition(4);
    bar.SetPosition(15);
    bar.SetPosition(-2);
    EXPECT_THAT(changes, ElementsAre(4, 10, 0));
    EXPECT_EQ(bar.Position(), 0);
}

TEST_F(ScrollBarTest, ShrinkingMaxMovesThePositionAndReportsIt) {
    Configure(10, 3, 2, 5);
    bar.SetPosition(9);
    bar.SetMax(6);
    bar.SetMax(20);
    EXPECT_THAT(changes, ElementsAre(9, 6));
    EXPECT_EQ(bar.Max(), 20);
    EXPECT_EQ(bar.Position(), 6);
}

TEST_F(ScrollBarTest, IsSixteenPixelsWideAndNamed) {
    EXPECT_EQ(bar.objectName(), "ListwaV");
    EXPECT_EQ(ScrollBar().width(), 16);
}

TEST_F(ScrollBarTest, SetListBarsArrowsMoveOneRowAndStopAtTheEnds) {
    Configure(1, 15, 14, 5);
    Click(250);
    Click(250);
    EXPECT_EQ(bar.Position(), 1);
    Click(5);
    Click(5);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_THAT(changes, ElementsAre(1, 0));
}

TEST_F(ScrollBarTest, TrackPressPagesTowardsThePress) {
    Configure(100, 9, 8, 5);
    Click(200);
    EXPECT_EQ(bar.Position(), 9);
    Click(200);
    EXPECT_EQ(bar.Position(), 18);
    Click(Pieces().thumbTop - 2);
    EXPECT_EQ(bar.Position(), 9);
    EXPECT_THAT(changes, ElementsAre(9, 18, 9));
}

TEST_F(ScrollBarTest, PressOnTheThumbAloneChangesNothing) {
    Configure(100, 9, 8, 5);
    bar.SetPosition(50);
    changes.clear();
    Click(Pieces().thumbTop + 2);
    EXPECT_THAT(changes, IsEmpty());
}

TEST_F(ScrollBarTest, WheelMovesBySmallChangeCappedBySmallChangeMax) {
    Configure(100, 20, 19, 5);
    Wheel(-120);
    EXPECT_EQ(bar.Position(), 5);
    Wheel(-240);
    EXPECT_EQ(bar.Position(), 15);
    Wheel(120);
    EXPECT_EQ(bar.Position(), 10);
    bar.SetSmallChange(2);
    Wheel(120);
    EXPECT_EQ(bar.Position(), 8);
    EXPECT_THAT(changes, ElementsAre(5, 15, 10, 8));
}

TEST_F(ScrollBarTest, WheelAtTheEndReportsNothing) {
    Configure(3, 2, 1, 5);
    Wheel(120);
    EXPECT_THAT(changes, IsEmpty());
    Wheel(-1200);
    EXPECT_THAT(changes, ElementsAre(3));
}

TEST_F(ScrollBarTest, DraggingTheThumbFollowsTheCursor) {
    Configure(90, 9, 8, 5);
    const ScrollBarGeometry geometry = Pieces();
    const int travel = geometry.trackLength - geometry.thumbLength;
    const QPoint grip(8, geometry.thumbTop + 5);
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&bar, grip + QPoint(0, travel / 2));
    EXPECT_EQ(bar.Position(), 45);
    // Beyond the bar's end the thumb stays at the end.
    QTest::mouseMove(&bar, grip + QPoint(0, 1000));
    EXPECT_EQ(bar.Position(), 90);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(0, 1000));
    // Moves after the release do not drag.
    QTest::mouseMove(&bar, grip);
    EXPECT_EQ(bar.Position(), 90);
    EXPECT_THAT(changes, ElementsAre(45, 90));
}
