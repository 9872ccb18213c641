#include "core/session/QuestionRecord.h"

#include "core/base/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

QuestionRecord Question(int answerCount, std::string key, int type = 0) {
    QuestionRecord question;
    ResetQuestionRecord(question);
    question.AnswerCount = answerCount;
    question.Key = std::move(key);
    question.QuestionType = type;
    for (int k = 1; k <= 5; ++k)
        question.Answer(k).Text = "answer " + std::to_string(k);
    return question;
}

bool IsPermutation(const std::string& row) {
    std::string sorted = row;
    std::sort(sorted.begin(), sorted.end());
    return sorted == std::string("12345").substr(0, row.size());
}

std::map<std::string, int> CountDraws(int answerCount, int draws) {
    Random random(20261207);
    std::map<std::string, int> counts;
    for (int i = 0; i < draws; ++i)
        ++counts[PickAnswerOrder(answerCount, random)];
    return counts;
}

} // namespace

TEST(QuestionRecord, ResetRestoresDefaultsButKeepsPositionsAndDate) {
    QuestionRecord question = Question(5, "10101", 1);
    question.QuestionText = "q";
    question.Hint = "h";
    question.PictureName = "a.jpg";
    question.TextName = "a.txt";
    question.Date = "2026";
    question.Answer(4).Position = 4;
    question.Answer(4).Selected = question.Answer(4).Correct = true;
    ResetQuestionRecord(question);
    EXPECT_EQ(question.QuestionText, "");
    EXPECT_EQ(question.Key, "00000");
    EXPECT_EQ(question.AnswerCount, 3);
    EXPECT_EQ(question.QuestionType, 0);
    EXPECT_TRUE(question.Hint.empty() && question.PictureName.empty() && question.TextName.empty());
    EXPECT_TRUE(question.OrderRow.empty());
    EXPECT_EQ(question.Answer(1).Text, "");
    EXPECT_FALSE(question.Answer(4).Selected || question.Answer(4).Correct);
    EXPECT_EQ(question.Answer(4).Position, 4);
    EXPECT_EQ(question.Date, "2026");
}

TEST(QuestionRecord, KeyDecidesCorrectAnswersWhateverTheCount) {
    Random random;
    QuestionRecord three = Question(3, "01000");
    ASSERT_TRUE(SetUpAnswerOrder(three, random));
    EXPECT_FALSE(three.Answer(1).Correct);
    EXPECT_TRUE(three.Answer(2).Correct);
    EXPECT_FALSE(three.Answer(3).Correct);

    QuestionRecord shortKey = Question(4, "1");
    ASSERT_TRUE(SetUpAnswerOrder(shortKey, random));
    EXPECT_TRUE(shortKey.Answer(1).Correct);
    for (int k = 2; k <= 5; ++k)
        EXPECT_FALSE(shortKey.Answer(k).Correct);

    QuestionRecord otherCharacters = Question(3, "1x1");
    ASSERT_TRUE(SetUpAnswerOrder(otherCharacters, random));
    EXPECT_FALSE(otherCharacters.Answer(2).Correct);
    EXPECT_TRUE(otherCharacters.Answer(3).Correct);
}

TEST(QuestionRecord, EmptyKeyOrImpossibleCountFailsTheOrder) {
    Random random;
    for (auto [count, key] : {std::pair{3, ""}, {0, "1"}, {2, "1"}, {6, "1"}, {-1, "1"}}) {
        QuestionRecord question = Question(count, key);
        EXPECT_FALSE(SetUpAnswerOrder(question, random)) << count << " '" << key << "'";
        EXPECT_TRUE(question.OrderRow.empty());
    }
}

TEST(QuestionRecord, OrderRowPlacesEveryAnswerOnItsOwnPosition) {
    Random random(99);
    for (int count = 3; count <= 5; ++count) {
        for (int i = 0; i < 200; ++i) {
            QuestionRecord question = Question(count, "1");
            ASSERT_TRUE(SetUpAnswerOrder(question, random));
            ASSERT_EQ(question.OrderRow.size(), static_cast<std::size_t>(count));
            std::set<int> positions;
            for (int k = 1; k <= count; ++k) {
                EXPECT_EQ(question.Answer(k).Position, question.OrderRow[k - 1] - '0');
                positions.insert(question.Answer(k).Position);
            }
            EXPECT_EQ(positions.size(), static_cast<std::size_t>(count));
            for (int p = 1; p <= count; ++p)
                EXPECT_EQ(question.Answer(AnswerAtPosition(question, p)).Position, p);
        }
    }
}

TEST(QuestionRecord, ThreeAnswerRowMapsAnswersToPositions) {
    QuestionRecord question = Question(3, "100");
    question.OrderRow = "231";
    for (int k = 1; k <= 3; ++k)
        question.Answer(k).Position = question.OrderRow[k - 1] - '0';
    EXPECT_EQ(AnswerAtPosition(question, 1), 3);
    EXPECT_EQ(AnswerAtPosition(question, 2), 1);
    EXPECT_EQ(AnswerAtPosition(question, 3), 2);
    EXPECT_EQ(AnswerAtPosition(question, 4), -1);
    EXPECT_EQ(AnswerTextAtPosition(question, 1), "answer 3");
    EXPECT_EQ(AnswerTextAtPosition(question, 5), "");
}

