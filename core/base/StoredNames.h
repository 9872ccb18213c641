#pragma once

#include <string_view>

// The names of the files and folders the program and its tools read and write, as they
// stand on disk; the entries inside a pack are named in storage/DocumentFormat.h.
namespace stored {

// Beside the program, or in its shared data folder.
inline constexpr std::string_view kSetsFolder = "Zestawy";
inline constexpr std::string_view kSetListFile = "Lista.skz";
inline constexpr std::string_view kHelpFolder = "Pomoc";
inline constexpr std::string_view kHelpIndex = "index.htm";

// The learner's data folder, under the application-data folder, and what it holds.
inline constexpr std::string_view kMakerFolder = "Tarvix";
inline constexpr std::string_view kSuiteFolder = "Orvel";
inline constexpr std::string_view kProgramFolder = "Ludra";
inline constexpr std::string_view kSettingsFile = "Ludra.ini";
inline constexpr std::string_view kJournalFile = "Dziennik.txt";
inline constexpr std::string_view kResultsFile = "wyniki.csv";

// A set folder: question files named "pytanie01.skq" and on, and an optional title.
inline constexpr std::string_view kQuestionFileStem = "pytanie";
inline constexpr std::string_view kQuestionFileExtension = ".skq";
inline constexpr std::string_view kSetTitleFile = "tytul.txt";

} // namespace stored
