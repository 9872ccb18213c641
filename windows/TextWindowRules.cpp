#include "windows/TextWindowRules.h"

#include <algorithm>

TextCentre LayoutTextCentre(int windowHeight) {
    TextCentre centre;
    centre.PPodTxt = {0, 0, 329, std::max(windowHeight - 65, 0)};
    centre.Mtekst = {3, 4, 343, std::max(centre.PPodTxt.Height - 5, 0)};
    centre.PPodListwe = {332, 0, 16, std::max(centre.Mtekst.Height - 10, 0)};
    return centre;
}

int SteppedFontSize(int size, int step) { return std::clamp(size + step, kMinTextFontSize, kMaxTextFontSize); }

FontButtons FontButtonsFor(int size) { return {size > kMinTextFontSize, size < kMaxTextFontSize}; }

int LinesThatFit(int holderHeight, int lineHeight) {
    if (lineHeight <= 0)
        return 0;
    return std::max(holderHeight, 0) / lineHeight;
}

TextScrollBar FitTextScrollBar(int lineCount, int linesThatFit) {
    if (linesThatFit >= lineCount)
        return {};
    return {true, lineCount - linesThatFit, linesThatFit - 1, linesThatFit - 2, kTextWheelStepMax};
}
