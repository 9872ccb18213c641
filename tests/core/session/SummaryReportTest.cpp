#include "core/session/SummaryReport.h"

#include "support/ReportLines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using ::testing::ElementsAre;

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kStart = 46000.375; // a morning in 2025

SummaryReport Report(int questions, int firstRight, int given, double seconds = 42) {
    return MakeSummaryReport(questions, firstRight, given, kStart, kStart + seconds * kSecond);
}

TEST(SummaryRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundedPercent(1, 8), 12);
    EXPECT_EQ(RoundedPercent(3, 8), 38);
    EXPECT_EQ(RoundedPercent(5, 8), 62);
    EXPECT_EQ(RoundedPercent(99, 200), 50);
    EXPECT_EQ(RoundedPercent(169, 200), 84);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
}

TEST(SummaryRounding, OtherFractionsGoToTheNearest) {
    EXPECT_EQ(RoundedPercent(2, 3), 67);
    EXPECT_EQ(RoundedPercent(1, 3), 33);
    EXPECT_EQ(RoundedPercent(7, 10), 70);
    EXPECT_EQ(RoundedPercent(10, 10), 100);
    EXPECT_EQ(RoundedPercent(0, 10), 0);
    EXPECT_EQ(RoundHalfEven(-0.4), 0);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
}

TEST(SummaryRounding, NoTotalGivesZero) {
    EXPECT_EQ(RoundedPercent(0, 0), 0);
    EXPECT_EQ(RoundedPercent(3, 0), 0);
}

TEST(SummaryGrade, EachThresholdStartsItsGrade) {
    EXPECT_EQ(GradeText(100), u"Jesteś rewelacyjny.");
    EXPECT_EQ(GradeText(95), u"Jesteś rewelacyjny.");
    EXPECT_EQ(GradeText(94), u"Jesteś bardzo dobry.");
    EXPECT_EQ(GradeText(85), u"Jesteś bardzo dobry.");
    EXPECT_EQ(GradeText(84), u"To jest przyzwoity wynik.");
    EXPECT_EQ(GradeText(75), u"To jest przyzwoity wynik.");
    EXPECT_EQ(GradeText(74), u"Jest tak sobie.");
    EXPECT_EQ(GradeText(60), u"Jest tak sobie.");
    EXPECT_EQ(GradeText(59), u"Musisz jeszcze popracować nad sobą.");
    EXPECT_EQ(GradeText(50), u"Musisz jeszcze popracować nad sobą.");
    EXPECT_EQ(GradeText(49), u"Jest jeszcze wiele do zrobienia.");
    EXPECT_EQ(GradeText(30), u"Jest jeszcze wiele do zrobienia.");
    EXPECT_EQ(GradeText(29), u"Jest fatalnie. Ćwicz wytrwale.");
    EXPECT_EQ(GradeText(0), u"Jest fatalnie. Ćwicz wytrwale.");
}

TEST(SummaryGrade, ValuesOutsideTheScaleFallToTheLast) {
    EXPECT_EQ(GradeText(101), u"Jest fatalnie. Ćwicz wytrwale.");
    EXPECT_EQ(GradeText(-5), u"Jest fatalnie. Ćwicz wytrwale.");
}

TEST(SummaryTime, ShortRunShowsSeconds) {
    const WorkingTime time = SplitWorkingTime(kStart, kStart + 42 * kSecond);
    EXPECT_EQ(time.Minutes, 0);
    EXPECT_EQ(time.Seconds, 42);
}

TEST(SummaryTime, HoursCountAsMinutes) {
    const WorkingTime time = SplitWorkingTime(kStart, kStart + (3600 + 2 * 60 + 5) * kSecond);
    EXPECT_EQ(time.Minutes, 62);
    EXPECT_EQ(time.Seconds, 5);
    const WorkingTime longer = SplitWorkingTime(kStart, kStart + 1 + 30 * kSecond);
    EXPECT_EQ(longer.Minutes, 24 * 60);
    EXPECT_EQ(longer.Seconds, 30);
}

TEST(SummaryTime, EdgesOfTheSplit) {
    EXPECT_EQ(SplitWorkingTime(kStart, kStart).Minutes, 0);
    EXPECT_EQ(SplitWorkingTime(kStart, kStart).Seconds, 0);
    // 59.9996 s rounds to 60000 ms, a whole minute.
    const WorkingTime almost = SplitWorkingTime(kStart, kStart + 59.9996 * kSecond);
    EXPECT_EQ(almost.Minutes, 1);
    EXPECT_EQ(almost.Seconds, 0);
    const WorkingTime partial = SplitWorkingTime(kStart, kStart + 119.4 * kSecond);
    EXPECT_EQ(partial.Minutes, 1);
    EXPECT_EQ(partial.Seconds, 59);
    // A clock set back shows the size of the span.
    const WorkingTime back = SplitWorkingTime(kStart, kStart - 75 * kSecond);
    EXPECT_EQ(back.Minutes, 1);
    EXPECT_EQ(back.Seconds, 15);
}

