#pragma once

#include "core/base/Bytes.h"

#include <filesystem>
#include <string>
#include <vector>

// Builds archives for authors' tools and test fixtures: header, entry data in
// order, then the directory. The program itself never writes an archive.
struct PakEntry {
    std::string Name; // Windows-1250, at most 120 bytes
    Bytes Data;
};

// Raises StorageError for a name longer than 120 bytes or an archive over 2 GB.
Bytes BuildPak(const std::vector<PakEntry>& entries);
// Raises StorageError when the file can't be written.
void WritePakFile(const std::filesystem::path& path, const std::vector<PakEntry>& entries);
