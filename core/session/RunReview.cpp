#include "core/session/RunReview.h"

#include "core/base/CodePage.h"

namespace {

// Question files break lines with CR LF or a lone CR; the review breaks them with LF.
std::u16string PlainLines(std::string_view ansi) {
    std::u16string text;
    const std::u16string wide = AnsiToWide(ansi);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] != u'\r')
            text += wide[i];
        else if (i + 1 >= wide.size() || wide[i + 1] != u'\n')
            text += u'\n';
    }
    return text;
}

// "Twoja odpowiedź: B" or "Poprawne odpowiedzi: A, C": the letters of the answers with the flag.
std::u16string LettersLine(const ReviewEntry& entry, bool ReviewAnswer::*flag, std::u16string_view one,
                           std::u16string_view several) {
    std::u16string letters;
    int count = 0;
    for (const ReviewAnswer& answer : entry.Answers) {
        if (!(answer.*flag))
            continue;
        if (count++ > 0)
            letters += u", ";
        letters += static_cast<char16_t>(answer.Letter);
    }
    return std::u16string(count > 1 ? several : one) + letters;
}

std::u16string Block(const ReviewEntry& entry) {
    std::u16string block = u"Pytanie " + Decimal(entry.Number) + u": " + PlainLines(entry.QuestionText);
    for (const ReviewAnswer& answer : entry.Answers)
        block += u"\n" + std::u16string(1, static_cast<char16_t>(answer.Letter)) + u". " + PlainLines(answer.Text);
    block += u"\n" + LettersLine(entry, &ReviewAnswer::Chosen, u"Twoja odpowiedź: ", u"Twoje odpowiedzi: ");
    block += u"\n" + LettersLine(entry, &ReviewAnswer::Right, u"Poprawna odpowiedź: ", u"Poprawne odpowiedzi: ");
    if (!entry.Hint.empty())
        block += u"\nPodpowiedź: " + PlainLines(entry.Hint);
    return block;
}

} // namespace

ReviewEntry MakeReviewEntry(const QuestionRecord& question, std::int32_t number) {
    ReviewEntry entry{.Number = number, .QuestionText = question.QuestionText, .Answers = {}, .Hint = question.Hint};
    for (int position = 1; position <= question.AnswerCount; ++position) {
        const int answer = AnswerAtPosition(question, position);
        if (answer < 1)
            continue;
        const AnswerSlot& slot = question.Answer(answer);
        entry.Answers.push_back({static_cast<char>('A' + position - 1), slot.Text, slot.Selected, slot.Correct});
    }
    return entry;
}

std::u16string RunReviewText(const std::vector<ReviewEntry>& mistakes) {
    if (mistakes.empty())
        return u"Wszystkie pytania zostały rozwiązane dobrze za pierwszym razem.";
    std::u16string text;
    for (const ReviewEntry& entry : mistakes) {
        if (!text.empty())
            text += u"\n\n";
        text += Block(entry);
    }
    return text;
}
