#include "core/base/Journal.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {

// Another program holds the journal only while it appends one record; one that keeps it
// longer costs us this record rather than more than a moment's wait.
constexpr int kLockAttempts = 100;
constexpr std::chrono::milliseconds kLockPause{1};

// Held while a record is appended and, should it land short, cut off again, so the cut never
// takes another writer's record. A file system without locks appends unlocked.
bool LockForAppend(int fd) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)
            return true;
        std::this_thread::sleep_for(kLockPause);
    }
    return false;
}

bool EndsWithLineBreak(int fd, off_t size) {
    char last = 0;
    return size == 0 || (::pread(fd, &last, 1, size - 1) == 1 && (last == '\n' || last == '\r'));
}

// The record lands whole or not at all: a short write (a full disk) is cut off again.
void AppendRecord(int fd, std::string record) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return;
    if (!EndsWithLineBreak(fd, info.st_size))
        record.insert(0, "\r\n");
    if (WriteAll(fd, ByteView(reinterpret_cast<const std::uint8_t*>(record.data()), record.size())))
        return;
    [[maybe_unused]] const int undone = ::ftruncate(fd, info.st_size);
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

void Journal::Write(int level, std::u16string_view message) const {
    if (observer_)
        observer_(level, message);
    if (level > level_ || file_.empty())
        return;
    const FileDescriptor file = OpenForAppend(file_); // closing gives the lock back
    if (file.IsOpen() && LockForAppend(file.Get()))
        AppendRecord(file.Get(), LocalTimestamp() + " - " + WideToAnsi(message) + "\r\n");
}
