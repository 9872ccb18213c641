#pragma once

#include "core/session/SummaryReport.h"

#include <filesystem>
#include <string>
#include <string_view>

// The learner's results file: one line per finished run, UTF-8, fields apart by ";"
// as spreadsheets under a Polish locale read them, quoted when they need it.

inline constexpr const char* kResultsFileName = "wyniki.csv";
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

// Appends the line, the header first when the file is new or empty. Never throws and
// never reports; a link or anything but a regular file in the file's place is left alone.
// False when the line did not land.
bool AppendResultsLine(const std::filesystem::path& file, std::string_view line);

// The name a set's folder gives it: its last component.
std::string FolderSetName(const std::filesystem::path& folder);
