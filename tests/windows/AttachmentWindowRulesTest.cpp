#include "windows/PictureWindowRules.h"
#include "windows/TextWindowRules.h"

#include <gtest/gtest.h>

TEST(TextCentreLayout, HoldersFollowTheWindowHeight) {
    const TextCentre centre = LayoutTextCentre(250);
    EXPECT_EQ(centre.PPodTxt, (FrameRect{0, 0, 329, 185}));
    EXPECT_EQ(centre.Mtekst, (FrameRect{3, 4, 343, 180}));
    EXPECT_EQ(centre.PPodListwe, (FrameRect{332, 0, 16, 170}));
    // The text box reaches past its holder: its own scroll bar is out of sight.
    EXPECT_GT(centre.Mtekst.Left + centre.Mtekst.Width, centre.PPodTxt.Width);
    EXPECT_EQ(LayoutTextCentre(400).PPodListwe.Height, 320);
    EXPECT_EQ(LayoutTextCentre(10).PPodListwe.Height, 0);
}

TEST(TextFontSize, StepsStopAtEightAndEleven) {
    EXPECT_EQ(SteppedFontSize(9, -1), 8);
    EXPECT_EQ(SteppedFontSize(8, -1), 8);
    EXPECT_EQ(SteppedFontSize(10, 1), 11);
    EXPECT_EQ(SteppedFontSize(11, 1), 11);
}

TEST(TextFontSize, ButtonsHideAtTheEnds) {
    EXPECT_EQ(FontButtonsFor(8), (FontButtons{false, true}));
    EXPECT_EQ(FontButtonsFor(9), (FontButtons{true, true}));
    EXPECT_EQ(FontButtonsFor(10), (FontButtons{true, true}));
    EXPECT_EQ(FontButtonsFor(11), (FontButtons{true, false}));
}

TEST(TextScrollBarFit, TextThatFitsNeedsNoBar) {
    EXPECT_EQ(LinesThatFit(185, 14), 13);
    EXPECT_EQ(LinesThatFit(185, 0), 0);
    EXPECT_EQ(LinesThatFit(-5, 14), 0);
    EXPECT_FALSE(FitTextScrollBar(13, 13).Shown);
    EXPECT_FALSE(FitTextScrollBar(0, 13).Shown);
}

TEST(TextScrollBarFit, OneLineMoreShowsTheBarWithMaxOne) {
    EXPECT_EQ(FitTextScrollBar(14, 13), (TextScrollBar{true, 1, 12, 11, 5}));
    EXPECT_EQ(FitTextScrollBar(100, 20), (TextScrollBar{true, 80, 19, 18, 5}));
}

TEST(PictureWindowSize, SmallWindowIsTheLeastSize) {
    EXPECT_EQ(AtLeastSmallWindow({300, 100}), (FrameSize{365, 200}));
    EXPECT_EQ(AtLeastSmallWindow({521, 150}), (FrameSize{521, 200}));
    EXPECT_EQ(AtLeastSmallWindow({521, 371}), (FrameSize{521, 371}));
}

constexpr FrameSize kWorkArea{1366, 768};

TEST(PictureWindowSize, EnlargedWindowHoldsTheWholePicture) {
    EXPECT_EQ(EnlargedWindowFor({400, 300}, kWorkArea), (FrameSize{521, 371}));
    EXPECT_EQ(AtLeastSmallWindow(EnlargedWindowFor({300, 50}, kWorkArea)), (FrameSize{421, 200}));
    // The centre of the enlarged window is exactly the holder.
    const FrameSize window = EnlargedWindowFor({400, 300}, kWorkArea);
    const FrameRect centre = LayoutExpandedFrame(kPictureFrame, window).PCentrum;
    const FrameRect holder = PictureHolderFor({400, 300});
    EXPECT_EQ(centre.Width, holder.Width);
    EXPECT_EQ(centre.Height, holder.Height);
}

TEST(PictureWindowSize, EnlargedWindowStaysWithinTheWorkArea) {
    EXPECT_EQ(EnlargedWindowFor({16384, 3000}, kWorkArea), (FrameSize{1366, 768}));
    EXPECT_EQ(EnlargedWindowFor({1300, 200}, kWorkArea), (FrameSize{1366, 271}));
    EXPECT_EQ(AtLeastSmallWindow(EnlargedWindowFor({900, 300}, {300, 150})), (FrameSize{365, 200}));
}

TEST(PictureWindowSize, PictureLiesThreePixelsInsideItsHolder) {
    EXPECT_EQ(PictureHolderFor({400, 300}), (FrameRect{0, 0, 406, 306}));
    EXPECT_EQ(PictureInHolder({400, 300}), (FrameRect{3, 3, 400, 300}));
}

TEST(PictureWindowSize, EnlargingIsOfferedWhenTheHolderDoesNotFit) {
    const FrameSize centre{250, 135};
    EXPECT_FALSE(PictureNeedsEnlarging({200, 100}, centre));
    EXPECT_FALSE(PictureNeedsEnlarging({244, 129}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({400, 300}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({300, 50}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({100, 130}, centre));
    // Narrower than the centre, but its right edge and bevel would be cut off.
    EXPECT_TRUE(PictureNeedsEnlarging({247, 100}, centre));
}
