#include "core/session/RunReview.h"

#include "core/base/CodePage.h"

#include <gtest/gtest.h>

namespace {

ReviewEntry Entry(std::int32_t number, std::string text, std::vector<ReviewAnswer> answers, std::string hint = "") {
    return {.Number = number, .QuestionText = std::move(text), .Answers = std::move(answers), .Hint = std::move(hint)};
}

TEST(RunReview, EntryListsTheAnswersInTheOrderShown) {
    QuestionRecord question;
    question.QuestionText = Utf8ToAnsi("Stolica Polski?");
    question.AnswerCount = 3;
    question.Hint = "nad Wisla";
    const char* texts[] = {"Krakow", "Warszawa", "Gdansk"};
    const int positions[] = {3, 1, 2};
    for (int k = 1; k <= 3; ++k)
        question.Answer(k) = {texts[k - 1], k == 2, k == 3, positions[k - 1]};
    const ReviewEntry entry = MakeReviewEntry(question, 4);
    EXPECT_EQ(entry.Number, 4);
    EXPECT_EQ(entry.Hint, "nad Wisla");
    ASSERT_EQ(entry.Answers.size(), 3u);
    EXPECT_EQ(entry.Answers[0].Letter, 'A');
    EXPECT_EQ(entry.Answers[0].Text, "Warszawa");
    EXPECT_TRUE(entry.Answers[0].Right);
    EXPECT_EQ(entry.Answers[1].Text, "Gdansk");
    EXPECT_TRUE(entry.Answers[1].Chosen);
    EXPECT_EQ(entry.Answers[2].Letter, 'C');
    EXPECT_EQ(entry.Answers[2].Text, "Krakow");
}

TEST(RunReview, OneBlockPerQuestionWithLettersAndHint) {
    const std::vector<ReviewEntry> mistakes = {
        Entry(3, Utf8ToAnsi("Ile to 2 + 2?\r\nPodaj liczbę."),
              {{'A', "4", false, true}, {'B', "5", true, false}, {'C', "22", false, false}},
              Utf8ToAnsi("Policz na palcach.")),
        Entry(7, "Liczby parzyste?", {{'A', "2", false, true}, {'B', "3", true, false}, {'C', "4", true, true}}),
    };
    EXPECT_EQ(RunReviewText(mistakes), u"Pytanie 3: Ile to 2 + 2?\nPodaj liczbę.\n"
                                       u"A. 4\nB. 5\nC. 22\n"
                                       u"Twoja odpowiedź: B\n"
                                       u"Poprawna odpowiedź: A\n"
                                       u"Podpowiedź: Policz na palcach.\n"
                                       u"\n"
                                       u"Pytanie 7: Liczby parzyste?\n"
                                       u"A. 2\nB. 3\nC. 4\n"
                                       u"Twoje odpowiedzi: B, C\n"
                                       u"Poprawne odpowiedzi: A, C");
}

TEST(RunReview, ARunWithoutMistakesSaysSo) {
    EXPECT_EQ(RunReviewText({}), u"Wszystkie pytania zostały rozwiązane dobrze za pierwszym razem.");
}

} // namespace
