#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The event journal: dated Windows-1250 lines, CR LF ended, appended to JournalPath.
// Levels: 0 failures, 1 settings-file problems, 2 level changes, 3 normal course.
extern std::filesystem::path JournalPath;
extern int JournalLevel;

// Appends "date time - message" when level <= JournalLevel; never fails and never
// reports: a record lands whole or is lost. Only a regular file is written to; a link
// in the journal's place is never followed, so the run goes on without a journal.
void WriteJournal(int level, std::u16string_view message);

// Sees every record before the level gate; the command-line tool reports them.
using JournalObserver = std::function<void(int level, std::u16string_view message)>;
JournalObserver SetJournalObserver(JournalObserver observer);

// "dd.MM.yyyy HH:mm:ss", or only the date at exactly midnight.
std::string JournalTimestamp(const std::tm& local);
