#include "support/PictureFiles.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

// jpeglib.h uses FILE and size_t without declaring them.
#include <jpeglib.h>

Bitmap SentinelBitmap() {
    Bitmap bitmap;
    bitmap.Width = 3;
    bitmap.Height = 2;
    bitmap.Format = PixelFormat::Bits8;
    bitmap.Palette[1] = {1, 2, 3};
    bitmap.Pixels = {0, 1, 2, 3, 4, 5};
    return bitmap;
}

bool SameBitmap(const Bitmap& a, const Bitmap& b) {
    return a.Width == b.Width && a.Height == b.Height && a.Format == b.Format && a.Palette == b.Palette &&
           a.Pixels == b.Pixels;
}

Rgb GradientColour(int x, int y, int width, int height) {
    return {static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1)),
            static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1)), 96};
}

// ---- JPEG

namespace {

using SampleRow = std::function<void(int y, std::uint8_t* row)>;
using Setup = std::function<void(jpeg_compress_struct&)>;

// A compressor writing to memory; the file is taken once the compressor has finished.
class MemoryCompressor {
public:
    MemoryCompressor() {
        Info.err = jpeg_std_error(&errors_);
        jpeg_create_compress(&Info);
        jpeg_mem_dest(&Info, &buffer_, &size_);
    }
    ~MemoryCompressor() {
        jpeg_destroy_compress(&Info);
        std::free(buffer_);
    }
    MemoryCompressor(const MemoryCompressor&) = delete;
    MemoryCompressor& operator=(const MemoryCompressor&) = delete;

    Bytes File() const { return Bytes(buffer_, buffer_ + size_); }

    jpeg_compress_struct Info{};

private:
    jpeg_error_mgr errors_{};
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
};

// Chosen after the colour space, which resets the sampling factors.
void ApplyCoding(jpeg_compress_struct& info, JpegCoding coding) {
    if (coding.FirstChannelAcross != 0) {
        info.comp_info[0].h_samp_factor = coding.FirstChannelAcross;
        info.comp_info[0].v_samp_factor = coding.FirstChannelDown;
    }
    if (coding.Progressive)
        jpeg_simple_progression(&info);
    info.arith_code = coding.Arithmetic ? TRUE : FALSE;
    info.restart_interval = static_cast<unsigned>(coding.RestartInterval);
}

Bytes CompressJpeg(int width, int height, int components, J_COLOR_SPACE space, const Setup& setup,
                   const SampleRow& fillRow, JpegCoding coding = {}) {
    MemoryCompressor compressor;
    jpeg_compress_struct& info = compressor.Info;
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    setup(info);
    ApplyCoding(info, coding);
    jpeg_start_compress(&info, TRUE);
    Bytes row(static_cast<std::size_t>(width) * components);
    while (info.next_scanline < info.image_height) {
        fillRow(static_cast<int>(info.next_scanline), row.data());
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return compressor.File();
}

SampleRow GradientRows(int width, int height) {
    return [width, height](int y, std::uint8_t* row) {
        for (int x = 0; x < width; ++x, row += 3) {
            const Rgb colour = GradientColour(x, y, width, height);
            row[0] = colour.R;
            row[1] = colour.G;
            row[2] = colour.B;
        }
    };
}

void NoSetup(jpeg_compress_struct&) {}

struct JpegSegment {
    std::size_t Start, End;
    std::uint8_t Marker;
};

bool IsMarkerAt(const Bytes& jpeg, std::size_t at) {
    const std::uint8_t next = jpeg[at + 1];
    return jpeg[at] == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7);
}

// The marker segments after the start marker; a scan's segment includes its coded data.
std::vector<JpegSegment> JpegSegments(const Bytes& jpeg) {
    std::vector<JpegSegment> segments;
    std::size_t at = 2;
    while (at + 1 < jpeg.size()) {
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xD9) {
            segments.push_back({at, at + 2, marker});
            break;
        }
        std::size_t end = at + 2 + (static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3]);
        if (marker == 0xDA) {
            while (end + 1 < jpeg.size() && !IsMarkerAt(jpeg, end))
                ++end;
        }
        segments.push_back({at, end, marker});
        at = end;
    }
    return segments;
}

// Start-of-frame markers: C0 to CF but for the table markers among them.
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

