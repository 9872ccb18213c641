#include "core/base/Journal.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

namespace {

class JournalFile : public ::testing::Test {
protected:
    void SetUp() override { journal.SetFile(dir / "Dziennik.txt"); }

    // The journal's lines without their CR LF ends; fails the test on a bare LF.
    std::vector<std::string> Lines() const {
        const std::string text = ReadFileText(journal.File());
        std::vector<std::string> lines;
        std::size_t at = 0;
        for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        EXPECT_EQ(at, text.size()) << "last line without CR LF";
        return lines;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        for (const std::string& line : Lines())
            messages.push_back(line.substr(line.find(" - ") + 3));
        return messages;
    }

    TempDir dir;
    ::Journal journal;
};

std::tm Time(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

} // namespace

TEST(JournalTimestamp, ShortDateAndLongTime) {
    EXPECT_EQ(JournalTimestamp(Time(2026, 12, 7, 9, 5, 3)), "07.12.2026 09:05:03");
    EXPECT_EQ(JournalTimestamp(Time(2027, 1, 31, 23, 59, 59)), "31.01.2027 23:59:59");
}

TEST(JournalTimestamp, OnlyTheDateAtExactlyMidnight) {
    EXPECT_EQ(JournalTimestamp(Time(2026, 3, 1, 0, 0, 0)), "01.03.2026");
    EXPECT_EQ(JournalTimestamp(Time(2026, 3, 1, 0, 0, 1)), "01.03.2026 00:00:01");
}

TEST_F(JournalFile, LineIsDateTimeDashMessageInWindows1250) {
    journal.Write(0, u"Odczyt. Błąd wczytywania pliku Sezz0.");
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], MatchesRegex(R"([0-9]{2}\.[0-9]{2}\.[0-9]{4}( [0-9]{2}:[0-9]{2}:[0-9]{2})? - .*)"));
    EXPECT_THAT(Messages(), ElementsAre("Odczyt. B\xB3\xB9"
                                        "d wczytywania pliku Sezz0."));
}

TEST_F(JournalFile, LevelGatesRecords) {
    for (int level : {0, 1, 2, 3, 4})
        journal.Write(level, u"level " + std::u16string(1, char16_t(u'0' + level)));
    EXPECT_THAT(Messages(), ElementsAre("level 0"));

    journal.SetLevel(3);
    for (int level : {0, 1, 2, 3, 4})
        journal.Write(level, u"again " + std::u16string(1, char16_t(u'0' + level)));
    EXPECT_THAT(Messages(), ElementsAre("level 0", "again 0", "again 1", "again 2", "again 3"));
}

TEST_F(JournalFile, NegativeLevelWritesNothing) {
    journal.SetLevel(-1);
    journal.Write(0, u"lost");
    EXPECT_FALSE(std::filesystem::exists(journal.File()));
}

TEST_F(JournalFile, AppendsToWhatIsThereAndEndsAnOpenLastLine) {
    WriteFileText(journal.File(), "first\r\nsecond without end");
    journal.Write(0, u"third");
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "second without end");
    EXPECT_THAT(lines[2], MatchesRegex(".* - third"));
}

TEST_F(JournalFile, KeepsLinesEndedByABareLineFeedAsTheyAre) {
    WriteFileText(journal.File(), "unix line\n");
    journal.Write(0, u"next");
    const std::string text = ReadFileText(journal.File());
    EXPECT_EQ(text.rfind("unix line\n", 0), 0u);
    EXPECT_EQ(text.find("\r\n"), text.size() - 2);
}

TEST_F(JournalFile, MissingFolderLosesTheRecordSilently) {
    journal.SetFile(dir / "missing" / "Dziennik.txt");
    journal.Write(0, u"lost");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(JournalFile, ANamedPipeAtThePathIsNeverWrittenTo) {
    ASSERT_EQ(mkfifo(journal.File().c_str(), 0600), 0);
    journal.Write(0, u"lost");
    EXPECT_TRUE(std::filesystem::is_fifo(journal.File()));
}

TEST_F(JournalFile, ADirectoryAtThePathIsLeftAlone) {
    std::filesystem::create_directory(journal.File());
    journal.Write(0, u"lost");
    EXPECT_TRUE(std::filesystem::is_directory(journal.File()));
}

TEST_F(JournalFile, EmptyPathWritesNothing) {
    journal.SetFile({});
    journal.Write(0, u"lost");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(JournalFile, ALinkAtThePathIsNeverFollowed) {
    WriteFileText(dir / "other.txt", "someone else's\n");
    std::filesystem::create_symlink(dir / "other.txt", journal.File());
    journal.Write(0, u"lost");
    EXPECT_EQ(ReadFileText(dir / "other.txt"), "someone else's\n");

    std::filesystem::remove(journal.File());
    std::filesystem::create_symlink(dir / "created.txt", journal.File());
    journal.Write(0, u"lost");
    EXPECT_FALSE(std::filesystem::exists(dir / "created.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(journal.File()));
}

TEST_F(JournalFile, ARecordThatDoesNotFitIsCutOffWhole) {
    WriteFileText(journal.File(), "before\r\n");
    // A file size limit stands in for a full disk: the write stops part way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        journal.Write(0, u"a record much longer than the room that is left");
        _exit(0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileText(journal.File()), "before\r\n");
}

TEST_F(JournalFile, NothingLandsWhileAnotherWriterHoldsTheJournal) {
    WriteFileText(journal.File(), "before\r\n");
    const int other = open(journal.File().c_str(), O_RDWR);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    journal.Write(0, u"lost");
    close(other);
    EXPECT_EQ(ReadFileText(journal.File()), "before\r\n");
    journal.Write(0, u"after");
    EXPECT_THAT(Lines(), ElementsAre("before", MatchesRegex(".* - after")));
}
