#include "core/presentation/TestScreenRules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace {

// The screen font's glyphs (Liberation Sans, which the package installs), in 1/64 pixel:
// the advance, and the ink past it that a line's last glyph needs room for.
struct Glyph {
    int Advance;
    int Overhang;
};
constexpr std::array<Glyph, 256> kGlyphs{{
#include "core/presentation/ScreenFontWidths.inc"
}};
constexpr int kSubpixels = 64;

// Texts break lines only after spaces, and not where the line-breaking rules of
// Unicode keep the words on both sides together: after an opening bracket or quote,
// before a closing one or a punctuation mark, between two em dashes.
constexpr std::string_view kOpening = "([{\x82\x84\x91\x93\xAB";
constexpr std::string_view kClosing = ")]}!?,.:;/\x92\x94\xBB";
constexpr char kEmDash = '\x97';

bool BreakAllowed(char before, char after) {
    return kOpening.find(before) == std::string_view::npos && kClosing.find(after) == std::string_view::npos &&
           !(before == kEmDash && after == kEmDash);
}

int Width(std::string_view text) {
    int width = 0;
    for (char c : text)
        width += kGlyphs[static_cast<unsigned char>(c)].Advance;
    return width;
}

int Overhang(char last) { return kGlyphs[static_cast<unsigned char>(last)].Overhang; }

// The end of the words that must stay on one line with the one that starts at `at`.
std::size_t UnbreakableEnd(std::string_view paragraph, std::size_t at) {
    while (true) {
        const std::size_t end = std::min(paragraph.find(' ', at), paragraph.size());
        const std::size_t next = paragraph.find_first_not_of(' ', end);
        if (next == std::string_view::npos || BreakAllowed(paragraph[end - 1], paragraph[next]))
            return end;
        at = next;
    }
}

// Lines of one paragraph as the label fills them, word by word; none when a word
// runs past the label's edge (the label doesn't break inside words).
std::optional<int> ParagraphLines(std::string_view paragraph, int width) {
    int lines = 1;
    int used = 0;        // up to the line's last word; spaces at a line's end take no room
    std::size_t end = 0; // of the words placed last
    for (std::size_t at = paragraph.find_first_not_of(' '); at != std::string_view::npos;
         at = paragraph.find_first_not_of(' ', end)) {
        const std::size_t wordsEnd = UnbreakableEnd(paragraph, at);
        // The spaces before; those that open the paragraph stay with its first words.
        const int spaces = Width(paragraph.substr(end, at - end));
        const int words = Width(paragraph.substr(at, wordsEnd - at)) + Overhang(paragraph[wordsEnd - 1]);
        if (end == 0 || used + spaces + words <= width) {
            used += spaces + words;
        } else {
            ++lines;
            used = words;
        }
        if (used > width)
            return std::nullopt;
        used -= Overhang(paragraph[wordsEnd - 1]);
        end = wordsEnd;
    }
    return lines;
}

} // namespace

bool CutOffOnScreen(std::string_view text, LabelSize label) {
    const int shown = (label.Height + 2 * kReadableEdgeLoss) / kScreenLineSpacing;
    int lines = 0;
    for (std::size_t at = 0;;) {
        // Both line ends, and the vertical tab and form feed the label also breaks at.
        const std::size_t end = text.find_first_of("\r\n\v\f", at);
        const auto paragraph =
            ParagraphLines(text.substr(at, end == std::string_view::npos ? end : end - at), label.Width * kSubpixels);
        if (!paragraph || (lines += *paragraph) > shown)
            return true;
        if (end == std::string_view::npos)
            return false;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}
