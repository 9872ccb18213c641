#pragma once

#include <vector>

// The picture frame the text and the picture window share: edge and corner pieces
// around a white centre, a title strip and a collapse spot, and the 26-pixel bar the
// window folds up to. Positions are in pixels inside each piece's parent.

struct FrameRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

struct FramePoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const FramePoint&, const FramePoint&) = default;
};

struct FrameSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// Where the two frames differ.
struct FrameMetrics {
    int LeftTopHeight;  // the top-left piece that carries the tools
    int BottomHeight;   // the bottom edge and its corners
    int BottomRise;     // the bottom pieces start this far above the window's bottom
    int CentreInset;    // the white centre is this much shorter than the window
    int BarStripHeight; // the title strip of the folded bar
};
inline constexpr FrameMetrics kTextFrame{200, 30, 29, 60, 17};
inline constexpr FrameMetrics kPictureFrame{160, 25, 25, 65, 22};

inline constexpr int kFrameLeftWidth = 85;
inline constexpr int kFrameRightWidth = 30;
inline constexpr int kFrameTopHeight = 40;
inline constexpr int kBarHeight = 26;
// The stretched edge pictures: sides 500 tall, top, bottom and bar middle 600 wide.
inline constexpr int kSideArtHeight = 500;
inline constexpr int kSpanArtWidth = 600;

struct ExpandedFrame {
    FrameRect PPodstawaBig, PLeftTop, PLeftMidlle, ImLeftMidlle, PLeftBottom, PTop, ImTop, LListwaTop, PRightTop,
        LZwinOkno, PRightMidlle, ImRightMidlle, PBottom, ImBottom, PRightBottom, PCentrum;
};

struct CollapsedFrame {
    FrameRect PZwiniete, PLeft, PMidlle, ImMidlle, LListwaNaListwie, PRight, LRozwinOkno;
};

ExpandedFrame LayoutExpandedFrame(const FrameMetrics& metrics, FrameSize window);
CollapsedFrame LayoutCollapsedFrame(int width, const FrameMetrics& metrics);

// The window's visible outline, closed: a rectangle whose corners are cut off by
// 4 pixels, to be filled in alternate mode.
std::vector<FramePoint> CutCornerOutline(FrameSize window);
