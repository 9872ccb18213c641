#include "core/session/SummaryReport.h"

#include "core/base/CodePage.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;

} // namespace

std::int64_t RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    // Beyond 2^62 no fraction is left to round; clamp so the cast stays defined.
    constexpr double kLimit = 4611686018427387904.0;
    if (value >= kLimit)
        return static_cast<std::int64_t>(kLimit);
    if (value <= -kLimit)
        return -static_cast<std::int64_t>(kLimit);
    const double floor = std::floor(value);
    const double rest = value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (rest > 0.5 || (rest == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

std::int32_t RoundedPercent(std::int64_t count, std::int64_t total) {
    if (total <= 0)
        return 0;
    const double percent = static_cast<double>(count) * 100.0 / static_cast<double>(total);
    const std::int64_t rounded = RoundHalfEven(percent);
    if (rounded > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (rounded < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(rounded);
}

std::u16string GradeText(std::int32_t percent) {
    if (percent >= 95 && percent <= 100)
        return u"Jesteś rewelacyjny.";
    if (percent >= 85 && percent <= 94)
        return u"Jesteś bardzo dobry.";
    if (percent >= 75 && percent <= 84)
        return u"To jest przyzwoity wynik.";
    if (percent >= 60 && percent <= 74)
        return u"Jest tak sobie.";
    if (percent >= 50 && percent <= 59)
        return u"Musisz jeszcze popracować nad sobą.";
    if (percent >= 30 && percent <= 49)
        return u"Jest jeszcze wiele do zrobienia.";
    return u"Jest fatalnie. Ćwicz wytrwale.";
}

WorkingTime SplitWorkingTime(double startTime, double endTime) {
    const std::int64_t ms = RoundHalfEven((endTime - startTime) * static_cast<double>(kMillisecondsPerDay));
    // A clock set back during the run gives a negative span; its size is shown.
    const std::int64_t span = ms < 0 ? -ms : ms;
    return {span / 60000, static_cast<std::int32_t>(span % 60000 / 1000)};
}

SummaryReport MakeSummaryReport(std::int32_t questionCount, std::int32_t firstTimeRight, std::int32_t givenCount,
                                double startTime, double endTime) {
    SummaryReport report;
    report.QuestionCount = questionCount;
    report.FirstTimeRight = firstTimeRight;
    report.GivenCount = givenCount;
    report.StartTime = startTime;
    report.EndTime = endTime;
    report.Percent = RoundedPercent(firstTimeRight, questionCount);
    report.Time = SplitWorkingTime(startTime, endTime);
    report.Text = u"  ZESTAWIENIE \r =============\r";
    report.Text += u"Pytań w zestawie: " + Decimal(questionCount) + u"\r";
    report.Text += u"Poprawnych odpowiedzi: " + Decimal(firstTimeRight) + u"\r";
    report.Text += u"Skuteczność: " + Decimal(report.Percent) + u"%\r\r";
    report.Text += u"Udzielonych odpowiedzi: " + Decimal(givenCount) + u"\r";
    report.Text += u"Czas pracy: " + Decimal(report.Time.Minutes) + u" min " + Decimal(report.Time.Seconds) + u" s\r";
    report.Text += u"Reasumując: " + GradeText(report.Percent);
    return report;
}