TEST(SummaryText, WholeTextOfARun) {
    const SummaryReport report = Report(10, 7, 10);
    EXPECT_EQ(report.Text, u"  ZESTAWIENIE \r =============\r"
                           u"Pytań w zestawie: 10\r"
                           u"Poprawnych odpowiedzi: 7\r"
                           u"Skuteczność: 70%\r\r"
                           u"Udzielonych odpowiedzi: 10\r"
                           u"Czas pracy: 0 min 42 s\r"
                           u"Reasumując: Jest tak sobie.");
    EXPECT_EQ(report.Percent, 70);
    EXPECT_EQ(report.QuestionCount, 10);
    EXPECT_EQ(report.FirstTimeRight, 7);
    EXPECT_EQ(report.GivenCount, 10);
}

TEST(SummaryText, HeadingLinesAreFourteenCharacters) {
    const std::vector<std::u16string> lines = Lines(Report(3, 3, 3).Text);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 14u);
    EXPECT_EQ(lines[1].size(), 14u);
    EXPECT_EQ(lines[0], u"  ZESTAWIENIE ");
    EXPECT_EQ(lines[1], u" " + std::u16string(13, u'='));
}

TEST(SummaryText, RepeatPassCountsOnlyFirstShowingsInTheScore) {
    const std::vector<std::u16string> lines = Lines(Report(10, 6, 19).Text);
    EXPECT_THAT(lines, ElementsAre(u"  ZESTAWIENIE ", u" =============", u"Pytań w zestawie: 10",
                                   u"Poprawnych odpowiedzi: 6", u"Skuteczność: 60%", u"", u"Udzielonych odpowiedzi: 19",
                                   u"Czas pracy: 0 min 42 s", u"Reasumując: Jest tak sobie."));
}

TEST(SummaryText, ScoresAndGradesOfSeveralRuns) {
    struct Case {
        int Questions, Right;
        std::u16string Score, Grade;
    };
    const Case cases[] = {
        {20, 19, u"Skuteczność: 95%", u"Reasumując: Jesteś rewelacyjny."},
        {10, 10, u"Skuteczność: 100%", u"Reasumując: Jesteś rewelacyjny."},
        {8, 1, u"Skuteczność: 12%", u"Reasumując: Jest fatalnie. Ćwicz wytrwale."},
        {8, 3, u"Skuteczność: 38%", u"Reasumując: Jest jeszcze wiele do zrobienia."},
        {8, 5, u"Skuteczność: 62%", u"Reasumując: Jest tak sobie."},
        {200, 99, u"Skuteczność: 50%", u"Reasumując: Musisz jeszcze popracować nad sobą."},
        {200, 169, u"Skuteczność: 84%", u"Reasumując: To jest przyzwoity wynik."},
        {200, 170, u"Skuteczność: 85%", u"Reasumując: Jesteś bardzo dobry."},
    };
    for (const Case& c : cases) {
        const std::vector<std::u16string> lines = Lines(Report(c.Questions, c.Right, c.Questions).Text);
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines[4], c.Score) << c.Questions << " " << c.Right;
        EXPECT_EQ(lines[8], c.Grade) << c.Questions << " " << c.Right;
    }
}

TEST(SummaryText, NoAnswersGiven) {
    const std::vector<std::u16string> lines = Lines(Report(5, 0, 0, 0).Text);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[3], u"Poprawnych odpowiedzi: 0");
    EXPECT_EQ(lines[4], u"Skuteczność: 0%");
    EXPECT_EQ(lines[6], u"Udzielonych odpowiedzi: 0");
    EXPECT_EQ(lines[7], u"Czas pracy: 0 min 0 s");
    EXPECT_EQ(lines[8], u"Reasumując: Jest fatalnie. Ćwicz wytrwale.");
    // No question at all can't be divided by: the score is 0, not a failure.
    EXPECT_EQ(Report(0, 0, 0).Percent, 0);
}

TEST(SummaryText, LongRunShowsWholeMinutes) {
    const SummaryReport report = Report(4, 4, 4, 3600 + 2 * 60 + 5);
    EXPECT_EQ(Lines(report.Text)[7], u"Czas pracy: 62 min 5 s");
    EXPECT_EQ(report.Time.Minutes, 62);
    EXPECT_EQ(report.Time.Seconds, 5);
}

} // namespace
