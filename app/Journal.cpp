#include "app/Journal.h"

#include "storage/CodePage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

std::filesystem::path JournalPath;
int JournalLevel = 0;

namespace {

JournalObserver observer;

// Opens for appending only a regular file that may be read and written; never
// follows a pipe or replaces an existing file.
int OpenForAppend(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool EndsWithLineBreak(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size == 0)
        return true;
    char last = 0;
    return ::pread(fd, &last, 1, info.st_size - 1) == 1 && (last == '\n' || last == '\r');
}

std::string LocalTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return JournalTimestamp(local);
}

} // namespace

std::string JournalTimestamp(const std::tm& local) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
    std::string stamp = text;
    if (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0) {
        std::snprintf(text, sizeof text, " %02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
        stamp += text;
    }
    return stamp;
}

JournalObserver SetJournalObserver(JournalObserver newObserver) {
    return std::exchange(observer, std::move(newObserver));
}

void WriteJournal(int level, std::u16string_view message) {
    if (observer)
        observer(level, message);
    if (level > JournalLevel || JournalPath.empty())
        return;
    const int fd = OpenForAppend(JournalPath);
    if (fd < 0)
        return;
    std::string record = EndsWithLineBreak(fd) ? "" : "\r\n";
    record += LocalTimestamp() + " - " + WideToAnsi(message) + "\r\n";
    // One write, so a record never lands half; a failed write is simply lost.
    [[maybe_unused]] const ssize_t written = ::write(fd, record.data(), record.size());
    ::close(fd);
}
