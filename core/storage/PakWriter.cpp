#include "core/storage/PakWriter.h"

#include "core/base/AtomicFile.h"
#include "core/base/StorageError.h"
#include "core/storage/PackArchive.h"

#include <cstdint>
#include <limits>

namespace {

void AppendInt32(Bytes& out, std::int64_t value) {
    if (value < 0 || value > std::numeric_limits<std::int32_t>::max())
        throw StorageError("archive too large");
    AppendLittle32(out, static_cast<std::uint32_t>(value));
}

} // namespace

Bytes BuildPak(const std::vector<PakEntry>& entries) {
    Bytes pak = {'P', 'A', 'C', 'K'};
    std::int64_t dataSize = 0;
    for (const PakEntry& entry : entries)
        dataSize += static_cast<std::int64_t>(entry.Data.size());
    AppendInt32(pak, PackArchive::kHeaderSize + dataSize);
    AppendInt32(pak, static_cast<std::int64_t>(entries.size()) * PackArchive::kRecordSize);

    Bytes directory;
    for (const PakEntry& entry : entries) {
        if (entry.Name.size() > PackArchive::kNameSize)
            throw StorageError("archive entry name longer than 120 bytes");
        directory.insert(directory.end(), entry.Name.begin(), entry.Name.end());
        directory.resize(directory.size() + PackArchive::kNameSize - entry.Name.size(), 0);
        AppendInt32(directory, static_cast<std::int64_t>(pak.size()));
        AppendInt32(directory, static_cast<std::int64_t>(entry.Data.size()));
        pak.insert(pak.end(), entry.Data.begin(), entry.Data.end());
    }
    pak.insert(pak.end(), directory.begin(), directory.end());
    return pak;
}

void WritePakFile(const std::filesystem::path& path, const std::vector<PakEntry>& entries) {
    WriteFileAtomically(path, BuildPak(entries));
}
