#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>

// A file in memory holding the input, opened by path like any file on disk.
inline std::string FuzzFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz-input", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        __builtin_trap();
    return "/proc/self/fd/" + std::to_string(fd);
}
