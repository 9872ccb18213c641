// PNG files crafted to cost the conversion to BMP far more than their size: image data that unpacks to gigabytes
// of zeros behind a small or a large picture, plain or interlaced, and thousands of compressed text chunks before
// the image. Each is refused or converted at about the cost of its floor: converting an honest picture of the size
// it declares, or, for the text chunks, checking every chunk's checksum once.

#include "FloorRatio.h"
#include "support/PngChunks.h"
#include "tools/skq/formats/ShownPicture.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace {

// A zlib stream of `segments` × 16 MB of zeros, about a thousandth of that in size: one segment deflated up to a
// full flush, which cuts it loose from what came before, and repeated.
Bytes DeflatedZeros(int segments) {
    constexpr uInt kSegment = 16 << 20;
    const Bytes zeros(kSegment, 0);
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    Bytes segment(deflateBound(&stream, kSegment) + 64), end(64);
    stream.next_in = const_cast<Bytef*>(zeros.data());
    stream.avail_in = kSegment;
    stream.next_out = segment.data();
    stream.avail_out = static_cast<uInt>(segment.size());
    deflate(&stream, Z_FULL_FLUSH);
    segment.resize(segment.size() - stream.avail_out);
    stream.next_out = end.data();
    stream.avail_out = static_cast<uInt>(end.size());
    deflate(&stream, Z_FINISH);
    end.resize(end.size() - stream.avail_out);
    deflateEnd(&stream);

    Bytes out{0x78, 0xDA};
    const uLong segmentChecksum = adler32(1, zeros.data(), kSegment);
    uLong checksum = 1;
    for (int i = 0; i < segments; ++i) {
        out.insert(out.end(), segment.begin(), segment.end());
        checksum = adler32_combine(checksum, segmentChecksum, kSegment);
    }
    out.insert(out.end(), end.begin(), end.end());
    AppendBig32(out, static_cast<std::uint32_t>(checksum));
    return out;
}

// An 8-bit RGB PNG with the given zlib stream as its image data, in chunks of 1 MB, and chunks before it.
Bytes RgbPng(std::uint32_t width, std::uint32_t height, bool interlaced, const Bytes& zlib,
             const Bytes& chunksBefore = {}) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    AppendBig32(header, width);
    AppendBig32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, static_cast<std::uint8_t>(interlaced)});
    AppendChunk(png, "IHDR", header);
    png.insert(png.end(), chunksBefore.begin(), chunksBefore.end());
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t at = 0; at < zlib.size(); at += kChunk)
        AppendChunk(png, "IDAT",
                    Bytes(zlib.begin() + static_cast<std::ptrdiff_t>(at),
                          zlib.begin() + static_cast<std::ptrdiff_t>(std::min(zlib.size(), at + kChunk))));
    AppendChunk(png, "IEND", {});
    return png;
}

// The same picture with its rows of zeros and nothing after them.
Bytes HonestPng(std::uint32_t width, std::uint32_t height) {
    return RgbPng(width, height, false, Deflated(Bytes(std::size_t{height} * (1 + 3 * std::size_t{width}), 0)));
}

// Compressed text chunks, each unpacking to 4 MB of one letter.
Bytes CompressedTexts(int count) {
    Bytes text{'k', 0, 0};
    const Bytes packed = Deflated(Bytes(4 << 20, 'a'));
    text.insert(text.end(), packed.begin(), packed.end());
    Bytes chunks;
    for (int i = 0; i < count; ++i)
        AppendChunk(chunks, "zTXt", text);
    return chunks;
}

void Convert(const Bytes& png) {
    try {
        benchmark::DoNotOptimize(skq::ToShownPicture("a.png", png));
    } catch (const skq::PictureProblem&) {
    }
}

bool Refused(const Bytes& png) {
    try {
        skq::ToShownPicture("a.png", png);
    } catch (const skq::PictureProblem&) {
        return true;
    }
    return false;
}

void Register(const char* name, const std::function<std::pair<Bytes, Bytes>()>& make) {
    benchmark::RegisterBenchmark(name,
                                 [make](benchmark::State& state) {
                                     const auto [png, floor] = make();
                                     CompareWithFloor(
                                         state, [&png = png] { Convert(png); }, [&floor = floor] { Convert(floor); });
                                     state.counters["refused"] = Refused(png) ? 1 : 0;
                                     state.counters["file_MB"] = static_cast<double>(png.size()) / (1 << 20);
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// The floor of the text chunks: a checksum over the whole file, as libpng takes of every chunk it skips.
void RegisterTexts(const char* name, int count) {
    benchmark::RegisterBenchmark(
        name,
        [count](benchmark::State& state) {
            const Bytes png = RgbPng(1, 1, false, Deflated(Bytes(4, 0)), CompressedTexts(count));
            CompareWithFloor(
                state, [&] { Convert(png); },
                [&] { benchmark::DoNotOptimize(crc32(0, png.data(), static_cast<uInt>(png.size()))); });
            state.counters["refused"] = Refused(png) ? 1 : 0;
            state.counters["file_MB"] = static_cast<double>(png.size()) / (1 << 20);
        })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    Register("PngBomb/100x100/Unpacks1GB", [] {
        return std::pair{RgbPng(100, 100, false, DeflatedZeros(64)), HonestPng(100, 100)};
    });
    Register("PngBomb/100x100/Unpacks4GB", [] {
        return std::pair{RgbPng(100, 100, false, DeflatedZeros(256)), HonestPng(100, 100)};
    });
    Register("PngBomb/100x100/Interlaced/Unpacks4GB", [] {
        return std::pair{RgbPng(100, 100, true, DeflatedZeros(256)), HonestPng(100, 100)};
    });
    Register("PngBomb/4000x4000/Unpacks4GB", [] {
        return std::pair{RgbPng(4000, 4000, false, DeflatedZeros(256)), HonestPng(4000, 4000)};
    });
    RegisterTexts("PngBomb/CompressedTexts/2000x4MB", 2000);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
