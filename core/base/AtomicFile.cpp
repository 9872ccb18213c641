#include "core/base/AtomicFile.h"

#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <set>
#include <string_view>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Hidden, marked, and without the target's dots, so that no file of the user's is ever taken
// for one of them and no pattern on the target's extension matches them.
constexpr std::string_view kTemporaryMark = "~tmp-";
// What writers before this one wrote: ".NAME.tmp-", still recognised to clear them away.
constexpr std::string_view kOlderTemporaryMark = ".tmp-";
constexpr std::string_view kRandomPart = "XXXXXX"; // what mkstemp replaces
// A write renames its temporary file as soon as the last byte is on disk and touches it
// with every write before, so ten idle minutes mean nobody will finish it.
constexpr std::time_t kStaleAfterSeconds = 10 * 60;
// A batch holds at most this much before it is synced and renamed.
constexpr std::size_t kBatchFiles = 256;
constexpr std::size_t kBatchBytes = 64u << 20;

// The target's name as its temporary files carry it: without dots.
std::string MarkedName(std::string name) {
    std::replace(name.begin(), name.end(), '.', '~');
    return name;
}

// ".~NAME~ext~tmp-" for the target NAME.ext; mkstemp adds six letters or digits.
std::string TemporaryPrefix(const fs::path& target) {
    return ".~" + MarkedName(target.filename().string()) + std::string(kTemporaryMark);
}

// The marked name of the target a temporary file of either form was written for.
std::string MarkedTargetOf(std::string_view temporary) {
    const std::size_t end = temporary.size() - kTemporaryMark.size() - kRandomPart.size();
    const bool older = temporary.substr(end, kTemporaryMark.size()) == kOlderTemporaryMark;
    const std::size_t start = older ? 1 : 2;
    return MarkedName(std::string(temporary.substr(start, std::max(end, start) - start)));
}

std::string OlderTemporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(kOlderTemporaryMark);
}

bool EndsInRandomPart(std::string_view name) {
    const auto isLetterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return name.size() >= kRandomPart.size() &&
           std::all_of(name.end() - kRandomPart.size(), name.end(), isLetterOrDigit);
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    return name.size() == prefix.size() + kRandomPart.size() && name.starts_with(prefix) && EndsInRandomPart(name);
}

bool IsRegularFileOfOurs(const fs::path& file, std::time_t idleSeconds) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           std::time(nullptr) - info.st_mtime >= idleSeconds;
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

[[noreturn]] void Fail(std::string_view what, const fs::path& path, int error) {
    throw StorageError(std::string(what) + " " + path.string() + ": " + std::strerror(error));
}

// The mode the new file takes; refuses what lies at the path unless it is a writable regular
// file, never looking through a link.
mode_t ModeForReplacing(const fs::path& path) {
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(path, error);
    if (!fs::exists(existing))
        return NewFileMode();
    if (!fs::is_regular_file(existing))
        throw StorageError("not a regular file: " + path.string());
    // A read-only file stays as it is, though its folder would allow the rename.
    if (IsReadOnly(path, existing.permissions()))
        throw StorageError("read-only file " + path.string());
    return static_cast<mode_t>(existing.permissions());
}

// A fresh file beside the target (mkstemp never opens an existing file or a link) holding the
// bytes, synced when asked; its name. Nothing is left behind on failure.
std::string WriteTemporary(const fs::path& path, ByteView bytes, bool sync) {
    const mode_t mode = ModeForReplacing(path);
    std::string temporary = (path.parent_path() / TemporaryPrefix(path)).string() + std::string(kRandomPart);
    FileDescriptor file(::mkstemp(temporary.data()));
    if (!file.IsOpen())
        Fail("can't write beside", path, errno);
    const bool written =
        ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), bytes) && (!sync || ::fsync(file.Get()) == 0);
    const int error = errno;
    if (!file.Close() || !written) {
        const int reason = written ? errno : error;
        ::unlink(temporary.c_str());
        Fail("can't write", path, reason);
    }
    return temporary;
}

// rename replaces whatever lies at the path without following it.
void RenameOver(const std::string& temporary, const fs::path& path) {
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail("can't replace", path, error);
    }
}

fs::path FolderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

// One flush of each file system that holds one of the folders: cheaper than one per file.
void SyncFileSystems(const std::set<fs::path>& folders) {
    std::set<dev_t> synced;
    for (const fs::path& folder : folders) {
        const FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (!directory.IsOpen() || ::fstat(directory.Get(), &info) != 0)
            Fail("can't write to disk in", folder, errno);
        if (synced.insert(info.st_dev).second && ::syncfs(directory.Get()) != 0)
            Fail("can't write to disk in", folder, errno);
    }
}

// The folder's entries on disk, so that renamed files stay renamed after a power loss.
void SyncFolder(const fs::path& folder) {
    const FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.IsOpen())
        ::fsync(directory.Get());
}

} // namespace

void WriteFileAtomically(const fs::path& path, ByteView bytes) { RenameOver(WriteTemporary(path, bytes, true), path); }

void RemoveStaleTemporaries(const fs::path& path) {
    const std::string prefix = TemporaryPrefix(path), olderPrefix = OlderTemporaryPrefix(path);
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(path), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if ((IsTemporaryName(name, prefix) || IsTemporaryName(name, olderPrefix)) &&
            IsRegularFileOfOurs(it->path(), kStaleAfterSeconds))
            ::unlink(it->path().c_str());
    }
}

bool IsTemporaryFileName(std::string_view name) {
    const std::size_t markAt = name.size() - std::min(name.size(), kTemporaryMark.size() + kRandomPart.size());
    const std::string_view mark = name.substr(markAt, kTemporaryMark.size());
    return name.starts_with('.') && markAt > 1 && (mark == kTemporaryMark || mark == kOlderTemporaryMark) &&
           EndsInRandomPart(name);
}

FileBatch::~FileBatch() {
    for (const Pending& file : pending_)
        ::unlink(file.Temporary.c_str());
}

void FileBatch::RemoveLeftovers(const fs::path& target) {
    const fs::path folder = FolderOf(target);
    auto [leftovers, fresh] = leftovers_.try_emplace(folder);
    if (fresh) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (IsTemporaryFileName(name))
                leftovers->second.emplace(MarkedTargetOf(name), it->path());
        }
    }
    const auto [first, last] = leftovers->second.equal_range(MarkedName(target.filename().string()));
    for (auto it = first; it != last; ++it)
        if (IsRegularFileOfOurs(it->second, 0))
            ::unlink(it->second.c_str());
    leftovers->second.erase(first, last);
}

void FileBatch::Write(const fs::path& target, ByteView bytes) {
    RemoveLeftovers(target);
    pending_.push_back({WriteTemporary(target, bytes, false), target});
    pendingBytes_ += bytes.size();
    if (pending_.size() >= kBatchFiles || pendingBytes_ >= kBatchBytes)
        Commit();
}

void FileBatch::Commit() {
    if (pending_.empty())
        return;
    std::set<fs::path> folders;
    for (const Pending& file : pending_)
        folders.insert(FolderOf(file.Target));
    SyncFileSystems(folders);
    std::size_t renamed = 0;
    try {
        for (; renamed < pending_.size(); ++renamed)
            RenameOver(pending_[renamed].Temporary, pending_[renamed].Target);
    } catch (const StorageError&) {
        // The failed one is gone too; the rest stay for the destructor.
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(renamed) + 1);
        committed_ += renamed;
        throw;
    }
    committed_ += renamed;
    pending_.clear();
    pendingBytes_ = 0;
    for (const fs::path& folder : folders)
        SyncFolder(folder);
}
