#pragma once

#include "core/base/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// Owns an open file descriptor and closes it when it goes; -1 holds none.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // Gives the descriptor up without closing it.
    int Release();
    // Closes now, so that a writer can report a failed close (data that never reached the file);
    // false then. Closing nothing succeeds.
    bool Close();

private:
    int fd_ = -1;
};

// A regular file open for reading. Opening never blocks: a named pipe, a device or a folder
// is refused at once, so nothing but a file's own bytes is ever read.
class ReadableFile {
public:
    explicit ReadableFile(const std::filesystem::path& path);

    bool IsOpen() const { return fd_.IsOpen(); }
    // Nothing at the path, or a path through something that is no folder.
    bool IsMissing() const;
    // Why the file is not open, for messages.
    std::string Problem() const;
    // The size when it was opened.
    std::int64_t Size() const { return size_; }
    // False when the bytes at the offset can't all be read.
    bool ReadAt(std::int64_t offset, std::span<std::uint8_t> into) const;
    // The bytes the file held when it was opened; false when they can't all be read.
    bool ReadAll(Bytes& bytes) const;

private:
    FileDescriptor fd_;
    int error_ = 0; // errno of a failed open; 0 for a file of another kind
    std::int64_t size_ = 0;
};

// Writes every byte, going on after an interrupted or partial write; false on the first failure.
bool WriteAll(int fd, ByteView bytes);

// Opens for appending only a regular file that may be read and written, creating it when
// missing; never follows a link and never opens a pipe or device. Closed when that fails.
FileDescriptor OpenForAppend(const std::filesystem::path& path);
