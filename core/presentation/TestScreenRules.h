#pragma once

#include <string_view>

// The test screen's text labels: one 11-pixel font, word wrap, vertically centred;
// what doesn't fit is cut off.
struct LabelSize {
    int Width;
    int Height;
};
inline constexpr LabelSize kQuestionLabel{441, 61};
inline constexpr LabelSize kAnswerLabel{353, 25};
inline constexpr LabelSize kHintLabel{329, 30};
inline constexpr int kScreenFontPixels = 11;
// Line spacing of that font as the labels lay it out.
inline constexpr int kScreenLineSpacing = 13;
// A centred text a little taller than its label loses this much at its top and at its
// bottom: accent dots and the tips of descenders, and the lines still read.
inline constexpr int kReadableEdgeLoss = 2;

// Whether a Windows-1250 text may lose a line or a word's end on screen. The estimate
// wraps as the label does, with the font's own widths and without kerning, and breaks
// lines only where the label surely may, so it never calls a cut text whole.
bool CutOffOnScreen(std::string_view text, LabelSize label);
