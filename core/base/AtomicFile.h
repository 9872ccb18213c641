#pragma once

#include "core/base/Bytes.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Writes a temporary file beside the target and renames it over the target, so a
// failure never leaves a half-written file. Only a regular file is replaced: a link
// (never followed), a folder or a special file in the target's place stays as it is,
// as does a read-only file. Raises StorageError with the system's reason.
void WriteFileAtomically(const std::filesystem::path& path, ByteView bytes);

// Removes the temporary files that killed writes of the target left beside it: regular
// files of ours named as WriteFileAtomically names them and untouched for ten minutes, so
// that a write still going on in another program keeps its file.
void RemoveStaleTemporaries(const std::filesystem::path& path);

// Whether a file name is one our writers give their temporary files (today's form or an
// older one). Today's names never contain ".skq", so no folder scan takes them for questions.
bool IsTemporaryFileName(std::string_view name);

// Writes many files, each whole or not at all, with one flush to disk per batch instead of
// one per file: every file goes to a temporary beside its target at once, and when the batch
// is full (or at Commit) the file system is synced once and the files are renamed over their
// targets. A killed batch leaves only temporaries, and a later batch writing the same file
// removes them, whatever their age: two writers of one file at once would race anyway, while
// writers of other files in the folder keep theirs. Raises StorageError with the system's reason.
class FileBatch {
public:
    FileBatch() = default;
    // Temporaries not yet renamed are removed: an unfinished batch changes no target.
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    void Write(const std::filesystem::path& target, ByteView bytes);
    // Every file written so far is in its place and on disk.
    void Commit();
    // Files renamed over their targets so far.
    std::size_t Committed() const { return committed_; }

private:
    struct Pending {
        std::string Temporary;
        std::filesystem::path Target;
    };

    // Removes the temporaries that killed writes of the target left.
    void RemoveLeftovers(const std::filesystem::path& target);

    std::vector<Pending> pending_;
    std::size_t pendingBytes_ = 0;
    std::size_t committed_ = 0;
    // Per folder, listed once: the temporaries found there, by the name of their target.
    std::map<std::filesystem::path, std::multimap<std::string, std::filesystem::path>> leftovers_;
};
