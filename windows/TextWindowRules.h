#pragma once

#include "windows/FrameLayout.h"

// The text window's sizes, its centre and its scroll bar, apart from the widgets.

inline constexpr int kTextWindowWidth = 465;
inline constexpr int kMinTextWindowHeight = 250;
inline constexpr int kDefaultTextFontSize = 9;
inline constexpr int kMinTextFontSize = 8;
inline constexpr int kMaxTextFontSize = 11;
inline constexpr int kTextWheelStepMax = 5;

// Inside PCentrum: the white holder of the text, the text box (wider than its
// holder, so that its own scroll bar lies out of sight) and the holder of ListwaV.
struct TextCentre {
    FrameRect PPodTxt, Mtekst, PPodListwe;
};
TextCentre LayoutTextCentre(int windowHeight);

// The font size one step smaller (step -1) or larger (+1), kept within 8..11.
int SteppedFontSize(int size, int step);
// Which of the two font-size buttons a size leaves working.
struct FontButtons {
    bool Smaller = false;
    bool Larger = false;
    friend bool operator==(const FontButtons&, const FontButtons&) = default;
};
FontButtons FontButtonsFor(int size);

// Whole lines of the given height in the holder; none for a line of no height.
int LinesThatFit(int holderHeight, int lineHeight);

// ListwaV for a text of lineCount displayed lines: hidden while everything fits.
struct TextScrollBar {
    bool Shown = false;
    int Max = 0;
    int LargeChange = 0;
    int SmallChange = 0;
    int SmallChangeMax = 0;
    friend bool operator==(const TextScrollBar&, const TextScrollBar&) = default;
};
TextScrollBar FitTextScrollBar(int lineCount, int linesThatFit);
