#include "core/storage/BmpReader.h"

#include "core/base/StorageError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kCoreHeaderSize = 12;
constexpr std::uint64_t kInfoHeaderSize = 40;
// Colour masks sit right after the first 40 header bytes: inside the later header forms, after the 40-byte one.
constexpr std::uint64_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

[[noreturn]] void RaiseFailure(const char* why) { throw StorageError(std::string("BMP picture damaged: ") + why); }

// Little-endian fields at offsets from the start of the file; a field past the end is damage.
class FieldReader {
public:
    explicit FieldReader(ByteView data) : data_(data) {}

    std::uint16_t U16(std::uint64_t offset) const {
        Need(offset, 2);
        return ReadLittle16(data_, offset);
    }
    std::uint32_t U32(std::uint64_t offset) const {
        Need(offset, 4);
        return ReadLittle32(data_, offset);
    }
    std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

private:
    void Need(std::uint64_t offset, std::uint64_t count) const {
        if (offset + count > data_.size())
            RaiseFailure("header cut short");
    }

    ByteView data_;
};

struct BmpHeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t Compression = kRgb;
    std::uint64_t PixelOffset = 0;
    std::uint64_t PaletteOffset = 0;
    std::uint64_t PaletteEntrySize = 4;
    std::uint64_t PaletteCount = 0;       // as the header asks, before clamping to the file
    std::array<std::uint32_t, 3> Masks{}; // red, green, blue
};

void ReadCoreHeader(const FieldReader& fields, BmpHeader& header) {
    header.Width = fields.U16(18);
    header.Height = fields.U16(20);
    header.BitCount = fields.U16(24);
    header.PaletteEntrySize = 3;
    header.PaletteOffset = kFileHeaderSize + kCoreHeaderSize;
    header.PaletteCount = header.BitCount <= 8 ? std::uint64_t{1} << header.BitCount : 0;
}

void ReadInfoHeader(const FieldReader& fields, std::uint64_t headerSize, BmpHeader& header) {
    header.Width = fields.I32(18);
    const std::int64_t height = fields.I32(22);
    header.TopDown = height < 0;
    header.Height = header.TopDown ? -height : height;
    header.BitCount = fields.U16(28);
    header.Compression = fields.U32(30);
    header.PaletteOffset = kFileHeaderSize + headerSize;
    if (header.BitCount <= 8) {
        const std::uint64_t used = fields.U32(46);
        const std::uint64_t full = std::uint64_t{1} << header.BitCount;
        header.PaletteCount = used == 0 ? full : std::min(used, full);
    }
    if (header.Compression == kBitFields) {
        for (std::size_t i = 0; i < header.Masks.size(); ++i)
            header.Masks[i] = fields.U32(kMasksOffset + 4 * i);
    }
}

