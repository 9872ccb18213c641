#include "tools/skq/formats/PlainFormats.h"

#include "tools/skq/i18n/Translation.h"

#include <algorithm>

namespace skq {

std::string MarkRightLetters(std::string_view letters, SourceQuestion& question) {
    std::vector<bool> right(question.Answers.size(), false);
    for (const char c : letters) {
        if (c == ' ' || c == '\t' || c == ',' || c == ';')
            continue;
        const char letter = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (letter < 'A' || letter > 'Z')
            return Tr("the right answer is not written as letters such as B or A, C");
        const std::size_t index = static_cast<std::size_t>(letter - 'A');
        if (index >= right.size())
            return Format(Tr("the right answer {1} names no answer"), std::string(1, letter));
        right[index] = true;
    }
    const auto marked = std::count(right.begin(), right.end(), true);
    if (marked == 0)
        return Tr("no right answer given");
    question.Right = std::move(right);
    question.SeveralRight = marked > 1;
    return {};
}

} // namespace skq
