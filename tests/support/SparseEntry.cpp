#include "support/SparseEntry.h"

#include "core/storage/PackArchive.h"
#include "support/TempDir.h"

#include <stdexcept>

namespace {

void PutInt32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetInt32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

} // namespace

void ClaimEntrySize(const std::filesystem::path& archive, std::string_view name, std::int32_t size) {
    int index = -1;
    {
        PackArchive pak;
        pak.Open(archive);
        index = pak.IndexOf(name);
    }
    if (index < 0)
        throw std::invalid_argument("no such entry");
    Bytes bytes = ReadFileBytes(archive);
    const std::size_t record = GetInt32(bytes, 4) + static_cast<std::size_t>(index) * PackArchive::kRecordSize;
    PutInt32(bytes, record + PackArchive::kNameSize, static_cast<std::uint32_t>(bytes.size()));
    PutInt32(bytes, record + PackArchive::kNameSize + 4, static_cast<std::uint32_t>(size));
    const auto end = static_cast<std::uintmax_t>(bytes.size()) + static_cast<std::uintmax_t>(size);
    WriteFileBytes(archive, bytes);
    std::filesystem::resize_file(archive, end);
}
