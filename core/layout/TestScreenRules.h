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
// Line spacing of that font; a line cut in half still reads.
inline constexpr int kScreenLineSpacing = 13;

// The fewest lines a Windows-1250 text can take in a label `width` pixels wide: words
// wrapped with each character at most as wide as the font draws it, so a text said
// to need more lines than the label shows is surely cut off on screen.
int LeastLines(std::string_view text, int width);
bool SurelyCutOff(std::string_view text, LabelSize label);
