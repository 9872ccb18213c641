#include "core/storage/PackArchive.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"
#include "core/storage/BmpReader.h"
#include "core/storage/GifDecoder.h"
#include "core/storage/JpegDecoder.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <sys/stat.h>

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

namespace {

// "*" spans any characters, "?" is one character; both sides already upper case.
bool MatchesPlainWildcard(std::u16string_view name, std::u16string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::u16string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// A name with its upper-cased form, computed once: sorting compares each name many times. The
// form is UTF-16 stored big-endian, so comparing its bytes compares the code units in order.
struct ListedName {
    std::string Key;
    std::string Name;
};

// Case-insensitive name order with ties broken by bytes, as the sets' home file system lists them.
bool ComesBefore(const ListedName& a, const ListedName& b) {
    const int order = a.Key.compare(b.Key);
    return order != 0 ? order < 0 : a.Name < b.Name;
}

std::string SortKey(std::u16string_view upperName) {
    std::string key(2 * upperName.size(), '\0');
    for (std::size_t i = 0; i < upperName.size(); ++i) {
        key[2 * i] = static_cast<char>(upperName[i] >> 8);
        key[2 * i + 1] = static_cast<char>(upperName[i] & 0xFF);
    }
    return key;
}

// Most names are ASCII, whose upper case needs no lookup in the Unicode tables.
std::u16string UpperName(std::string_view name) {
    std::u16string upper(name.size(), u'\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return UpperCase(Utf8ToWide(name));
        upper[i] = static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    return upper;
}

// Regular files and links to them; the entry's type spares a stat for most.
bool IsRegularFile(DIR* folder, const dirent& entry) {
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_REG;
    struct stat status;
    return ::fstatat(::dirfd(folder), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// Closes the folder however the listing ends.
struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

bool MatchesUpperWildcard(std::u16string_view upperName, std::u16string_view upperPattern) {
    if (MatchesPlainWildcard(upperName, upperPattern))
        return true;
    // A trailing ".*" may also match the end of the name.
    return upperPattern.ends_with(u".*") &&
           MatchesPlainWildcard(upperName, upperPattern.substr(0, upperPattern.size() - 2));
}

} // namespace

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    return MatchesUpperWildcard(UpperCase(name), UpperCase(pattern));
}

void ListFiles(std::string_view pathPattern, std::string_view namePattern, std::vector<std::string>& names) {
    const std::string joined = std::string(pathPattern) + std::string(namePattern);
    const std::size_t slash = joined.rfind('/');
    const std::filesystem::path folder = slash == std::string::npos ? "." : joined.substr(0, slash + 1);
    const std::u16string mask = UpperCase(Utf8ToWide(slash == std::string::npos ? joined : joined.substr(slash + 1)));

    std::vector<ListedName> found;
    const std::unique_ptr<DIR, FolderCloser> listing(::opendir(folder.c_str()));
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !IsRegularFile(listing.get(), *entry))
            continue;
        const std::u16string upper = UpperName(name);
        if (MatchesUpperWildcard(upper, mask))
            found.push_back({SortKey(upper), std::string(name)});
    }
    // Sorting places, not the names themselves, moves nothing but numbers.
    std::vector<std::uint32_t> order(found.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&found](std::uint32_t a, std::uint32_t b) { return ComesBefore(found[a], found[b]); });
    names.reserve(names.size() + found.size());
    for (const std::uint32_t place : order)
        names.push_back(std::move(found[place].Name));
}
