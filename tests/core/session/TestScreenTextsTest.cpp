#include "core/session/TestScreenTexts.h"

#include <gtest/gtest.h>

namespace {

// Answers by number with the display position each is shown at; `key` marks the right
// ones and `chosen` the learner's, both by answer number.
QuestionRecord Judged(const std::string& positions, const std::string& key, const std::string& chosen) {
    QuestionRecord question;
    question.AnswerCount = static_cast<int>(positions.size());
    question.QuestionType = 2;
    for (int k = 1; k <= question.AnswerCount; ++k) {
        AnswerSlot& slot = question.Answer(k);
        slot.Position = positions[static_cast<std::size_t>(k - 1)] - '0';
        slot.Correct = key[static_cast<std::size_t>(k - 1)] == '1';
        slot.Selected = chosen[static_cast<std::size_t>(k - 1)] == '1';
    }
    return question;
}

// `marks` per question: '.' unchecked, '+' right at the last check, '-' wrong.
std::vector<QuestionProgress> Marks(const std::string& marks) {
    std::vector<QuestionProgress> progress;
    for (char mark : marks)
        progress.push_back({mark != '.', mark == '+'});
    return progress;
}

} // namespace

TEST(VerdictText, RightAnswersSayWellDone) {
    EXPECT_EQ(VerdictText(Judged("312", "010", "010")), u"Dobrze!");
    EXPECT_EQ(VerdictText(Judged("4123", "1010", "1010")), u"Dobrze!");
}

TEST(VerdictText, WrongAnswersNameTheRightLettersAsShown) {
    // Answer 2 is right and shown third: C, whatever was chosen.
    EXPECT_EQ(VerdictText(Judged("132", "010", "100")), u"Źle. Poprawna odpowiedź: C");
    // Right answers 1 and 4 shown at positions 5 and 1: in screen order A, E.
    EXPECT_EQ(VerdictText(Judged("52314", "10010", "10000")), u"Źle. Poprawne odpowiedzi: A, E");
    EXPECT_EQ(VerdictText(Judged("1234", "1111", "1110")), u"Źle. Poprawne odpowiedzi: A, B, C, D");
}

TEST(VerdictText, KeyWithoutARightAnswer) {
    EXPECT_EQ(VerdictText(Judged("213", "000", "100")), u"Źle. Żadna odpowiedź nie jest poprawna.");
}

TEST(ProgressText, FirstPassCountsTheQuestionsOfTheSet) {
    EXPECT_EQ(ProgressText(Marks("............."), 0, 0), u"Pytanie 1 z 13");
    EXPECT_EQ(ProgressText(Marks("+-+-........."), 4, 2), u"Pytanie 5 z 13");
    EXPECT_EQ(ProgressText(Marks("++-+-+-+-+-+."), 12, 7), u"Pytanie 13 z 13");
}

TEST(ProgressText, RepeatPassCountsTheQuestionsMissedTheFirstTime) {
    // Four missed: 1, 3, 4 and 6 (by index); the pass takes them in turn.
    EXPECT_EQ(ProgressText(Marks("+-+--+-"), 1, 3), u"Powtórka: 1 z 4");
    // Also when question 3 comes back after being missed again.
    EXPECT_EQ(ProgressText(Marks("+++--+-"), 3, 3), u"Powtórka: 2 z 4");
    EXPECT_EQ(ProgressText(Marks("++++++-"), 6, 3), u"Powtórka: 4 z 4");
}

TEST(ProgressText, IndexOutsideTheRunOrInconsistentCounts) {
    EXPECT_EQ(ProgressText(Marks("..."), -1, 0), u"");
    EXPECT_EQ(ProgressText(Marks("..."), 3, 0), u"");
    EXPECT_EQ(ProgressText({}, 0, 0), u"");
    // Counts that disagree with the marks still give a number within the pass.
    EXPECT_EQ(ProgressText(Marks("--"), 0, 5), u"Powtórka: 1 z 1");
    EXPECT_EQ(ProgressText(Marks("+-"), 1, 0), u"Powtórka: 2 z 2");
}
