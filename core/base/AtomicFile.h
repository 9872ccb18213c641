#pragma once

#include "core/base/Bytes.h"

#include <filesystem>

// Writes a temporary file beside the target and renames it over the target, so a
// failure never leaves a half-written file. Only a regular file is replaced: a link
// (never followed), a folder or a special file in the target's place stays as it is,
// as does a read-only file. Raises StorageError.
void WriteFileAtomically(const std::filesystem::path& path, ByteView bytes);

// Removes the temporary files that killed writes of the target left beside it: regular
// files of ours named as WriteFileAtomically names them and untouched for ten minutes, so
// that a write still going on in another program keeps its file.
void RemoveStaleTemporaries(const std::filesystem::path& path);
