#include "support/SourceBankTexts.h"
#include "tools/skq/formats/SourceBank.h"

#include <gtest/gtest.h>

namespace skq {
namespace {

TEST(Csv, ReadsEveryColumnOfAPolishSpreadsheet) {
    const SourceBank bank =
        ReadCsv("Pytanie;Odpowiedź A;Odpowiedź B;Odpowiedź C;Odpowiedź D;Odpowiedź E;Poprawna;Podpowiedź;Obrazek;"
                "Kategoria\r\n"
                "\"Która liczba jest \"\"największa\"\"?\r\nWybierz jedną.\";2,5;3;1;;;b;Porównaj części całkowite.;"
                "osie.png;Matematyka/Ułamki//dziesiętne\r\n"
                "Zażółć gęślą jaźń to:;zdanie;liczba;wyraz;;;A\r\n");
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), 2u);
    const SourceQuestion& first = bank.Questions[0];
    EXPECT_EQ(first.Where, "row 2");
    EXPECT_EQ(first.Text, (SourceText{"Która liczba jest \"największa\"?\nWybierz jedną.", false}));
    EXPECT_EQ(AnswerTexts(first), (Texts{"2,5", "3", "1"}));
    EXPECT_EQ(first.Right, (Flags{false, true, false}));
    EXPECT_FALSE(first.SeveralRight);
    EXPECT_EQ(first.Hint, (SourceText{"Porównaj części całkowite.", false}));
    EXPECT_EQ(first.Picture, "osie.png");
    EXPECT_EQ(first.Category, (Texts{"Matematyka", "Ułamki/dziesiętne"}));
    const SourceQuestion& second = bank.Questions[1];
    EXPECT_EQ(second.Where, "row 3");
    EXPECT_EQ(second.Hint.Text, "");
    EXPECT_EQ(second.Picture, "");
    EXPECT_TRUE(second.Category.empty());
}

TEST(Csv, SeparatorIsGuessedFromTheFirstRow) {
    const SourceBank commas = ReadCsv("question,a,b,c,d,e,right\n\"2,5 + 1\",\"3,5\",4,5,,,A\n");
    ASSERT_EQ(commas.Questions.size(), 1u);
    EXPECT_EQ(commas.Questions[0].Text.Text, "2,5 + 1");
    EXPECT_EQ(AnswerTexts(commas.Questions[0]), (Texts{"3,5", "4", "5"}));

    const SourceBank tabs = ReadCsv("Ile to 1,5 + 1,5?\t3\t2\t1,5\t\t\tA\n");
    ASSERT_EQ(tabs.Questions.size(), 1u);
    EXPECT_EQ(AnswerTexts(tabs.Questions[0]), (Texts{"3", "2", "1,5"}));

    const SourceBank semicolonsInQuotes = ReadCsv("\"a;b;c;d\",x,y,z,,,C\n");
    ASSERT_EQ(semicolonsInQuotes.Questions.size(), 1u);
    EXPECT_EQ(semicolonsInQuotes.Questions[0].Text.Text, "a;b;c;d");
}

TEST(Csv, SeveralRightLettersInAnyForm) {
    for (const std::string right : {"A,C", "ac", "a C", "\"C;A\""}) {
        const SourceBank bank = ReadCsv("P;a;b;c;d;;" + right + "\n");
        ASSERT_EQ(bank.Questions.size(), 1u) << right;
        EXPECT_EQ(bank.Questions[0].Right, (Flags{true, false, true, false})) << right;
        EXPECT_TRUE(bank.Questions[0].SeveralRight) << right;
    }
}

TEST(Csv, HeaderIsOnlyTheFirstRowAndEmptyRowsCountButAreLeftOut) {
    const SourceBank bank = ReadCsv("\n QUESTION ;a;b\n;;;;\nQuestion;x;y;z;;;A\n");
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Questions[0].Where, "row 4");
    EXPECT_EQ(bank.Questions[0].Text.Text, "Question");
}

TEST(Csv, ColumnsPastTheTenthAreNotesAndShortRowsAreFine) {
    const SourceBank bank = ReadCsv("P;a;b;c;;;A;h;p.gif;K;uwagi nauczyciela;;\n"
                                    ";;;;;;;;;;tylko uwaga\n"
                                    "Q;a;b;c;d;e;E\n");
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Category, Texts{"K"});
    EXPECT_EQ(AnswerTexts(bank.Questions[1]), (Texts{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(bank.Questions[1].Right, (Flags{false, false, false, false, true}));
}

TEST(Csv, FaultyRowsAreSkippedByRowAndTheRestImports) {
    const SourceBank bank = ReadCsv("pytanie;A;B;C;D;E;poprawna\n"
                                    "Bez poprawnej;a;b;c;;;\n"
                                    "Pusta wskazana;a;b;c;;;D\n"
                                    "Luka;a;;c;;;A\n"
                                    ";a;b;c;;;A\n"
                                    "Bez odpowiedzi;;;;;;A\n"
                                    "Zła litera;a;b;c;;;1\n"
                                    "Dobre;a;b;c;;;C\n");
    EXPECT_EQ(QuestionTexts(bank), Texts{"Dobre"});
    EXPECT_EQ(bank.Questions[0].Where, "row 8");
    const std::vector<SkippedQuestion> expected = {
        {"row 2", "no right answer given"},
        {"row 3", "the right answer D names no answer"},
        {"row 4", "answer B is empty while a later one is not"},
        {"row 5", "no question text"},
        {"row 6", "no answers"},
        {"row 7", "the right answer is not written as letters such as B or A, C"},
    };
    EXPECT_EQ(bank.Skipped, expected);
}

TEST(Csv, UnclosedQuoteLosesOnlyItsOwnRow) {
    // Never closed: the rows after it would vanish into one cell.
    const SourceBank atEnd = ReadCsv("P1;a;b;c;;;A\n\"P2;a;b;c;;;A\nP3;a;b;c;;;B\nP4;a;b;c;;;C\n");
    EXPECT_EQ(QuestionTexts(atEnd), (Texts{"P1", "P3", "P4"}));
    EXPECT_EQ(atEnd.Skipped, (std::vector<SkippedQuestion>{{"row 2", "a quote in column 1 is never closed"}}));

    // Closed by the opening quote of a later cell: the pairing is off from there on.
    const SourceBank paired = ReadCsv("P1;\"a;b;c;;;A\r\nP2;a;b;c;;;B\r\n\"P3\";a;b;c;;;C\r\n");
    EXPECT_EQ(QuestionTexts(paired), (Texts{"P2", "P3"}));
    EXPECT_EQ(paired.Skipped, (std::vector<SkippedQuestion>{{"row 1", "a quote in column 2 is not closed"}}));

    const SourceBank trailing = ReadCsv("\"P1\"x;a;b;c;;;A\nP2;a;b;c;;;B\n");
    EXPECT_EQ(QuestionTexts(trailing), Texts{"P2"});
    EXPECT_EQ(trailing.Skipped,
              (std::vector<SkippedQuestion>{{"row 1", "text follows the closing quote in column 1"}}));
}

} // namespace
} // namespace skq