TEST(AnswerOrder, ThreeAnswersDrawAllSixOrdersEvenly) {
    const auto counts = CountDraws(3, 60000);
    ASSERT_EQ(counts.size(), 6u);
    for (const auto& [row, count] : counts) {
        EXPECT_TRUE(IsPermutation(row)) << row;
        EXPECT_NEAR(count, 10000, 500) << row;
    }
}

TEST(AnswerOrder, FourAnswersFavourFourOrdersTwoToOne) {
    const int draws = 280000;
    const auto counts = CountDraws(4, draws);
    ASSERT_EQ(counts.size(), 24u);
    const std::set<std::string> doubled = {"3412", "3421", "4312", "4321"};
    for (const auto& [row, count] : counts) {
        EXPECT_TRUE(IsPermutation(row)) << row;
        const double expected = draws * (doubled.contains(row) ? 2.0 : 1.0) / 28;
        EXPECT_NEAR(count, expected, expected * 0.06) << row;
    }
}

TEST(AnswerOrder, FiveAnswersDrawOneHundredOrdersAndNever12354) {
    const int draws = 510000;
    const auto counts = CountDraws(5, draws);
    EXPECT_EQ(counts.size(), 100u);
    EXPECT_FALSE(counts.contains("12354"));
    for (const auto& [row, count] : counts) {
        EXPECT_TRUE(IsPermutation(row)) << row;
        const bool doubled = row == "54312" || row == "54321";
        const double expected = draws * (doubled ? 2.0 : 1.0) / 102;
        EXPECT_NEAR(count, expected, expected * 0.06) << row;
    }
}

TEST(AnswerOrder, AnyOtherCountUsesTheFiveAnswerTable) {
    Random random(1);
    EXPECT_EQ(PickAnswerOrder(0, random).size(), 5u);
    EXPECT_EQ(PickAnswerOrder(7, random).size(), 5u);
}

TEST(AnswerChoice, SingleAnswerQuestionKeepsOneChoice) {
    Random random;
    QuestionRecord question = Question(4, "0100");
    ASSERT_TRUE(SetUpAnswerOrder(question, random));
    ToggleAnswer(question, 2);
    ToggleAnswer(question, 3);
    EXPECT_FALSE(question.Answer(AnswerAtPosition(question, 2)).Selected);
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 3)).Selected);
    ToggleAnswer(question, 3);
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 3)).Selected); // no way back to no choice
    EXPECT_TRUE(AnyAnswerChosen(question));
}

TEST(AnswerChoice, SeveralAnswerQuestionTogglesEachOnItsOwn) {
    Random random;
    QuestionRecord question = Question(4, "0110", 1);
    ASSERT_TRUE(SetUpAnswerOrder(question, random));
    EXPECT_FALSE(AnyAnswerChosen(question));
    ToggleAnswer(question, 2);
    ToggleAnswer(question, 3);
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 2)).Selected);
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 3)).Selected);
    ToggleAnswer(question, 2);
    EXPECT_FALSE(question.Answer(AnswerAtPosition(question, 2)).Selected);
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 3)).Selected);
    ToggleAnswer(question, 5); // no answer there: nothing changes
    EXPECT_TRUE(question.Answer(AnswerAtPosition(question, 3)).Selected);
}

TEST(AnswerChoice, JudgingComparesChoicesWithTheKey) {
    Random random;
    QuestionRecord question = Question(4, "0110", 1);
    ASSERT_TRUE(SetUpAnswerOrder(question, random));
    question.Answer(2).Selected = true;
    EXPECT_FALSE(AllAnswersRight(question)); // one of two
    question.Answer(3).Selected = true;
    EXPECT_TRUE(AllAnswersRight(question));
    question.Answer(4).Selected = true;
    EXPECT_FALSE(AllAnswersRight(question)); // both and a wrong one
    ClearSelection(question);
    EXPECT_FALSE(AnyAnswerChosen(question));
}

TEST(AnswerChoice, SlotsAboveTheCountAreNeverJudged) {
    Random random;
    QuestionRecord question = Question(3, "00110");
    ASSERT_TRUE(SetUpAnswerOrder(question, random));
    EXPECT_TRUE(question.Answer(4).Correct);
    question.Answer(3).Selected = true;
    EXPECT_TRUE(AllAnswersRight(question));
}

TEST(TileLooks, ChoiceAloneWhileAnsweringAndTheVerdictAfterTheCheck) {
    const auto slot = [](bool correct, bool selected) { return AnswerSlot{"", correct, selected, 1}; };
    EXPECT_EQ(SelectionLook(slot(false, false)), TileLook::Plain);
    EXPECT_EQ(SelectionLook(slot(true, false)), TileLook::Plain);
    EXPECT_EQ(SelectionLook(slot(false, true)), TileLook::Chosen);
    EXPECT_EQ(SelectionLook(slot(true, true)), TileLook::Chosen);
    EXPECT_EQ(VerdictLook(slot(false, false)), TileLook::Plain);
    EXPECT_EQ(VerdictLook(slot(true, true)), TileLook::Chosen);
    EXPECT_EQ(VerdictLook(slot(true, false)), TileLook::Missed);
    EXPECT_EQ(VerdictLook(slot(false, true)), TileLook::Wrong);
}
