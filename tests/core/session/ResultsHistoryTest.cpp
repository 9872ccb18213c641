#include "core/session/ResultsHistory.h"

#include "support/Recorder.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>

using namespace std::chrono_literals;
using ::testing::ElementsAre;

namespace {

const std::string kNewFile = "\xEF\xBB\xBF" + std::string(kResultsHeader) + "\r\n";

// The file's lock as another process holds it: flock locks of separate opens exclude each other.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& file)
        : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
    }
    ~HeldLock() { ::close(fd_); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    int fd_;
};

// The file's lines, sorted, without their line breaks.
std::vector<std::string> SortedLines(const std::filesystem::path& file) {
    std::istringstream text(ReadFileText(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line, '\n');)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line + " (no CR LF)");
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(ResultsHistory, FieldsAreQuotedOnlyWhenTheyNeedIt) {
    EXPECT_EQ(CsvField("Ułamki zwykłe"), "Ułamki zwykłe");
    EXPECT_EQ(CsvField("a;b"), "\"a;b\"");
    EXPECT_EQ(CsvField("cytat \"x\""), "\"cytat \"\"x\"\"\"");
    EXPECT_EQ(CsvField(" odstęp"), "\" odstęp\"");
    EXPECT_EQ(CsvField(""), "");
}

TEST(ResultsHistory, FieldsHoldNoControlsNorBrokenUtf8) {
    EXPECT_EQ(CsvField("dwa\r\nwiersze\tz\x7Fkontrolą"), "dwa  wiersze z kontrolą");
    EXPECT_EQ(CsvField("zła \xC5 litera \xFF"), "zła ? litera ?");
}

TEST(ResultsHistory, FieldsThatStartLikeAFormulaStayText) {
    EXPECT_EQ(CsvField("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(CsvField("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(CsvField("-2+3"), "'-2+3");
    EXPECT_EQ(CsvField("2-3"), "2-3");
}

TEST(ResultsHistory, LineCarriesTheRunInSpreadsheetFriendlyFields) {
    const double start = 46000.5;
    const SummaryReport report = MakeSummaryReport(13, 10, 16, start, start + (3725.0 / 86400.0));
    EXPECT_EQ(ResultsLine(report, "Ułamki; część 1", "/home/uczeń/Zestawy/Ulamki"),
              "2025-12-09 13:02:05;\"Ułamki; część 1\";/home/uczeń/Zestawy/Ulamki;13;10;77%;16;1:02:05;"
              "To jest przyzwoity wynik.");
    EXPECT_EQ(ResultsDateTime(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(ResultsDateTime(1.0 / 0.0), "1899-12-30 00:00:00");
}

TEST(ResultsHistory, HeaderOnlyWhenTheFileIsNew) {
    TempDir dir;
    const auto file = dir / "wyniki.csv";
    ASSERT_TRUE(AppendResultsLine(file, "pierwszy"));
    ASSERT_TRUE(AppendResultsLine(file, "drugi"));
    EXPECT_EQ(ReadFileText(file), kNewFile + "pierwszy\r\ndrugi\r\n");
    WriteFileText(file, "");
    ASSERT_TRUE(AppendResultsLine(file, "trzeci"));
    EXPECT_EQ(ReadFileText(file), kNewFile + "trzeci\r\n");
    WriteFileText(file, "zapisany w arkuszu");
    ASSERT_TRUE(AppendResultsLine(file, "czwarty"));
    EXPECT_EQ(ReadFileText(file), "zapisany w arkuszu\r\nczwarty\r\n");
}

TEST(ResultsHistory, AFileThatCannotBeWrittenIsLeftAlone) {
    TempDir dir;
    EXPECT_FALSE(AppendResultsLine(dir / "brak" / "wyniki.csv", "x"));
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(AppendResultsLine(dir / "folder", "x"));
    WriteFileText(dir / "cudzy.txt", "nie ruszać");
    std::filesystem::create_symlink(dir / "cudzy.txt", dir / "wyniki.csv");
    EXPECT_FALSE(AppendResultsLine(dir / "wyniki.csv", "x"));
    EXPECT_EQ(ReadFileText(dir / "cudzy.txt"), "nie ruszać");
}

// Long lines, so that a write split by another process's would show.
std::string NumberedLine(int process, int number) {
    return "proces " + std::to_string(process) + ";wynik " + std::to_string(number) + ";" + std::string(500, 'x');
}

TEST(ResultsHistory, ProcessesAppendingAtOnceLoseNoLineAndSplitNone) {
    TempDir dir;
    const auto file = dir / "wyniki.csv";
    constexpr int kProcesses = 2;
    constexpr int kLines = 500;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int process = 0; process < kProcesses; ++process) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::close(start[1]);
            char go = 0;
            [[maybe_unused]] const ssize_t closed = ::read(start[0], &go, 1);
            int lost = 0;
            for (int i = 0; i < kLines; ++i)
                lost += AppendResultsLine(file, NumberedLine(process, i)) ? 0 : 1;
            std::_Exit(lost == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    // Closing the pipe starts every child at once.
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::string> expected{kNewFile.substr(0, kNewFile.size() - 2)};
    for (int process = 0; process < kProcesses; ++process)
        for (int i = 0; i < kLines; ++i)
            expected.push_back(NumberedLine(process, i));
    std::sort(expected.begin(), expected.end());
    const std::vector<std::string> lines = SortedLines(file);
    EXPECT_EQ(lines.size(), expected.size());
    EXPECT_TRUE(lines == expected);
}

// A lock held past the wait, as by a hung process, costs the line.
TEST(ResultsHistory, ALostLineGoesToTheJournalEachTimeAndToTheLearnerOnce) {
    TempDir dir;
    const auto file = dir / "wyniki.csv";
    Recorder record;
    ResultsRecorder results(10ms);
    {
        HeldLock lock(file);
        EXPECT_FALSE(results.Record(file, "a", record.Reports()));
        EXPECT_FALSE(results.Record(file, "b", record.Reports()));
    }
    EXPECT_TRUE(results.Record(file, "c", record.Reports()));
    EXPECT_EQ(ReadFileText(file), kNewFile + "c\r\n");
    EXPECT_EQ(record.Journal.size(), 2u);
    ASSERT_THAT(record.BoxTexts(), ElementsAre(kResultsNotSaved));
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
}

TEST(ResultsHistory, SetNameIsTheFolderName) {
    EXPECT_EQ(FolderSetName("/zestawy/Przyroda"), "Przyroda");
    EXPECT_EQ(FolderSetName("/zestawy/Przyroda/"), "Przyroda");
}

} // namespace
