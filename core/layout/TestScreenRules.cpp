#include "core/layout/TestScreenRules.h"

#include <string>

namespace {

// Below the narrowest of the fonts the program substitutes (Liberation Sans, DejaVu Sans) at 11 pixels.
int LeastWidth(char c) {
    static const std::string_view narrow = "ijl|!.,:;'`";
    static const std::string_view thin = "ftrI()[]-\" ";
    static const std::string_view wide = "mwMW";
    if (narrow.find(c) != std::string_view::npos)
        return 2;
    if (thin.find(c) != std::string_view::npos)
        return 3;
    if (wide.find(c) != std::string_view::npos)
        return 8;
    return c >= 'A' && c <= 'Z' ? 6 : 5;
}

int WordWidth(std::string_view word) {
    int width = 0;
    for (char c : word)
        width += LeastWidth(c);
    return width;
}

// Lines of one paragraph: words move to the next line when they don't fit; a word
// wider than the label breaks at the label's edge.
int ParagraphLines(std::string_view paragraph, int width) {
    int lines = 1;
    int used = 0;
    const int space = LeastWidth(' ');
    for (std::size_t at = 0; at <= paragraph.size();) {
        std::size_t end = paragraph.find(' ', at);
        if (end == std::string_view::npos)
            end = paragraph.size();
        if (end == at) { // a space at an end or beside another wraps nothing
            at = end + 1;
            continue;
        }
        int word = WordWidth(paragraph.substr(at, end - at));
        if (used > 0 && used + space + word > width) {
            ++lines;
            used = 0;
        } else if (used > 0) {
            used += space;
        }
        for (; word > width; word -= width)
            ++lines;
        used += word;
        at = end + 1;
    }
    return lines;
}

} // namespace

int LeastLines(std::string_view text, int width) {
    int lines = 0;
    std::size_t at = 0;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n", at);
        lines += ParagraphLines(text.substr(at, end == std::string_view::npos ? end : end - at), width);
        if (end == std::string_view::npos)
            return lines;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

bool SurelyCutOff(std::string_view text, LabelSize label) {
    const int shown = (label.Height + kScreenLineSpacing / 2) / kScreenLineSpacing;
    return LeastLines(text, label.Width) > shown;
}
