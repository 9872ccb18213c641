#include "tools/skq/formats/ShownPicture.h"

#include "core/base/StorageError.h"
#include "core/storage/Bitmap.h"
#include "core/storage/BmpReader.h"
#include "core/storage/GifDecoder.h"
#include "core/storage/JpegDecoder.h"
#include "core/storage/PackArchive.h"
#include "tools/skq/i18n/Translation.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>

namespace skq {

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

bool StartsWith(ByteView data, std::string_view magic, std::size_t offset = 0) {
    return data.size() >= offset + magic.size() &&
           std::equal(magic.begin(), magic.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// The kinds the program shows, kept as they are.
struct KeptKind {
    std::string_view Magic;
    std::string_view Extension;
    void (*Decode)(ByteView, Bitmap&);
};
const std::array<KeptKind, 4> kKeptKinds = {{
    {"\xFF\xD8\xFF", ".jpg", DecodeJpeg},
    {"GIF87a", ".gif", DecodeGif},
    {"GIF89a", ".gif", DecodeGif},
    {"BM", ".bmp", DecodeBmp},
}};

// Kinds a teacher may well have that the program doesn't show, as the message names them.
std::string_view UnshownKindName(ByteView data) {
    if (StartsWith(data, "RIFF") && StartsWith(data, "WEBP", 8))
        return "WebP";
    if (StartsWith(data, "II*\0"sv) || StartsWith(data, "MM\0*"sv))
        return "TIFF";
    const std::string_view text(reinterpret_cast<const char*>(data.data()), std::min<std::size_t>(data.size(), 4096));
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '<' && text.find("<svg") != std::string_view::npos)
        return "SVG";
    return {};
}

std::string UnshownKindMessage(std::string_view name, ByteView data) {
    const std::string_view kind = UnshownKindName(data);
    if (kind.empty())
        return Format(Tr("{1} is no picture the program can show (it shows JPEG, GIF and BMP; PNG is converted)"),
                      name);
    return Format(
        Tr("{1} is in the {2} format, which the program can't show (it shows JPEG, GIF and BMP; PNG is converted)"),
        name, kind);
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

// The name with the extension that says the kind; a name that already has it stays as it is.
std::string Renamed(std::string_view name, std::string_view extension) {
    const std::size_t folder = name.rfind('/');
    const std::size_t start = folder == std::string_view::npos ? 0 : folder + 1;
    const std::size_t dot = name.rfind('.');
    const std::size_t end = dot != std::string_view::npos && dot > start ? dot : name.size();
    if (SameIgnoringAsciiCase(name.substr(end), extension))
        return std::string(name);
    return std::string(name.substr(0, end)) + std::string(extension);
}

[[noreturn]] void RefuseTooLarge(std::string_view name, std::uint64_t width, std::uint64_t height,
                                 std::string_view why) {
    throw PictureProblem(Format(Tr("{1} is too large: {2} × {3} pixels, {4}"), name, width, height, why));
}

std::uint64_t BmpRowSize(std::uint64_t width) { return (3 * width + 3) / 4 * 4; }

constexpr std::uint64_t kBmpHeaderSize = 54;

// Refuses a picture the program wouldn't show, or whose BMP would be larger than an archive entry may be.
void CheckConvertibleSize(std::string_view name, std::uint64_t width, std::uint64_t height) {
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
        RefuseTooLarge(name, width, height, Tr("over the 16384 a side and 64 million in all that the program shows"));
    if (kBmpHeaderSize + BmpRowSize(width) * height > static_cast<std::uint64_t>(EntryCap::kPicture))
        RefuseTooLarge(name, width, height, Tr("over the 64 MB a picture may take as a BMP"));
}

// The size its header claims, checked before libpng reads anything: the header is the first chunk of every PNG.
void CheckPngHeaderSize(std::string_view name, ByteView data) {
    if (!StartsWith(data, "IHDR", 12) || data.size() < 24)
        return;
    const auto big32 = [&](std::size_t offset) {
        return std::uint64_t{data[offset]} << 24 | std::uint64_t{data[offset + 1]} << 16 |
               std::uint64_t{data[offset + 2]} << 8 | data[offset + 3];
    };
    CheckConvertibleSize(name, big32(16), big32(20));
}

// ---- PNG through libpng. libpng reports a failure by a jump back to the last setjmp, over every frame between:
// the steps that call it hold nothing with a destructor, and the callbacks touch only this plain record.
struct PngSource {
    ByteView Data;
    std::size_t Read = 0;
    std::uint32_t Height = 0;      // once the header is read
    std::size_t ReadAfterRows = 0; // bytes asked for once every row was decoded
    bool DataOutlastsRows = false; // set when refused for asking too many
    char Error[160] = {};
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto& source = *static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source.Error, sizeof source.Error, "%s", message);
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

// Once every row is decoded, libpng inflates the rest of the image data up to the stream's end, reading on as long
// as the stream goes: an honest file has a few bytes left (the stream's end and checksum, a chunk's checksum and
// header), a hostile one gigabytes of zeros packed a thousandfold. Past this many bytes the picture is refused, so
// what is inflated after the rows comes from libpng's last read (8 KB) and these at most.
constexpr std::size_t kMostReadAfterRows = 1024;

bool AllRowsDecoded(png_structp png, const PngSource& source) {
    // An interlaced picture's rows are done after the seventh pass, a plain one's after its last row.
    return source.Height > 0 &&
           (png_get_current_pass_number(png) >= 7 || png_get_current_row_number(png) >= source.Height);
}

void ReadPngBytes(png_structp png, png_bytep into, std::size_t count) {
    auto& source = *static_cast<PngSource*>(png_get_io_ptr(png));
    if (AllRowsDecoded(png, source)) {
        source.ReadAfterRows += count;
        if (source.ReadAfterRows > kMostReadAfterRows) {
            source.DataOutlastsRows = true;
            png_error(png, "the image data goes on past the rows");
        }
    }
    if (count > source.Data.size() - source.Read)
        png_error(png, "the file ends early");
    std::memcpy(into, source.Data.data() + source.Read, count);
    source.Read += count;
}

// The most libpng may take to hold one chunk it reads whole.
constexpr png_alloc_size_t kMaxChunkMemory = 4 << 20;

class PngReadStruct {
public:
    explicit PngReadStruct(PngSource& source)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnPngError, IgnorePngWarning)) {
        if (png_ != nullptr)
            info_ = png_create_info_struct(png_);
        if (info_ == nullptr) {
            png_destroy_read_struct(&png_, nullptr, nullptr);
            throw std::bad_alloc();
        }
        png_set_read_fn(png_, &source, ReadPngBytes);
        png_set_user_limits(png_, kMaxPictureSide, kMaxPictureSide);
        png_set_chunk_malloc_max(png_, kMaxChunkMemory);
        // Every ancillary chunk but the transparency is skipped, never decoded: text chunks may be compressed, a
        // thousand of them unpacking to gigabytes. With the colour space chunks, libpng would lay transparent pixels
        // over white in linear light; a browser, and the teacher who drew the picture, see it laid over white in the
        // file's own values.
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    }
    ~PngReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReadStruct(const PngReadStruct&) = delete;
    PngReadStruct& operator=(const PngReadStruct&) = delete;

    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Reads the header and asks for 8-bit BGR rows, the BMP's order, whatever the file holds: palettes and grey
// expanded, 16 bits scaled, transparency laid over white, interlaced passes combined.
bool ReadPngHeaderAsBgr(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    // In the 8 bits of the output, which libpng scales to a 16-bit file's depth.
    png_color_16 white{0, 0xFF, 0xFF, 0xFF, 0xFF};
    png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadPngRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

void AppendLittle16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The header of a 24-bit BMP with its rows bottom-up.
Bytes BmpHeader(std::uint32_t width, std::uint32_t height, std::uint32_t pixelBytes) {
    Bytes header{'B', 'M'};
    for (const std::uint32_t value : {static_cast<std::uint32_t>(kBmpHeaderSize) + pixelBytes, 0u,
                                      static_cast<std::uint32_t>(kBmpHeaderSize), 40u, width, height})
        AppendLittle32(header, value);
    AppendLittle16(header, 1);                                               // planes
    AppendLittle16(header, 24);                                              // bits a pixel
    for (const std::uint32_t value : {0u, pixelBytes, 2835u, 2835u, 0u, 0u}) // plain, 72 dpi, no palette
        AppendLittle32(header, value);
    return header;
}

Bytes BmpFromPng(std::string_view name, ByteView data) {
    CheckPngHeaderSize(name, data);
    PngSource source{data};
    const PngReadStruct reading(source);
    const auto damaged = [&] {
        return PictureProblem(Format(Tr("{1} is a damaged PNG picture: {2}"), name, source.Error));
    };
    if (!ReadPngHeaderAsBgr(reading.Png(), reading.Info()))
        throw damaged();
    const png_uint_32 width = png_get_image_width(reading.Png(), reading.Info());
    const png_uint_32 height = png_get_image_height(reading.Png(), reading.Info());
    CheckConvertibleSize(name, width, height);
    source.Height = height;
    if (png_get_rowbytes(reading.Png(), reading.Info()) != std::size_t{width} * 3)
        throw PictureProblem(Format(Tr("{1} is a PNG picture of a form the program can't convert"), name));
    // libpng writes the rows straight into the BMP, bottom-up; the padding at their ends stays zero.
    const std::size_t rowSize = BmpRowSize(width);
    Bytes bmp = BmpHeader(width, height, static_cast<std::uint32_t>(rowSize * height));
    const std::size_t pixelOffset = bmp.size();
    bmp.resize(pixelOffset + rowSize * height);
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y)
        rows[y] = bmp.data() + pixelOffset + (height - 1 - y) * rowSize;
    if (!ReadPngRows(reading.Png(), rows.data())) {
        if (source.DataOutlastsRows)
            throw PictureProblem(
                Format(Tr("{1} is a damaged PNG picture: its image data is far longer than its {2} × {3} pixels need"),
                       name, width, height));
        throw damaged();
    }
    return bmp;
}

// A picture kept as it is must load as the program loads it.
void CheckKeptPicture(std::string_view name, ByteView data, void (*decode)(ByteView, Bitmap&)) {
    if (data.size() > static_cast<std::size_t>(EntryCap::kPicture))
        throw PictureProblem(Format(Tr("{1} is too large: over the 64 MB a picture may take"), name));
    Bitmap bitmap;
    try {
        decode(data, bitmap);
    } catch (const StorageError& error) {
        throw PictureProblem(Format(Tr("{1} can't be shown: {2}"), name, error.what()));
    }
}

// The header BmpHeader writes, whatever the size: rows bottom-up, 24 bits, 72 dpi, no palette.
bool IsConvertedBmp(ByteView data) {
    return data.size() >= kBmpHeaderSize && StartsWith(data, "BM") && ReadLittle32(data, 10) == kBmpHeaderSize &&
           ReadLittle32(data, 14) == 40 && static_cast<std::int32_t>(ReadLittle32(data, 22)) > 0 &&
           ReadLittle16(data, 28) == 24 && ReadLittle32(data, 30) == 0 && ReadLittle32(data, 38) == 2835 &&
           ReadLittle32(data, 42) == 2835;
}

void AppendPngBytes(png_structp png, png_bytep data, std::size_t size) {
    auto& out = *static_cast<Bytes*>(png_get_io_ptr(png));
    out.insert(out.end(), data, data + size);
}

void FlushNothing(png_structp) {}

// libpng reports a failure by a jump back here; nothing between holds a destructor.
bool WritePngRows(png_structp png, png_infop info, const Bitmap& bitmap, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width), static_cast<png_uint_32>(bitmap.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::optional<Bytes> PngOf(const Bitmap& bitmap) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(static_cast<std::size_t>(bitmap.Height));
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(bitmap.Pixels.data() + y * static_cast<std::size_t>(bitmap.Width) * 3);
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &out, AppendPngBytes, FlushNothing);
        written = WritePngRows(png, info, bitmap, rows.data());
    }
    png_destroy_write_struct(&png, &info);
    return written ? std::optional<Bytes>(std::move(out)) : std::nullopt;
}

} // namespace

ShownPicture ExportedPicture(std::string_view name, ByteView data) {
    Bitmap bitmap;
    try {
        if (IsConvertedBmp(data))
            DecodeBmp(data, bitmap);
    } catch (const StorageError&) {
        // A damaged one leaves the bitmap empty and goes out as it is.
    }
    if (bitmap.Width > 0 && bitmap.Format == PixelFormat::Bits24)
        if (std::optional<Bytes> png = PngOf(bitmap))
            return {Renamed(name, ".png"), std::move(*png)};
    return {std::string(name), Bytes(data.begin(), data.end())};
}

ShownPicture ToShownPicture(std::string_view name, ByteView data) {
    if (StartsWith(data, kPngSignature))
        return ShownPicture{Renamed(name, ".bmp"), BmpFromPng(name, data)};
    for (const KeptKind& kind : kKeptKinds) {
        if (StartsWith(data, kind.Magic)) {
            CheckKeptPicture(name, data, kind.Decode);
            return ShownPicture{Renamed(name, kind.Extension), Bytes(data.begin(), data.end())};
        }
    }
    throw PictureProblem(UnshownKindMessage(name, data));
}

} // namespace skq
