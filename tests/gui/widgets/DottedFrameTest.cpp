#include "gui/widgets/DottedFrame.h"

#include <QImage>
#include <QRegion>
#include <gtest/gtest.h>

TEST(DottedFrameTest, FollowsTheCursorFromTheSetCorner) {
    DottedFrame frame;
    frame.Start({300, 200});
    EXPECT_TRUE(frame.Tracking());
    EXPECT_TRUE(frame.isHidden()) << "a rectangle of no width and no height is not drawn";
    frame.SetLeft(100);
    frame.SetTop(50);
    frame.Track({400, 450});
    EXPECT_FALSE(frame.isHidden());
    EXPECT_EQ(frame.geometry(), QRect(100, 50, 300, 400));
    EXPECT_EQ(frame.Right(), 400);
    EXPECT_EQ(frame.Bottom(), 450);
}

TEST(DottedFrameTest, ShowsOnlyAThreePixelBandInsideTheRectangle) {
    DottedFrame frame;
    frame.Start({10, 10});
    frame.Track({110, 60});
    const QRegion band = frame.mask();
    EXPECT_TRUE(band.contains(QPoint(0, 0)));
    EXPECT_TRUE(band.contains(QPoint(2, 25)));
    EXPECT_FALSE(band.contains(QPoint(3, 25)));
    EXPECT_TRUE(band.contains(QPoint(97, 25)));
    EXPECT_FALSE(band.contains(QPoint(50, 25)));
    EXPECT_TRUE(band.contains(QPoint(50, 47)));
    EXPECT_FALSE(band.contains(QPoint(100, 25)));
}

TEST(DottedFrameTest, BandIsACheckerboardOfDarkAndLightPixels) {
    DottedFrame frame;
    frame.Start({20, 20});
    frame.Track({80, 80});
    const QImage picture = frame.grab().toImage();
    EXPECT_NE(picture.pixel(0, 0), picture.pixel(1, 0));
    EXPECT_EQ(picture.pixel(0, 0), picture.pixel(1, 1));
    EXPECT_NE(picture.pixel(2, 1), picture.pixel(2, 2));
}

TEST(DottedFrameTest, ErasedAtTheEndWithItsRectangleKept) {
    DottedFrame frame;
    frame.Start({50, 40});
    frame.SetTop(10);
    frame.Track({200, 300});
    frame.Stop();
    EXPECT_FALSE(frame.Tracking());
    EXPECT_TRUE(frame.isHidden());
    EXPECT_EQ(frame.Left(), 50);
    EXPECT_EQ(frame.Top(), 10);
    EXPECT_EQ(frame.Right(), 200);
    EXPECT_EQ(frame.Bottom(), 300);
    // No longer tracking: the cursor is not followed.
    frame.Track({500, 500});
    EXPECT_EQ(frame.Bottom(), 300);
    EXPECT_TRUE(frame.isHidden());
}

TEST(DottedFrameTest, CursorAboveOrLeftOfTheCornerStillDrawsTheRectangle) {
    DottedFrame frame;
    frame.Start({300, 300});
    frame.Track({250, 100});
    EXPECT_FALSE(frame.isHidden());
    EXPECT_EQ(frame.geometry(), QRect(250, 100, 50, 200));
    frame.Track({300, 100});
    EXPECT_TRUE(frame.isHidden()) << "a rectangle of no width is not drawn";
}

TEST(DottedFrameTest, PassesInputThroughAndStaysOnTop) {
    const DottedFrame frame;
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(frame.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(frame.windowFlags() & Qt::WindowTransparentForInput);
}