Bytes MakeTestJpeg(int width, int height, JpegCoding coding) {
    return CompressJpeg(width, height, 3, JCS_RGB, NoSetup, GradientRows(width, height), coding);
}

Bytes MakeProgressiveJpeg(int width, int height) { return MakeTestJpeg(width, height, {.Progressive = true}); }

Bytes MakeGreyJpeg(int width, int height, JpegCoding coding) {
    const SampleRow redRows = [width, height](int y, std::uint8_t* row) {
        for (int x = 0; x < width; ++x)
            row[x] = GradientColour(x, y, width, height).R;
    };
    return CompressJpeg(width, height, 1, JCS_GRAYSCALE, NoSetup, redRows, coding);
}

Bytes MakeTwoChannelJpeg(int width, int height) {
    const Setup unknown = [](jpeg_compress_struct& info) { jpeg_set_colorspace(&info, JCS_UNKNOWN); };
    return CompressJpeg(width, height, 2, JCS_UNKNOWN, unknown, [width](int y, std::uint8_t* row) {
        for (int x = 0; x < width * 2; ++x)
            row[x] = static_cast<std::uint8_t>(x + y);
    });
}

Bytes MakeCmykJpeg(int width, int height, Ink stored, InkStorage storage, JpegCoding coding) {
    const Setup setup = [storage](jpeg_compress_struct& info) {
        jpeg_set_colorspace(&info, storage == InkStorage::AdobeYcck ? JCS_YCCK : JCS_CMYK);
        info.write_Adobe_marker = storage != InkStorage::Plain;
    };
    const SampleRow flatRows = [width, stored](int, std::uint8_t* row) {
        for (int x = 0; x < width; ++x, row += 4) {
            row[0] = stored.C;
            row[1] = stored.M;
            row[2] = stored.Y;
            row[3] = stored.K;
        }
    };
    return CompressJpeg(width, height, 4, JCS_CMYK, setup, flatRows, coding);
}

std::size_t JpegScanDataStart(const Bytes& jpeg) {
    for (const JpegSegment& segment : JpegSegments(jpeg)) {
        if (segment.Marker == 0xDA)
            return segment.Start + 2 +
                   (static_cast<std::size_t>(jpeg[segment.Start + 2]) << 8 | jpeg[segment.Start + 3]);
    }
    throw std::runtime_error("JPEG without a scan");
}

Bytes RepeatLastJpegScan(const Bytes& jpeg, int times) {
    const std::vector<JpegSegment> segments = JpegSegments(jpeg);
    const auto last = std::find_if(segments.rbegin(), segments.rend(),
                                   [](const JpegSegment& segment) { return segment.Marker == 0xDA; });
    if (last == segments.rend())
        throw std::runtime_error("JPEG without a scan");
    Bytes result(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->End));
    for (int i = 0; i < times; ++i)
        result.insert(result.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->Start),
                      jpeg.begin() + static_cast<std::ptrdiff_t>(last->End));
    result.insert(result.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->End), jpeg.end());
    return result;
}

void SetJpegFrameSize(Bytes& jpeg, int width, int height) {
    for (const JpegSegment& segment : JpegSegments(jpeg)) {
        if (IsFrameHeader(segment.Marker)) {
            std::uint8_t* size = jpeg.data() + segment.Start + 5;
            size[0] = static_cast<std::uint8_t>(height >> 8);
            size[1] = static_cast<std::uint8_t>(height);
            size[2] = static_cast<std::uint8_t>(width >> 8);
            size[3] = static_cast<std::uint8_t>(width);
            return;
        }
    }
    throw std::runtime_error("JPEG without a frame header");
}

namespace {

// Frees a decompressor that reads coefficients however its user ends.
class CoefficientReader {
public:
    explicit CoefficientReader(const Bytes& jpeg) {
        Info.err = jpeg_std_error(&errors_);
        jpeg_create_decompress(&Info);
        jpeg_mem_src(&Info, jpeg.data(), jpeg.size());
        jpeg_read_header(&Info, TRUE);
        Arrays = jpeg_read_coefficients(&Info);
    }
    ~CoefficientReader() { jpeg_destroy_decompress(&Info); }
    CoefficientReader(const CoefficientReader&) = delete;
    CoefficientReader& operator=(const CoefficientReader&) = delete;

