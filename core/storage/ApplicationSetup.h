#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class Journal;
struct Settings;

// Where the program finds its own files and keeps the learner's.
struct ProgramPaths {
    std::filesystem::path ProgramFolder; // the program file's folder
    std::filesystem::path SettingsFile;
    std::filesystem::path JournalFile;
    std::filesystem::path DocumentsFolder; // where choosing a set folder starts

    // The folder of the bundled sets and the help pages: the program's folder when they lie
    // beside the program (a build tree, or a program installed into one folder), else the shared
    // data folder of an installed program (../share/ludra), else the program's folder.
    std::filesystem::path DataFolder() const;
    std::filesystem::path DefaultListFile() const;
    std::filesystem::path HelpPage() const;
    // The learner's results file, beside the settings; empty before the folders are prepared.
    std::filesystem::path ResultsFile() const;
};

// Creates the program's data folder (failures ignored) and names the files in it.
void PrepareFolders(ProgramPaths& paths);
// The address of the program's home page and its version, set by the build.
extern const char* const kHomePage;
extern const char* const kVersion;
// The main window's title, which names the version.
std::string MainWindowTitle();

// What the program prints instead of starting when its only argument is "--version" or "--help".
std::optional<std::string> CommandLineInformation(const std::vector<std::string>& arguments);

// Falls back to the default list when the settings name no existing file, and
// says so in the journal.
void CheckListFilePath(Settings& settings, const ProgramPaths& paths, const Journal& journal);

// The milliseconds since midnight of the universal-time clock, which the program seeds its
// generator with.
std::uint32_t ClockSeed();
