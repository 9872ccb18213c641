#include "storage/AtomicFile.h"

#include "storage/StorageError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool IsReadOnly(const std::filesystem::path& path, std::filesystem::perms permissions) {
    using std::filesystem::perms;
    const perms anyWrite = perms::owner_write | perms::group_write | perms::others_write;
    return (permissions & anyWrite) == perms::none || ::access(path.c_str(), W_OK) != 0;
}

// The mode a new file gets from the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, ByteView bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::filesystem::path& path, ByteView bytes) {
    // A read-only file stays as it is, though its folder would allow the rename.
    std::error_code error;
    const std::filesystem::file_status existing = std::filesystem::status(path, error);
    const bool exists = std::filesystem::exists(existing);
    if (exists && IsReadOnly(path, existing.permissions()))
        throw StorageError("read-only file " + path.string());

    // A fresh name beside the target, so no other file is touched on the way.
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw StorageError("can't write beside " + path.string());
    const mode_t mode = exists ? static_cast<mode_t>(existing.permissions()) : NewFileMode();
    const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw StorageError("can't replace " + path.string());
    }
}
