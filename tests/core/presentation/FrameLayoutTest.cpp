#include "core/presentation/FrameLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void ExpectInside(const FrameRect& piece, FrameSize window, const char* name) {
    EXPECT_GE(piece.Left, 0) << name;
    EXPECT_GE(piece.Top, 0) << name;
    EXPECT_LE(piece.Left + piece.Width, window.Width) << name;
    EXPECT_LE(piece.Top + piece.Height, window.Height + 1) << name;
}

} // namespace

TEST(ExpandedFrameLayout, SmallTextWindowPiecesSitByTheTable) {
    const ExpandedFrame frame = LayoutExpandedFrame(kTextFrame, {465, 250});
    EXPECT_EQ(frame.PPodstawaBig, (FrameRect{0, 0, 465, 250}));
    EXPECT_EQ(frame.PLeftTop, (FrameRect{0, 0, 85, 200}));
    EXPECT_EQ(frame.PLeftMidlle, (FrameRect{0, 160, 85, 65}));
    EXPECT_EQ(frame.PLeftBottom, (FrameRect{0, 221, 85, 30}));
    EXPECT_EQ(frame.PTop, (FrameRect{85, 0, 350, 40}));
    EXPECT_EQ(frame.LListwaTop, (FrameRect{0, 5, 340, 17}));
    EXPECT_EQ(frame.PRightTop, (FrameRect{435, 0, 30, 40}));
    EXPECT_EQ(frame.LZwinOkno, (FrameRect{5, 5, 18, 17}));
    EXPECT_EQ(frame.PRightMidlle, (FrameRect{435, 40, 30, 185}));
    EXPECT_EQ(frame.PBottom, (FrameRect{85, 221, 350, 30}));
    EXPECT_EQ(frame.PRightBottom, (FrameRect{435, 221, 30, 30}));
    EXPECT_EQ(frame.PCentrum, (FrameRect{85, 40, 350, 190}));
}

TEST(ExpandedFrameLayout, SmallPictureWindowPiecesSitByTheTable) {
    const ExpandedFrame frame = LayoutExpandedFrame(kPictureFrame, {365, 200});
    EXPECT_EQ(frame.PLeftTop, (FrameRect{0, 0, 85, 160}));
    EXPECT_EQ(frame.PLeftMidlle, (FrameRect{0, 160, 85, 15}));
    EXPECT_EQ(frame.PLeftBottom, (FrameRect{0, 175, 85, 25}));
    EXPECT_EQ(frame.PBottom, (FrameRect{85, 175, 250, 25}));
    EXPECT_EQ(frame.PRightBottom, (FrameRect{335, 175, 30, 25}));
    EXPECT_EQ(frame.PRightMidlle, (FrameRect{335, 40, 30, 135}));
    // The centre of the small picture window.
    EXPECT_EQ(frame.PCentrum, (FrameRect{85, 40, 250, 135}));
}

TEST(ExpandedFrameLayout, EveryPieceStaysInsideTheWindow) {
    for (const FrameMetrics& metrics : {kTextFrame, kPictureFrame}) {
        for (const FrameSize window :
             {FrameSize{365, 200}, FrameSize{465, 250}, FrameSize{521, 371}, FrameSize{1400, 900}}) {
            const ExpandedFrame f = LayoutExpandedFrame(metrics, window);
            ExpectInside(f.PLeftTop, window, "PLeftTop");
            ExpectInside(f.PLeftMidlle, window, "PLeftMidlle");
            ExpectInside(f.PLeftBottom, window, "PLeftBottom");
            ExpectInside(f.PTop, window, "PTop");
            ExpectInside(f.PRightTop, window, "PRightTop");
            ExpectInside(f.PRightMidlle, window, "PRightMidlle");
            ExpectInside(f.PBottom, window, "PBottom");
            ExpectInside(f.PRightBottom, window, "PRightBottom");
            ExpectInside(f.PCentrum, window, "PCentrum");
            // The sides and the bottom meet without a gap.
            EXPECT_GE(f.PLeftMidlle.Top + f.PLeftMidlle.Height, f.PLeftBottom.Top);
            EXPECT_GE(f.PRightMidlle.Top + f.PRightMidlle.Height, f.PRightBottom.Top);
        }
    }
}

