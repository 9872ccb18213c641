#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// Makes the named entry of an archive claim `size` bytes at the end of the file, which grows to hold them
// without taking disk space: a large entry as a file passed around could hold it.
void ClaimEntrySize(const std::filesystem::path& archive, std::string_view name, std::int32_t size);
