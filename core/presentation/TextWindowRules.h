#pragma once

#include "core/presentation/FrameLayout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text window's sizes, its centre and its scroll bar, apart from the widgets.

inline constexpr int kTextWindowWidth = 465;
inline constexpr int kMinTextWindowHeight = 250;
inline constexpr int kDefaultTextFontSize = 9;
inline constexpr int kMinTextFontSize = 8;
inline constexpr int kMaxTextFontSize = 11;
inline constexpr int kTextWheelStepMax = 5;

// Inside PCentrum: the white holder of the text, the text box (wider than its
// holder, so that its own scroll bar lies out of sight) and the holder of ScrollBar.
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

// ScrollBar for a text of lineCount displayed lines: hidden while everything fits.
struct TextScrollBar {
    bool Shown = false;
    int Max = 0;
    int LargeChange = 0;
    int SmallChange = 0;
    int SmallChangeMax = 0;
    friend bool operator==(const TextScrollBar&, const TextScrollBar&) = default;
};
TextScrollBar FitTextScrollBar(int lineCount, int linesThatFit);

// How much of an attached text the window lays out, as work in plain characters:
// wrapping costs Qt time for every character and every line, and in a run without a
// space it looks for a break up to the run's end once per displayed line, so a long
// run costs with the square of its length. The budget covers any real text whole
// (80 KB of prose, 2,000 short lines, a run of 6,000 characters) and keeps showing
// it well within a tenth of a second; beyond it the text is cut and the window says so.
inline constexpr std::int64_t kShownTextMaxWork = 80'000;
// A line costs as much as this many characters.
inline constexpr std::int64_t kShownLineWork = 32;
// The last line of a cut text.
inline constexpr std::u16string_view kCutTextMark = u"[…] Dalsza część tekstu została pominięta.";

// The beginning of a text that the window shows: views of its lines, the last one
// perhaps shortened; Cut when anything was left out.
struct ShownText {
    std::vector<std::string_view> Lines;
    bool Cut = false;
};
ShownText ShownPartOf(const std::vector<std::string>& lines);
// The views point into the lines, which must outlive them.
ShownText ShownPartOf(const std::vector<std::string>&& lines) = delete;