TEST(ExpandedFrameLayout, EdgePicturesStretchToTheWindowOnlyOnceTheirPanelOutgrowsThem) {
    const ExpandedFrame small = LayoutExpandedFrame(kPictureFrame, {715, 525});
    EXPECT_EQ(small.PTop.Width, 600);
    EXPECT_EQ(small.ImTop, (FrameRect{0, 0, 600, 40}));
    EXPECT_EQ(small.ImBottom, (FrameRect{0, 0, 600, 25}));
    EXPECT_EQ(small.PLeftMidlle.Height, 340);
    EXPECT_EQ(small.ImLeftMidlle, (FrameRect{0, 0, 85, 500}));
    EXPECT_EQ(small.PRightMidlle.Height, 460);
    EXPECT_EQ(small.ImRightMidlle, (FrameRect{0, 0, 30, 500}));

    const ExpandedFrame large = LayoutExpandedFrame(kPictureFrame, {716, 566});
    EXPECT_EQ(large.ImTop, (FrameRect{0, 0, 716, 40}));
    EXPECT_EQ(large.ImBottom, (FrameRect{0, 0, 716, 25}));
    EXPECT_EQ(large.ImRightMidlle, (FrameRect{0, 0, 30, 566}));
    EXPECT_EQ(large.ImLeftMidlle, (FrameRect{0, 0, 85, 500}));
}

TEST(ExpandedFrameLayout, TinyWindowGivesNoNegativeSizes) {
    const ExpandedFrame frame = LayoutExpandedFrame(kTextFrame, {50, 20});
    EXPECT_EQ(frame.PTop.Width, 0);
    EXPECT_EQ(frame.LListwaTop.Width, 0);
    EXPECT_EQ(frame.PLeftMidlle.Height, 0);
    EXPECT_EQ(frame.PRightMidlle.Height, 0);
    EXPECT_EQ(frame.PCentrum.Height, 0);
}

TEST(CollapsedFrameLayout, BarFollowsTheWindowWidth) {
    const CollapsedFrame bar = LayoutCollapsedFrame(465, kTextFrame);
    EXPECT_EQ(bar.PZwiniete, (FrameRect{0, 0, 465, 26}));
    EXPECT_EQ(bar.PLeft, (FrameRect{0, 0, 85, 26}));
    EXPECT_EQ(bar.PMidlle, (FrameRect{85, 0, 350, 26}));
    EXPECT_EQ(bar.ImMidlle, (FrameRect{0, 0, 600, 26}));
    EXPECT_EQ(bar.LListwaNaListwie, (FrameRect{0, 3, 340, 17}));
    EXPECT_EQ(bar.PRight, (FrameRect{435, 0, 30, 26}));
    EXPECT_EQ(bar.LRozwinOkno, (FrameRect{5, 5, 18, 17}));

    const CollapsedFrame wide = LayoutCollapsedFrame(1000, kPictureFrame);
    EXPECT_EQ(wide.PMidlle.Width, 885);
    EXPECT_EQ(wide.ImMidlle.Width, 1000);
    EXPECT_EQ(wide.LListwaNaListwie, (FrameRect{0, 3, 875, 22}));
    EXPECT_EQ(wide.PRight.Left, 970);
}

TEST(FrameOutline, CornersAreCutByFourPixels) {
    const std::vector<FramePoint> expanded = CutCornerOutline({465, 250});
    const std::vector<FramePoint> expected{{461, 0}, {465, 4}, {465, 246}, {461, 250}, {4, 250},
                                           {0, 246}, {0, 4},   {4, 0},     {461, 0}};
    EXPECT_EQ(expanded, expected);
    const std::vector<FramePoint> bar = CutCornerOutline({365, 26});
    EXPECT_EQ(bar[2], (FramePoint{365, 22}));
    EXPECT_EQ(bar.front(), bar.back());
}