// Without masks in the file, 16 bits a pixel mean 5-5-5 and 32 bits mean 8-8-8 with a spare byte.
std::array<std::uint32_t, 3> DefaultMasks(int bitCount) {
    if (bitCount == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

void CheckForm(const BmpHeader& header) {
    const int bits = header.BitCount;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool fits = (header.Compression == kRgb && known) || (header.Compression == kRle8 && bits == 8) ||
                      (header.Compression == kRle4 && bits == 4) ||
                      (header.Compression == kBitFields && (bits == 16 || bits == 32));
    if (!fits)
        RaiseFailure("unsupported pixel form");
}

BmpHeader ReadHeader(ByteView data) {
    const FieldReader fields(data);
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        RaiseFailure("not a BMP file");
    BmpHeader header;
    header.PixelOffset = fields.U32(10);
    const std::uint64_t headerSize = fields.U32(14);
    if (kFileHeaderSize + headerSize > data.size())
        RaiseFailure("header cut short");
    if (headerSize == kCoreHeaderSize)
        ReadCoreHeader(fields, header);
    else if (headerSize >= kInfoHeaderSize)
        ReadInfoHeader(fields, headerSize, header);
    else
        RaiseFailure("unknown header form");
    CheckForm(header);
    if (header.Compression == kRgb)
        header.Masks = DefaultMasks(header.BitCount);
    CheckPictureSize(header.Width, header.Height);
    if (header.PixelOffset >= data.size())
        RaiseFailure("pixel data outside the file");
    return header;
}

// The palette ends where the pixel data starts, or at the end of the file; a header may ask for more entries.
void ReadPalette(ByteView data, const BmpHeader& header, Bitmap& picture) {
    std::uint64_t end = data.size();
    if (header.PixelOffset > header.PaletteOffset)
        end = std::min(end, header.PixelOffset);
    const std::uint64_t room = end > header.PaletteOffset ? (end - header.PaletteOffset) / header.PaletteEntrySize : 0;
    const std::uint64_t count = std::min({header.PaletteCount, room, std::uint64_t{picture.Palette.size()}});
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = data.data() + header.PaletteOffset + i * header.PaletteEntrySize;
        picture.Palette[i] = {entry[2], entry[1], entry[0]};
    }
}

std::uint64_t RowStride(const BmpHeader& header) {
    return (static_cast<std::uint64_t>(header.Width) * header.BitCount + 31) / 32 * 4;
}

// Bitmap row of the n-th row stored in the file.
std::size_t TargetRow(const BmpHeader& header, std::int64_t stored) {
    return static_cast<std::size_t>(header.TopDown ? stored : header.Height - 1 - stored);
}

// Stored rows must all be in the file; the last one may lack its padding.
ByteView StoredRows(ByteView data, const BmpHeader& header) {
    const std::uint64_t lastRowBytes = (static_cast<std::uint64_t>(header.Width) * header.BitCount + 7) / 8;
    const std::uint64_t needed = RowStride(header) * static_cast<std::uint64_t>(header.Height - 1) + lastRowBytes;
    if (needed > data.size() - header.PixelOffset)
        RaiseFailure("pixel data cut short");
    return data.subspan(header.PixelOffset, needed);
}

void DecodeIndexedRows(ByteView rows, const BmpHeader& header, Bitmap& picture) {
    const std::uint64_t stride = RowStride(header);
    const int bits = header.BitCount;
    const unsigned indexMask = (1u << bits) - 1;
    for (std::int64_t stored = 0; stored < header.Height; ++stored) {
        const std::uint8_t* source = rows.data() + stored * stride;
        std::uint8_t* target = picture.Pixels.data() + TargetRow(header, stored) * picture.Width;
        for (std::int64_t x = 0; x < header.Width; ++x) {
            const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            target[x] = static_cast<std::uint8_t>((source[bit / 8] >> shift) & indexMask);
        }
    }
}

// One colour channel of a 16- or 32-bit pixel, scaled from however many bits its mask holds to 0..255.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), top_(mask >> shift_) {}

    std::uint8_t From(std::uint32_t pixel) const {
        if (top_ == 0)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((value * 255 + top_ / 2) / top_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t top_;
};

void DecodeColourRows(ByteView rows, const BmpHeader& header, Bitmap& picture) {
    const std::uint64_t stride = RowStride(header);
    const std::size_t bytesPerPixel = static_cast<std::size_t>(header.BitCount) / 8;
    const Channel red(header.Masks[0]), green(header.Masks[1]), blue(header.Masks[2]);
    for (std::int64_t stored = 0; stored < header.Height; ++stored) {
        const std::uint8_t* source = rows.data() + stored * stride;
        std::uint8_t* target = picture.Pixels.data() + TargetRow(header, stored) * picture.Width * 3;
        for (std::int64_t x = 0; x < header.Width; ++x, source += bytesPerPixel, target += 3) {
            if (bytesPerPixel == 3) {
                target[0] = source[2];
                target[1] = source[1];
                target[2] = source[0];
                continue;
            }
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < bytesPerPixel; ++i)
                pixel |= static_cast<std::uint32_t>(source[i]) << (8 * i);
            target[0] = red.From(pixel);
            target[1] = green.From(pixel);
            target[2] = blue.From(pixel);
        }
    }
}

// Run-length coded indexes. Runs and deltas that leave the picture are clipped, pixels never written stay index 0,
// and a stream that ends without its end-of-bitmap mark keeps what it drew.
class RleDecoder {
public:
    RleDecoder(ByteView stream, const BmpHeader& header, Bitmap& picture)
        : stream_(stream), header_(header), picture_(picture), fourBit_(header.Compression == kRle4) {}

    void Run() {
        while (line_ < header_.Height && at_ + 2 <= stream_.size()) {
            const std::uint8_t count = stream_[at_];
            const std::uint8_t value = stream_[at_ + 1];
            at_ += 2;
            if (count > 0)
                Repeat(count, value);
            else if (value == 0)
                NextLine();
            else if (value == 1)
                return;
            else if (value == 2)
                Move();
            else
                CopyLiteral(value);
        }
    }

private:
    void Put(std::uint8_t index) {
        if (x_ < header_.Width)
            picture_.Pixels[TargetRow(header_, line_) * picture_.Width + static_cast<std::size_t>(x_)] = index;
        ++x_;
    }

    // The n-th index of a run or literal: a whole byte, or alternately its high and low half.
    std::uint8_t IndexIn(std::uint8_t byte, int n) const {
        if (!fourBit_)
            return byte;
        return n % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    // Only the part of a run inside the picture is drawn: runs past the edge cost no more than short ones.
    void Repeat(int count, std::uint8_t value) {
        const int inside = static_cast<int>(std::clamp<std::int64_t>(header_.Width - x_, 0, count));
        for (int n = 0; n < inside; ++n)
            Put(IndexIn(value, n));
        x_ += count - inside;
    }

    void NextLine() {
        x_ = 0;
        ++line_;
    }

    void Move() {
        if (at_ + 2 > stream_.size()) {
            at_ = stream_.size();
            return;
        }
        x_ += stream_[at_];
        line_ += stream_[at_ + 1];
        at_ += 2;
    }

    // Indexes stored as they are, padded to a whole number of 16-bit words.
    void CopyLiteral(int count) {
        const std::size_t bytes = fourBit_ ? (count + 1) / 2 : count;
        for (int n = 0; n < count; ++n) {
            const std::size_t byteAt = at_ + (fourBit_ ? n / 2 : n);
            if (byteAt >= stream_.size())
                break;
            Put(IndexIn(stream_[byteAt], n));
        }
        at_ = std::min(stream_.size(), at_ + (bytes + 1) / 2 * 2);
    }

    ByteView stream_;
    const BmpHeader& header_;
    Bitmap& picture_;
    bool fourBit_;
    std::size_t at_ = 0;
    std::int64_t x_ = 0;
    std::int64_t line_ = 0;
};

} // namespace

void DecodeBmp(ByteView data, Bitmap& bitmap) {
    const BmpHeader header = ReadHeader(data);
    const bool indexed = header.BitCount <= 8;
    const bool runLength = header.Compression == kRle8 || header.Compression == kRle4;
    const ByteView rows = runLength ? data.subspan(header.PixelOffset) : StoredRows(data, header);

    Bitmap picture;
    picture.Width = static_cast<int>(header.Width);
    picture.Height = static_cast<int>(header.Height);
    picture.Format = indexed ? PixelFormat::Bits8 : PixelFormat::Bits24;
    // Run-length data may skip pixels, which stay at colour 0.
    picture.Pixels.assign(static_cast<std::size_t>(picture.Width) * picture.Height * picture.BytesPerPixel(), 0);
    if (indexed)
        ReadPalette(data, header, picture);
    if (runLength)
        RleDecoder(rows, header, picture).Run();
    else if (indexed)
        DecodeIndexedRows(rows, header, picture);
    else
        DecodeColourRows(rows, header, picture);
    bitmap = std::move(picture);
}
