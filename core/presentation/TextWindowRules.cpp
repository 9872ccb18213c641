#include "core/presentation/TextWindowRules.h"

#include "core/base/CodePage.h"

#include <algorithm>

namespace {

constexpr std::int64_t kTabWork = 5;
constexpr std::int64_t kControlWork = 3;
// Each character of a run without a space costs one more for every kRunScanShare
// before it in the run.
constexpr std::int64_t kRunScanShare = 250;

// A tab widens to the next stop and a control character is drawn as a glyph of its
// own: Qt spends several times a letter's work on either.
std::int64_t ByteWork(char byte) {
    if (byte == '\t')
        return kTabWork;
    const char16_t c = AnsiCharToWide(static_cast<unsigned char>(byte));
    return c < u' ' || (c >= 0x7F && c < 0xA0) ? kControlWork : 1;
}

// How many of the line's bytes fit into what is left of the budget, added to work.
std::size_t BytesWithinBudget(std::string_view line, std::int64_t& work) {
    std::int64_t run = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        run = line[i] == ' ' || line[i] == '\t' ? 0 : run + 1;
        const std::int64_t cost = ByteWork(line[i]) + run / kRunScanShare;
        if (work + cost > kShownTextMaxWork)
            return i;
        work += cost;
    }
    return line.size();
}

} // namespace

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

ShownText ShownPartOf(const std::vector<std::string>& lines) {
    ShownText shown;
    std::int64_t work = 0;
    for (const std::string& line : lines) {
        work += kShownLineWork;
        if (work > kShownTextMaxWork) {
            shown.Cut = true;
            break;
        }
        const std::size_t bytes = BytesWithinBudget(line, work);
        if (bytes > 0 || line.empty())
            shown.Lines.push_back(std::string_view(line).substr(0, bytes));
        if (bytes < line.size()) {
            shown.Cut = true;
            break;
        }
    }
    return shown;
}