    jpeg_decompress_struct Info{};
    jvirt_barray_ptr* Arrays = nullptr;

private:
    jpeg_error_mgr errors_{};
};

// Signs alternate so that no two neighbouring coefficients are alike. Huffman coding holds 10 bits of magnitude;
// arithmetic coding holds more, and a magnitude of 2^13 makes it decide the most bits.
void FillEveryBlock(CoefficientReader& reader, bool arithmetic) {
    const JCOEF magnitude = arithmetic ? 8192 : 1023;
    jpeg_decompress_struct& info = reader.Info;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        for (JDIMENSION y = 0; y < component.height_in_blocks; ++y) {
            JBLOCKARRAY row =
                info.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&info), reader.Arrays[c], y, 1, TRUE);
            for (JDIMENSION x = 0; x < component.width_in_blocks; ++x)
                for (int k = 1; k < DCTSIZE2; ++k)
                    row[0][x][k] = static_cast<JCOEF>((k + x + y) % 2 == 0 ? magnitude : -magnitude);
        }
    }
}

} // namespace

Bytes RecodeWithFullBlocks(const Bytes& jpeg, JpegCoding coding) {
    CoefficientReader reader(jpeg);
    FillEveryBlock(reader, coding.Arithmetic);
    MemoryCompressor compressor;
    jpeg_copy_critical_parameters(&reader.Info, &compressor.Info);
    // The standard Huffman tables cannot code such magnitudes; arithmetic coding adapts by itself.
    compressor.Info.optimize_coding = coding.Arithmetic ? FALSE : TRUE;
    JpegCoding recoding = coding;
    recoding.FirstChannelAcross = 0; // coefficients keep their sampling
    ApplyCoding(compressor.Info, recoding);
    jpeg_write_coefficients(&compressor.Info, reader.Arrays);
    jpeg_finish_compress(&compressor.Info);
    return compressor.File();
}

// ---- GIF

namespace {

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto& out = *static_cast<Bytes*>(gif->UserData);
    out.insert(out.end(), data, data + length);
    return length;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapDeleter>;

ColourMap MakeColourMap(const std::vector<Rgb>& colours) {
    if (colours.empty())
        return nullptr;
    std::vector<GifColorType> entries;
    for (const Rgb& colour : colours)
        entries.push_back({colour.R, colour.G, colour.B});
    return ColourMap(GifMakeMapObject(static_cast<int>(entries.size()), entries.data()));
}

void Check(int result, const char* what) {
    if (result == GIF_ERROR)
        throw std::runtime_error(std::string("giflib failed: ") + what);
}

// Rows in the order the file stores them.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int firsts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = firsts[pass]; y < height; y += steps[pass])
            order.push_back(y);
    return order;
}

} // namespace

Bytes MakeGif(const GifLayout& layout) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
    if (gif == nullptr)
        throw std::runtime_error("EGifOpen failed");
    const ColourMap global = MakeColourMap(layout.GlobalColours);
    const ColourMap local = MakeColourMap(layout.LocalColours);
    Check(EGifPutScreenDesc(gif, layout.ScreenWidth, layout.ScreenHeight, 8, layout.Background, global.get()),
          "screen");
    Check(EGifPutImageDesc(gif, layout.Left, layout.Top, layout.Width, layout.Height, layout.Interlaced, local.get()),
          "image");
    Bytes row(static_cast<std::size_t>(layout.Width));
    for (int y : StoredRowOrder(layout.Height, layout.Interlaced)) {
        std::copy_n(layout.Indexes.begin() + static_cast<std::ptrdiff_t>(y) * layout.Width, layout.Width, row.begin());
        Check(EGifPutLine(gif, row.data(), layout.Width), "line");
    }
    Check(EGifCloseFile(gif, &error), "close");
    return out;
}

Bytes WithoutGlobalColourTable(const Bytes& gif) {
    constexpr std::size_t kFlagsAt = 10, kTableAt = 13;
    const std::uint8_t flags = gif.at(kFlagsAt);
    if ((flags & 0x80) == 0)
        return gif;
    const std::size_t tableBytes = 3u << ((flags & 0x07) + 1);
    Bytes result(gif.begin(), gif.begin() + kTableAt);
    result[kFlagsAt] = static_cast<std::uint8_t>(flags & 0x7F);
    result.insert(result.end(), gif.begin() + static_cast<std::ptrdiff_t>(kTableAt + tableBytes), gif.end());
    return result;
}

