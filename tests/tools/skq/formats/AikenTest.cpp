#include "support/SourceBankTexts.h"
#include "tools/skq/formats/SourceBank.h"

#include <gtest/gtest.h>

namespace skq {
namespace {

TEST(Aiken, ReadsQuestionsWithEitherLetterFormAndLineEnd) {
    const SourceBank bank = ReadAiken("Stolica Polski to:\r\n"
                                      "A) Kraków\r\n"
                                      "  B) Warszawa\r\n"
                                      "C) Gdańsk\r\n"
                                      "ANSWER: B\r\n"
                                      "\r\n"
                                      "Ile nóg ma pająk?\n"
                                      "A. sześć\n"
                                      "B. osiem\n"
                                      "C. dziesięć\n"
                                      "ANSWER: B");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_TRUE(bank.Skipped.empty());
    const SourceQuestion& first = bank.Questions[0];
    EXPECT_EQ(first.Where, "line 1");
    EXPECT_EQ(first.Text, (SourceText{"Stolica Polski to:", false}));
    EXPECT_EQ(AnswerTexts(first), (Texts{"Kraków", "Warszawa", "Gdańsk"}));
    EXPECT_EQ(first.Right, (Flags{false, true, false}));
    EXPECT_FALSE(first.SeveralRight);
    EXPECT_FALSE(first.Answers[0].Html);
    EXPECT_TRUE(first.Category.empty());
    EXPECT_EQ(bank.Questions[1].Where, "line 7");
    EXPECT_EQ(AnswerTexts(bank.Questions[1]), (Texts{"sześć", "osiem", "dziesięć"}));
}

TEST(Aiken, QuestionTextMaySpanLines) {
    const SourceBank bank = ReadAiken("Przeczytaj zdanie:\n  „Ala ma kota.”\nIle w nim wyrazów?\nA) 2\nB) 3\nC) 4\n"
                                      "ANSWER: B\n");
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Questions[0].Text.Text, "Przeczytaj zdanie:\n„Ala ma kota.”\nIle w nim wyrazów?");
}

TEST(Aiken, SeveralRightLettersInEitherForm) {
    for (const std::string answer : {"ANSWER: A, C", "ANSWER: AC", "answer:a c", "ANSWER : C;A"}) {
        const SourceBank bank = ReadAiken("Liczby pierwsze:\nA) 2\nB) 4\nC) 5\n" + answer + "\n");
        ASSERT_EQ(bank.Questions.size(), 1u) << answer;
        EXPECT_EQ(bank.Questions[0].Right, (Flags{true, false, true})) << answer;
        EXPECT_TRUE(bank.Questions[0].SeveralRight) << answer;
    }
}

TEST(Aiken, NextQuestionMayFollowTheAnswerLineWithoutABlankLine) {
    const SourceBank bank = ReadAiken("P1\nA) a\nB) b\nANSWER: A\nP2\nA) c\nB) d\nANSWER: B\n\n\n");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[1].Text.Text, "P2");
    EXPECT_EQ(bank.Questions[1].Where, "line 5");
    EXPECT_TRUE(bank.Skipped.empty());
}

TEST(Aiken, BrokenQuestionsAreSkippedWithTheirReasonAndTheRestReads) {
    const SourceBank bank = ReadAiken("Bez odpowiedzi\nA) a\nB) b\n\n"              // line 1
                                      "Zła litera\nA) a\nB) b\nANSWER: D\n\n"       // line 5
                                      "Nie po kolei\nA) a\nC) b\nB) c\nANSWER: A\n" // line 10
                                      "Pusta odpowiedź\nA) a\nANSWER:\n"            // line 15
                                      "Bez wariantów\nANSWER: A\n"                  // line 18
                                      "Dobre\nA) a\nB) b\nANSWER: A\n"              // line 20
                                      "Brak ANSWER i od razu następne\nA) a\n"      // line 24
                                      "Ostatnie\nA) x\nB) y\nANSWER: B\n"           // line 26
                                      "Zły zapis\nA) a\nANSWER: A)\n"               // line 30
                                      "Liczby\n1) a\n2) b\nANSWER: 1\n"             // line 33
                                      "Od B\nb) a\nc) b\nANSWER: b");               // line 37
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Text.Text, "Dobre");
    EXPECT_EQ(bank.Questions[1].Text.Text, "Ostatnie");
    EXPECT_EQ(bank.Questions[1].Where, "line 26");
    const std::vector<SkippedQuestion> expected = {
        {"line 1", "no ANSWER line"},
        {"line 5", "the right answer D names no answer"},
        {"line 10", "answer C comes where B should"},
        {"line 15", "no right answer given"},
        {"line 18", "no answers"},
        {"line 24", "no ANSWER line"},
        {"line 30", "the right answer is not written as letters such as B or A, C"},
        {"line 33", "answers not in the A) … layout"},
        {"line 37", "answers not in the A) … layout"},
    };
    EXPECT_EQ(bank.Skipped, expected);
}

TEST(Aiken, LooseAnswersAreReadAndTextLinesLikeThemBeforeStrictOnesStayText) {
    const std::pair<std::string, std::string> cases[] = {
        {"A)Kraków\nB.Odra\nc) Warta", "Pytanie"},
        {"a) Kraków\nb. Odra\nc.Warta", "Pytanie"},
        {"a) zdanie\nb) zdanie\nA) Kraków\nB) Odra\nC) Warta", "Pytanie\na) zdanie\nb) zdanie"},
        {"a. jabłko\nCo to?\nW.Szymborska\nA) Kraków\nB) Odra\nC) Warta", "Pytanie\na. jabłko\nCo to?\nW.Szymborska"},
    };
    for (const auto& [lines, text] : cases) {
        const SourceBank bank = ReadAiken("Pytanie\n" + lines + "\nANSWER: b\n");
        ASSERT_EQ(bank.Questions.size(), 1u) << lines;
        EXPECT_EQ(bank.Questions[0].Text.Text, text) << lines;
        EXPECT_EQ(AnswerTexts(bank.Questions[0]), (Texts{"Kraków", "Odra", "Warta"})) << lines;
        EXPECT_EQ(bank.Questions[0].Right, (Flags{false, true, false})) << lines;
    }
}

TEST(Aiken, EmptyInputGivesNothing) {
    const SourceBank bank = ReadAiken("\n\r\n  \n");
    EXPECT_TRUE(bank.Questions.empty());
    EXPECT_TRUE(bank.Skipped.empty());
}

} // namespace
} // namespace skq
