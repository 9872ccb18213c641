#pragma once

#include <cstdint>
#include <string>

// The summary of a finished run and the rounding it shares with the status line.

// count × 100 / total rounded to the nearest integer, halves to the even neighbour
// (62.5 gives 62, 37.5 gives 38). A total of 0 or less gives 0.
std::int32_t RoundedPercent(std::int64_t count, std::int64_t total);

// A value rounded to the nearest integer, halves to the even neighbour.
std::int64_t RoundHalfEven(double value);

// The verbal grade of a score, first matching threshold from the top.
std::u16string GradeText(std::int32_t percent);

// Working time between two date-times (days since 30 December 1899): whole minutes
// of the whole run, however many hours it took, and the seconds beyond them.
struct WorkingTime {
    std::int64_t Minutes = 0;
    std::int32_t Seconds = 0;
};
WorkingTime SplitWorkingTime(double startTime, double endTime);

struct SummaryReport {
    std::int32_t QuestionCount = 0;
    std::int32_t FirstTimeRight = 0;
    std::int32_t GivenCount = 0;
    double StartTime = 0;
    double EndTime = 0;
    std::int32_t Percent = 0; // FirstTimeRight of QuestionCount
    WorkingTime Time;
    std::u16string Text; // "\r" breaks a line
};

// The report of a run from its counters and times; the text is what the summary window shows.
SummaryReport MakeSummaryReport(std::int32_t questionCount, std::int32_t firstTimeRight, std::int32_t givenCount,
                                double startTime, double endTime);