std::uint8_t PatternIndex(int x, int y) { return static_cast<std::uint8_t>((x * 3 + y * 5) % 16); }

Rgb PatternColour(int index) {
    return {static_cast<std::uint8_t>(index * 16), static_cast<std::uint8_t>(255 - index * 16),
            static_cast<std::uint8_t>(index * 7 % 16 * 16)};
}

Bytes MakeTestGif(int width, int height) {
    GifLayout layout;
    layout.ScreenWidth = layout.Width = width;
    layout.ScreenHeight = layout.Height = height;
    for (int i = 0; i < 16; ++i)
        layout.GlobalColours.push_back(PatternColour(i));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            layout.Indexes.push_back(PatternIndex(x, y));
    return MakeGif(layout);
}

// ---- BMP

namespace {

void PutU16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutInfoHeader(Bytes& out, const BmpLayout& layout) {
    PutU32(out, static_cast<std::uint32_t>(layout.Width));
    PutU32(out, static_cast<std::uint32_t>(layout.Height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(layout.BitCount));
    PutU32(out, layout.Compression);
    PutU32(out, static_cast<std::uint32_t>(layout.PixelData.size()));
    PutU32(out, 2835); // 72 dots an inch
    PutU32(out, 2835);
    PutU32(out, layout.ColoursUsed);
    PutU32(out, 0);
    const bool masksInHeader = layout.HeaderSize > 40;
    if (masksInHeader || layout.Compression == 3)
        for (std::uint32_t mask : layout.Masks)
            PutU32(out, mask);
    if (masksInHeader)
        out.resize(14 + layout.HeaderSize); // colour space fields left zero
}

} // namespace

Bytes MakeBmp(const BmpLayout& layout) {
    Bytes out = {'B', 'M'};
    PutU32(out, 0); // file size, filled in below
    PutU32(out, 0);
    PutU32(out, 0); // pixel offset, filled in below
    PutU32(out, layout.HeaderSize);
    if (layout.HeaderSize == 12) {
        PutU16(out, static_cast<std::uint32_t>(layout.Width));
        PutU16(out, static_cast<std::uint32_t>(layout.Height));
        PutU16(out, 1);
        PutU16(out, static_cast<std::uint32_t>(layout.BitCount));
    } else {
        PutInfoHeader(out, layout);
    }
    for (const Rgb& colour : layout.Palette) {
        out.insert(out.end(), {colour.B, colour.G, colour.R});
        if (layout.HeaderSize != 12)
            out.push_back(0);
    }
    const auto pixelOffset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), layout.PixelData.begin(), layout.PixelData.end());
    const auto fileSize = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) {
        out[2 + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
        out[10 + i] = static_cast<std::uint8_t>(pixelOffset >> (8 * i));
    }
    return out;
}

Bytes PackBmpRows(const std::vector<std::uint32_t>& values, int width, int height, int bitCount, bool topDown) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    Bytes out(stride * height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = out.data() + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t value = values.at(static_cast<std::size_t>(y) * width + x);
            if (bitCount < 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                row[bit / 8] |= static_cast<std::uint8_t>(value << (8 - bitCount - bit % 8));
            } else if (bitCount == 24) {
                std::uint8_t* pixel = row + x * 3;
                pixel[0] = static_cast<std::uint8_t>(value);
                pixel[1] = static_cast<std::uint8_t>(value >> 8);
                pixel[2] = static_cast<std::uint8_t>(value >> 16);
            } else {
                for (int i = 0; i < bitCount / 8; ++i)
                    row[x * (bitCount / 8) + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
    }
    return out;
}

std::uint32_t BmpPixelOffset(const Bytes& bmp) {
    return static_cast<std::uint32_t>(bmp.at(10) | bmp.at(11) << 8 | bmp.at(12) << 16 | bmp.at(13) << 24);
}

Bytes MakeTestBmp24(int width, int height) {
    std::vector<std::uint32_t> values;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb colour = GradientColour(x, y, width, height);
            values.push_back(static_cast<std::uint32_t>(colour.R) << 16 | colour.G << 8 | colour.B);
        }
    BmpLayout layout;
    layout.Width = width;
    layout.Height = height;
    layout.BitCount = 24;
    layout.PixelData = PackBmpRows(values, width, height, 24, false);
    return MakeBmp(layout);
}
