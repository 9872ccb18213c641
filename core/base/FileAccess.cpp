#include "core/base/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() { return std::exchange(fd_, -1); }

bool FileDescriptor::Close() { return fd_ < 0 || ::close(Release()) == 0; }

ReadableFile::ReadableFile(const std::filesystem::path& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    if (!fd_.IsOpen()) {
        error_ = errno;
        return;
    }
    struct stat info {};
    if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fd_.Close();
        return;
    }
    size_ = info.st_size;
}

bool ReadableFile::IsMissing() const { return error_ == ENOENT || error_ == ENOTDIR; }

std::string ReadableFile::Problem() const {
    if (IsOpen())
        return {};
    return error_ != 0 ? std::strerror(error_) : "not a regular file";
}

bool ReadableFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> into) const {
    while (!into.empty()) {
        const ssize_t got = ::pread(fd_.Get(), into.data(), into.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into = into.subspan(static_cast<std::size_t>(got));
        offset += got;
    }
    return true;
}

bool ReadableFile::ReadAll(Bytes& bytes) const {
    bytes.resize(static_cast<std::size_t>(size_));
    return ReadAt(0, bytes);
}

FileDescriptor OpenForAppend(const std::filesystem::path& path) {
    FileDescriptor file(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644));
    struct stat info {};
    if (file.IsOpen() && (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)))
        return {};
    return file;
}

bool WriteAll(int fd, ByteView bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}
