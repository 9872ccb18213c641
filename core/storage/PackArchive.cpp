#include "core/storage/PackArchive.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"
#include "core/storage/BmpReader.h"
#include "core/storage/GifDecoder.h"
#include "core/storage/JpegDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

std::int32_t ReadInt32(ByteView bytes, std::size_t offset) {
    return static_cast<std::int32_t>(ReadLittle32(bytes, offset));
}

std::string RecordName(ByteView record) {
    const auto* name = reinterpret_cast<const char*>(record.data());
    return std::string(name, strnlen(name, PackArchive::kNameSize));
}

} // namespace

PackArchive::~PackArchive() { Close(); }

void PackArchive::Close() { file_.reset(); }

std::int64_t PackArchive::FileSize() const { return file_ ? file_->Size() : 0; }

void PackArchive::ReadExactly(std::int64_t offset, std::uint8_t* into, std::int64_t count) const {
    if (!file_->ReadAt(offset, std::span(into, static_cast<std::size_t>(count))))
        throw StorageError("archive read past its end");
}

bool PackArchive::Open(const std::filesystem::path& path) {
    Close();
    entries_.clear();
    fileName_ = path;

    auto file = std::make_unique<ReadableFile>(path);
    if (!file->IsOpen())
        throw StorageError("archive can't be opened");
    file_ = std::move(file);
    if (FileSize() == 0)
        return true; // an empty archive, left as it is

    try {
        std::uint8_t header[kHeaderSize];
        ReadExactly(0, header, kHeaderSize);
        if (std::memcmp(header, "PACK", 4) != 0) {
            Close();
            return false;
        }
        ReadDirectory(ReadInt32(header, 4), ReadInt32(header, 8));
    } catch (const StorageError&) {
        Close();
        entries_.clear();
        throw;
    }
    return true;
}

void PackArchive::ReadDirectory(std::int32_t offset, std::int32_t size) {
    const std::int64_t count = size > 0 ? size / kRecordSize : 0;
    if (count == 0)
        return;
    if (offset < 0 || offset + count * kRecordSize > FileSize())
        throw StorageError("archive directory outside the file");
    Bytes directory(static_cast<std::size_t>(count * kRecordSize));
    ReadExactly(offset, directory.data(), count * kRecordSize);
    entries_.reserve(static_cast<std::size_t>(count));
    for (std::size_t at = 0; at < directory.size(); at += kRecordSize) {
        const ByteView record = ByteView(directory).subspan(at, kRecordSize);
        entries_.push_back({RecordName(record), ReadInt32(record, kNameSize), ReadInt32(record, kNameSize + 4)});
    }
}

int PackArchive::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (SameAnsiTextIgnoringCase(entries_[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

Bytes PackArchive::ExtractAt(int index, std::int32_t maxSize) const {
    if (!file_ || index < 0 || index >= EntryCount())
        throw StorageError("no such archive entry");
    const Entry& entry = entries_[index];
    if (entry.Offset < 0 || entry.Size < 0 || std::int64_t{entry.Offset} + entry.Size > FileSize())
        throw StorageError("archive entry outside the file");
    if (entry.Size > maxSize)
        throw StorageError("archive entry larger than its kind allows");
    Bytes data(static_cast<std::size_t>(entry.Size));
    ReadExactly(entry.Offset, data.data(), entry.Size);
    return data;
}

std::optional<Bytes> PackArchive::Extract(std::string_view name, std::int32_t maxSize) const {
    const int index = IndexOf(name);
    if (index < 0)
        return std::nullopt;
    return ExtractAt(index, maxSize);
}

TextLines SplitLines(ByteView bytes) {
    const auto* begin = reinterpret_cast<const char*>(bytes.data());
    const char* end = std::find(begin, begin + bytes.size(), '\0');
    TextLines lines;
    for (const char* at = begin; at != end;) {
        const char* lineEnd = std::find_if(at, end, [](char c) { return c == '\r' || c == '\n'; });
        lines.emplace_back(at, lineEnd);
        at = lineEnd;
        if (at != end && *at++ == '\r' && at != end && *at == '\n')
            ++at;
    }
    return lines;
}

bool PakOpen(const std::filesystem::path& path, PackArchive& pak) {
    try {
        pak.Open(path);
        return true;
    } catch (const StorageError&) {
        return false;
    }
}

bool PakExists(std::string_view name, const PackArchive& pak) { return pak.Exists(name); }

std::optional<Bytes> PakExtract(std::string_view name, std::int32_t maxSize, const PackArchive& pak) {
    return pak.Extract(name, maxSize);
}

bool PakLoadText(std::string_view name, TextLines& lines, const PackArchive& pak) {
    const std::optional<Bytes> data = pak.Extract(name, EntryCap::kAttachedText);
    if (!data)
        return false;
    lines = SplitLines(*data);
    return true;
}

namespace {

using PictureDecoder = void (*)(ByteView, Bitmap&);

bool LoadPictureWith(PictureDecoder decode, std::string_view name, Bitmap& bitmap, const PackArchive& pak) {
    const std::optional<Bytes> data = pak.Extract(name, EntryCap::kPicture);
    if (!data)
        return false;
    decode(*data, bitmap);
    return true;
}

} // namespace

bool PakLoadJpeg(std::string_view name, Bitmap& bitmap, const PackArchive& pak) {
    return LoadPictureWith(DecodeJpeg, name, bitmap, pak);
}

bool PakLoadGif(std::string_view name, Bitmap& bitmap, const PackArchive& pak) {
    return LoadPictureWith(DecodeGif, name, bitmap, pak);
}

bool PakLoadBmp(std::string_view name, Bitmap& bitmap, const PackArchive& pak) {
    return LoadPictureWith(DecodeBmp, name, bitmap, pak);
}

namespace {

// The decoder the name's extension calls for; none for a kind the program doesn't show.
PictureDecoder DecoderFor(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
    if (SameAnsiTextIgnoringCase(extension, ".JPG"))
        return DecodeJpeg;
    if (SameAnsiTextIgnoringCase(extension, ".GIF"))
        return DecodeGif;
    if (SameAnsiTextIgnoringCase(extension, ".BMP"))
        return DecodeBmp;
    return nullptr;
}

} // namespace

bool IsShownPictureName(std::string_view name) { return DecoderFor(name) != nullptr; }

bool PakLoadPicture(std::string_view name, Bitmap& bitmap, const PackArchive& pak) {
    const PictureDecoder decode = DecoderFor(name);
    return pak.Exists(name) && decode != nullptr && LoadPictureWith(decode, name, bitmap, pak);
}
