#pragma once

#include "core/session/SummaryReport.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

struct Reporting;

// The learner's results file: one line per finished run, UTF-8, fields apart by ";"
// as spreadsheets under a Polish locale read them, quoted when they need it.

inline constexpr std::string_view kResultsHeader =
    "data;zestaw;folder;pytania;dobrze za pierwszym razem;skuteczność;udzielone odpowiedzi;czas pracy;ocena";

// A field as the file holds it: control characters become spaces, bytes that are no
// UTF-8 become "?", one that starts like a formula (= + - @) gets a leading "'", and a
// field with ";", a quote or a leading or trailing space is quoted.
std::string CsvField(std::string_view utf8);

// "yyyy-mm-dd hh:mm:ss" of a date-time in days since 30 December 1899.
std::string ResultsDateTime(double dateTime);

// The line of a finished run, without its line break. Names are UTF-8.
std::string ResultsLine(const SummaryReport& report, std::string_view setName, const std::filesystem::path& folder);

// How long an append waits for another run of the program appending to the same file: far
// longer than any append takes, short enough that a hung process doesn't hold the learner up.
inline constexpr std::chrono::milliseconds kResultsLockWait{5000};

// Appends the line, the header first when the file is new or empty, waiting at most
// lockWait for another process's append to end. Never throws and never reports; a link
// or anything but a regular file in the file's place is left alone.
// False when the line did not land.
bool AppendResultsLine(const std::filesystem::path& file, std::string_view line,
                       std::chrono::milliseconds lockWait = kResultsLockWait);

// The learner's message when a line did not land.
inline constexpr std::u16string_view kResultsNotSaved = u"Nie udało się zapisać wyniku w pliku wyników (wyniki.csv).";

// Appends the lines of one program run and reports each one that did not land in the
// journal, and to the learner the first time only: a file that stays unwritable would
// otherwise interrupt every run.
class ResultsRecorder {
public:
    explicit ResultsRecorder(std::chrono::milliseconds lockWait = kResultsLockWait) : lockWait_(lockWait) {}
    bool Record(const std::filesystem::path& file, std::string_view line, const Reporting& reports);

private:
    std::chrono::milliseconds lockWait_;
    bool learnerTold_ = false;
};

// The name a set's folder gives it: its last component.
std::string FolderSetName(const std::filesystem::path& folder);
