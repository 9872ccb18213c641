#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

// The event journal: dated Windows-1250 lines, CR LF ended, appended to its file.
// Levels: 0 failures, 1 settings-file problems, 2 level changes, 3 normal course.
// Sees every record before the level gate; the command-line tool reports them.
using JournalObserver = std::function<void(int level, std::u16string_view message)>;

class Journal {
public:
    // Writes no file until it has one.
    Journal() = default;
    Journal(std::filesystem::path file, int level) : file_(std::move(file)), level_(level) {}

    // Appends "date time - message" when level <= Level(); never fails and never reports:
    // a record lands whole or is lost. Only a regular file is written to; a link in the
    // journal's place is never followed, so the run goes on without a journal.
    void Write(int level, std::u16string_view message) const;

    const std::filesystem::path& File() const { return file_; }
    void SetFile(std::filesystem::path file) { file_ = std::move(file); }
    int Level() const { return level_; }
    void SetLevel(int level) { level_ = level; }
    void SetObserver(JournalObserver observer) { observer_ = std::move(observer); }

private:
    std::filesystem::path file_;
    int level_ = 0;
    JournalObserver observer_;
};

// "dd.MM.yyyy HH:mm:ss", or only the date at exactly midnight.
std::string JournalTimestamp(const std::tm& local);
