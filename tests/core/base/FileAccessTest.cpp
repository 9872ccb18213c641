#include "core/base/FileAccess.h"

#include "support/TempDir.h"
#include "support/Watchdog.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <sys/stat.h>
#include <utility>

TEST(ReadableFile, ReadsTheBytesOfARegularFile) {
    TempDir dir;
    WriteFileText(dir / "a.txt", "PACK and more");
    const ReadableFile file(dir / "a.txt");
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Size(), 13);
    Bytes all;
    ASSERT_TRUE(file.ReadAll(all));
    EXPECT_EQ(all, ToBytes("PACK and more"));
    std::array<std::uint8_t, 4> tail{};
    EXPECT_FALSE(file.ReadAt(10, tail)) << "only three bytes are left";
}

TEST(ReadableFile, RefusesAtOnceWhatIsNoRegularFile) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");
    const Watchdog watchdog(10); // a pipe without a writer blocks a plain open for ever
    for (const char* name : {"pipe", "folder"}) {
        const ReadableFile file(dir / name);
        EXPECT_FALSE(file.IsOpen()) << name;
        EXPECT_EQ(file.Problem(), "not a regular file") << name;
    }
    const ReadableFile missing(dir / "missing");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Problem(), "No such file or directory");
    EXPECT_EQ(ReadableFile("/dev/zero").Problem(), "not a regular file");
}

namespace {

bool IsOpenDescriptor(int fd) { return fcntl(fd, F_GETFD) != -1; }

int OpenNull() { return open("/dev/null", O_RDONLY | O_CLOEXEC); }

} // namespace

TEST(FileDescriptor, ClosesWhatItHoldsWhenItGoesOrIsReplaced) {
    const int first = OpenNull();
    const int second = OpenNull();
    {
        FileDescriptor file(first);
        file = FileDescriptor(second);
        EXPECT_FALSE(IsOpenDescriptor(first)) << "replaced";
        EXPECT_EQ(file.Get(), second);
    }
    EXPECT_FALSE(IsOpenDescriptor(second)) << "gone";
}

TEST(FileDescriptor, MovingOrReleasingHandsTheDescriptorOnOpen) {
    const int fd = OpenNull();
    FileDescriptor file(fd);
    FileDescriptor moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(moved.Release(), fd);
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_TRUE(IsOpenDescriptor(fd));
    ::close(fd);
}

TEST(FileDescriptor, CloseReportsOnceAndLeavesNothingToCloseAgain) {
    FileDescriptor file(OpenNull());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.Close()) << "nothing held";
    EXPECT_FALSE(FileDescriptor(1000000).Close()) << "no such descriptor";
}
