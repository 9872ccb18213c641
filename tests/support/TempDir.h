#pragma once

#include "core/base/Bytes.h"

#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFileBytes(const std::filesystem::path& path, ByteView bytes);
void WriteFileText(const std::filesystem::path& path, std::string_view text);
Bytes ReadFileBytes(const std::filesystem::path& path);
std::string ReadFileText(const std::filesystem::path& path);
Bytes ToBytes(std::string_view text);
