#pragma once

#include "storage/Bytes.h"

#include <filesystem>

// Writes a temporary file beside the target and renames it over the target, so a
// failure never leaves a half-written file. Raises StorageError.
void WriteFileAtomically(const std::filesystem::path& path, ByteView bytes);
