#pragma once

#include "core/base/Bytes.h"
#include "core/base/FileAccess.h"
#include "core/storage/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The largest entry of each kind that is read at all, checked before anything is allocated. Real question and
// set list documents are kilobytes, attached texts tens of kilobytes, pictures a few megabytes; a 32 MB list holds
// some 300,000 sets. A larger claim is a damaged file, however little of it is on disk.
namespace EntryCap {
inline constexpr std::int32_t kQuestionDocument = 4 << 20;
inline constexpr std::int32_t kSetListDocument = 32 << 20;
inline constexpr std::int32_t kAttachedText = 4 << 20;
inline constexpr std::int32_t kPicture = 64 << 20;
inline constexpr std::int32_t kLargest = kPicture;
} // namespace EntryCap

// A PAK archive: "PACK", directory offset, directory size (32-bit little-endian),
// then entry data and a directory of 128-byte records (120-byte name, offset, size).
// Archives are only read; opening never writes, not even to an empty file.
class PackArchive {
public:
    static constexpr std::int64_t kHeaderSize = 12;
    static constexpr std::int64_t kRecordSize = 128;
    static constexpr std::size_t kNameSize = 120;

    PackArchive() = default;
    ~PackArchive();
    PackArchive(const PackArchive&) = delete;
    PackArchive& operator=(const PackArchive&) = delete;

    // True when the magic is right. A zero-byte file is an empty archive.
    // Raises StorageError when the file can't be opened, or its header or
    // directory lies outside the file; the archive then has no entries.
    bool Open(const std::filesystem::path& path);
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const std::string& NameAt(int index) const { return entries_[index].Name; }
    std::int32_t OffsetAt(int index) const { return entries_[index].Offset; }
    std::int32_t SizeAt(int index) const { return entries_[index].Size; }
    // Directory index of the first entry of that name, letter case ignored; -1 when absent.
    int IndexOf(std::string_view name) const;
    bool Exists(std::string_view name) const { return IndexOf(name) >= 0; }
    // Raises StorageError when the entry's data lies outside the file or is larger than maxSize.
    Bytes ExtractAt(int index, std::int32_t maxSize) const;
    std::optional<Bytes> Extract(std::string_view name, std::int32_t maxSize) const;
    const std::filesystem::path& FileName() const { return fileName_; }

private:
    struct Entry {
        std::string Name; // Windows-1250 bytes up to the first NUL
        std::int32_t Offset;
        std::int32_t Size;
    };

    void Close();
    void ReadExactly(std::int64_t offset, std::uint8_t* into, std::int64_t count) const;
    std::int64_t FileSize() const;
    void ReadDirectory(std::int32_t offset, std::int32_t size);

    std::unique_ptr<ReadableFile> file_;
    std::vector<Entry> entries_;
    std::filesystem::path fileName_;
};

// Lines of a text entry: the bytes up to the first NUL, split at CR LF, lone CR and lone LF.
using TextLines = std::vector<std::string>;
TextLines SplitLines(ByteView bytes);

// False when anything raised; true also for a bad magic (no entries then).
bool PakOpen(const std::filesystem::path& path, PackArchive& pak);
bool PakExists(std::string_view name, const PackArchive& pak);
// None when absent; raises StorageError when the data can't be read or is larger than maxSize.
std::optional<Bytes> PakExtract(std::string_view name, std::int32_t maxSize, const PackArchive& pak);
// False and the lines untouched when the entry is absent; an entry over its cap raises StorageError.
bool PakLoadText(std::string_view name, TextLines& lines, const PackArchive& pak);
// Picks the decoder by the extension (.JPG, .GIF, .BMP in any case); false when the
// entry is absent or the extension is another one. A damaged picture raises StorageError.
bool PakLoadPicture(std::string_view name, Bitmap& bitmap, const PackArchive& pak);
// Pictures the program shows, by the name's extension: .jpg, .gif, .bmp in any letter case.
bool IsShownPictureName(std::string_view name);
bool PakLoadJpeg(std::string_view name, Bitmap& bitmap, const PackArchive& pak);
bool PakLoadGif(std::string_view name, Bitmap& bitmap, const PackArchive& pak);
bool PakLoadBmp(std::string_view name, Bitmap& bitmap, const PackArchive& pak);
