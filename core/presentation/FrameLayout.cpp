#include "core/presentation/FrameLayout.h"

#include <algorithm>

namespace {

constexpr int kCornerCut = 4;
constexpr int kLeftSideTop = 160;
// Both side edges end this far above the window's bottom.
constexpr int kSideBottomGap = 25;
constexpr FrameRect kSpot{5, 5, 18, 17};

// A stretched picture is as long as its art, or as long as the window once its
// panel outgrows the art.
int StretchedLength(int panelLength, int artLength, int windowLength) {
    return panelLength > artLength ? windowLength : artLength;
}

int NotNegative(int length) { return std::max(length, 0); }

} // namespace

ExpandedFrame LayoutExpandedFrame(const FrameMetrics& metrics, FrameSize window) {
    const int w = window.Width;
    const int h = window.Height;
    const int spanWidth = NotNegative(w - kFrameLeftWidth - kFrameRightWidth);
    const int rightSideHeight = NotNegative(h - kFrameTopHeight - kSideBottomGap);
    const int leftSideHeight = NotNegative(h - kLeftSideTop - kSideBottomGap);
    const int bottomTop = h - metrics.BottomRise;
    const int rightLeft = w - kFrameRightWidth;

    ExpandedFrame frame;
    frame.PPodstawaBig = {0, 0, w, h};
    frame.PLeftTop = {0, 0, kFrameLeftWidth, metrics.LeftTopHeight};
    frame.PLeftMidlle = {0, kLeftSideTop, kFrameLeftWidth, leftSideHeight};
    frame.ImLeftMidlle = {0, 0, kFrameLeftWidth, StretchedLength(leftSideHeight, kSideArtHeight, h)};
    frame.PLeftBottom = {0, bottomTop, kFrameLeftWidth, metrics.BottomHeight};
    frame.PTop = {kFrameLeftWidth, 0, spanWidth, kFrameTopHeight};
    frame.ImTop = {0, 0, StretchedLength(spanWidth, kSpanArtWidth, w), kFrameTopHeight};
    frame.LListwaTop = {0, 5, NotNegative(spanWidth - 10), 17};
    frame.PRightTop = {rightLeft, 0, kFrameRightWidth, kFrameTopHeight};
    frame.LZwinOkno = kSpot;
    frame.PRightMidlle = {rightLeft, kFrameTopHeight, kFrameRightWidth, rightSideHeight};
    frame.ImRightMidlle = {0, 0, kFrameRightWidth, StretchedLength(rightSideHeight, kSideArtHeight, h)};
    frame.PBottom = {kFrameLeftWidth, bottomTop, spanWidth, metrics.BottomHeight};
    frame.ImBottom = {0, 0, StretchedLength(spanWidth, kSpanArtWidth, w), metrics.BottomHeight};
    frame.PRightBottom = {rightLeft, bottomTop, kFrameRightWidth, metrics.BottomHeight};
    frame.PCentrum = {kFrameLeftWidth, kFrameTopHeight, spanWidth, NotNegative(h - metrics.CentreInset)};
    return frame;
}

CollapsedFrame LayoutCollapsedFrame(int width, const FrameMetrics& metrics) {
    const int middleWidth = NotNegative(width - kFrameLeftWidth - kFrameRightWidth);
    CollapsedFrame bar;
    bar.PZwiniete = {0, 0, width, kBarHeight};
    bar.PLeft = {0, 0, kFrameLeftWidth, kBarHeight};
    bar.PMidlle = {kFrameLeftWidth, 0, middleWidth, kBarHeight};
    bar.ImMidlle = {0, 0, StretchedLength(middleWidth, kSpanArtWidth, width), kBarHeight};
    bar.LListwaNaListwie = {0, 3, NotNegative(middleWidth - 10), metrics.BarStripHeight};
    bar.PRight = {width - kFrameRightWidth, 0, kFrameRightWidth, kBarHeight};
    bar.LRozwinOkno = kSpot;
    return bar;
}

std::vector<FramePoint> CutCornerOutline(FrameSize window) {
    const int w = window.Width;
    const int b = window.Height;
    const int c = kCornerCut;
    return {{w - c, 0}, {w, c}, {w, b - c}, {w - c, b}, {c, b}, {0, b - c}, {0, c}, {c, 0}, {w - c, 0}};
}
