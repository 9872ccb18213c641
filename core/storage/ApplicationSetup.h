#pragma once

#include <cstdint>
#include <filesystem>

// The program file's folder; the default set list and the help pages lie under it.
extern std::filesystem::path ExeFolder;

std::filesystem::path DefaultListFilePath();
std::filesystem::path HelpPagePath();
// The address of the program's home page, set by the build.
extern const char* const kHomePage;

// Falls back to the default list when the settings name no existing file, and
// says so in the journal.
void CheckListFilePath();

// Seeds the generator with the milliseconds since midnight of the universal-time clock.
void SeedRandomFromClock();
