#include "core/base/AtomicFile.h"

#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string_view>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Hidden and marked, so that no file of the user's is ever taken for one of them.
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::string_view kRandomPart = "XXXXXX"; // what mkstemp replaces
// A write renames its temporary file as soon as the last byte is on disk and touches it
// with every write before, so ten idle minutes mean nobody will finish it.
constexpr std::time_t kStaleAfterSeconds = 10 * 60;

// ".NAME.tmp-" for the target NAME; mkstemp adds six letters or digits.
std::string TemporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(kTemporaryMark);
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    const auto isLetterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return name.size() == prefix.size() + kRandomPart.size() && name.starts_with(prefix) &&
           std::all_of(name.begin() + prefix.size(), name.end(), isLetterOrDigit);
}

bool IsStaleFileOfOurs(const fs::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           std::time(nullptr) - info.st_mtime >= kStaleAfterSeconds;
}

bool IsReadOnly(const fs::path& path, fs::perms permissions) {
    const fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (permissions & anyWrite) == fs::perms::none ||
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_SYMLINK_NOFOLLOW) != 0;
}

// The mode a new file gets from the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void WriteFileAtomically(const fs::path& path, ByteView bytes) {
    // What lies at the path itself, never what a link there points to.
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(path, error);
    const bool exists = fs::exists(existing);
    if (exists && !fs::is_regular_file(existing))
        throw StorageError("not a regular file: " + path.string());
    // A read-only file stays as it is, though its folder would allow the rename.
    if (exists && IsReadOnly(path, existing.permissions()))
        throw StorageError("read-only file " + path.string());

    // A fresh name beside the target (mkstemp never opens an existing file or a link), and
    // rename replaces whatever lies at the path without following it.
    std::string temporary = (path.parent_path() / TemporaryPrefix(path)).string() + std::string(kRandomPart);
    FileDescriptor file(::mkstemp(temporary.data()));
    if (!file.IsOpen())
        throw StorageError("can't write beside " + path.string());
    const mode_t mode = exists ? static_cast<mode_t>(existing.permissions()) : NewFileMode();
    const bool written = ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
    if (!file.Close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw StorageError("can't replace " + path.string());
    }
}

void RemoveStaleTemporaries(const fs::path& path) {
    const std::string prefix = TemporaryPrefix(path);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (IsTemporaryName(it->path().filename().string(), prefix) && IsStaleFileOfOurs(it->path()))
            ::unlink(it->path().c_str());
    }
}
