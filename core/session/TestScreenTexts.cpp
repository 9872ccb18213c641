#include "core/session/TestScreenTexts.h"

#include "core/base/CodePage.h"

#include <algorithm>

namespace {

std::u16string RightLetters(const QuestionRecord& question) {
    std::u16string letters;
    for (int p = 1; p <= question.AnswerCount; ++p) {
        const int answer = AnswerAtPosition(question, p);
        if (answer < 1 || !question.Answer(answer).Correct)
            continue;
        if (!letters.empty())
            letters += u", ";
        letters += static_cast<char16_t>(u'A' + p - 1);
    }
    return letters;
}

} // namespace

std::u16string VerdictText(const QuestionRecord& question) {
    if (AllAnswersRight(question))
        return u"Dobrze!";
    const std::u16string letters = RightLetters(question);
    if (letters.empty())
        return u"Źle. Żadna odpowiedź nie jest poprawna.";
    if (letters.size() == 1)
        return u"Źle. Poprawna odpowiedź: " + letters;
    return u"Źle. Poprawne odpowiedzi: " + letters;
}

std::u16string ProgressText(const std::vector<QuestionProgress>& progress, std::int32_t current,
                            std::int32_t firstTimeRight) {
    if (current < 0 || static_cast<std::size_t>(current) >= progress.size())
        return {};
    const auto total = static_cast<std::int64_t>(progress.size());
    // A question not yet checked belongs to the first pass, which goes once through the set.
    if (!progress[static_cast<std::size_t>(current)].Answered) {
        const auto answered =
            std::count_if(progress.begin(), progress.end(), [](const QuestionProgress& q) { return q.Answered; });
        return u"Pytanie " + Decimal(answered + 1) + u" z " + Decimal(total);
    }
    // The repeat pass takes the missed questions in turn, each until it is right.
    const std::int64_t missed = std::max<std::int64_t>(total - firstTimeRight, 1);
    const auto stillWrong = std::count_if(progress.begin(), progress.end(),
                                          [](const QuestionProgress& q) { return q.Answered && !q.AnsweredRight; });
    const std::int64_t repeat = std::clamp<std::int64_t>(missed - stillWrong + 1, 1, missed);
    return u"Powtórka: " + Decimal(repeat) + u" z " + Decimal(missed);
}
