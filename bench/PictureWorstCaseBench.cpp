// The costliest picture files found for each decoder: small crafted files that claim the largest sizes, many scans
// or arithmetic coding, beside the largest pictures that must still decode. Each decoding runs in a child process,
// so that its time and peak memory are its own: the time is the child's processor time, peak_MB its largest
// resident size, refused is 1 when the decoder refused the file, file_KB the size of the file.

#include "core/base/StorageError.h"
#include "core/storage/BmpReader.h"
#include "core/storage/GifDecoder.h"
#include "core/storage/JpegDecoder.h"
#include "support/PictureFiles.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <utility>

namespace {

using Decoder = void (*)(ByteView, Bitmap&);
using Maker = std::function<Bytes()>;

constexpr int kLargest = 8000; // 8000 × 8000 is the largest square picture allowed

// A small picture coded as asked, then claiming to be width × height.
Bytes Claiming(Bytes jpeg, int width, int height) {
    SetJpegFrameSize(jpeg, width, height);
    return jpeg;
}

// A small progressive file with its last scan repeated up to `scans` in all, claiming side × side.
Bytes ProgressiveCmyk(int scans, int side, JpegCoding coding) {
    coding.Progressive = true;
    const Bytes cmyk = MakeCmykJpeg(16, 16, {10, 200, 30, 40}, InkStorage::Plain, coding);
    return Claiming(RepeatLastJpegScan(cmyk, scans - 18), side, side);
}

// Grey needs the least memory a pixel, so it is the largest many-scan picture that fits.
Bytes ProgressiveGrey(int scans, int side) {
    return Claiming(RepeatLastJpegScan(MakeGreyJpeg(16, 16, {.Progressive = true}), scans - 6), side, side);
}

Bytes FullBlocks(int side, JpegCoding coding, int components) {
    const JpegCoding fullResolution{.FirstChannelAcross = 1, .FirstChannelDown = 1};
    const Bytes plain =
        components == 1 ? MakeGreyJpeg(128, 128, fullResolution) : MakeTestJpeg(128, 128, fullResolution);
    return Claiming(RecodeWithFullBlocks(plain, coding), side, side);
}

// A run-length BMP whose every run reaches past the right edge of a picture one pixel wide.
Bytes RunsPastTheEdge(int runs) {
    BmpLayout layout;
    layout.Width = 1;
    layout.Height = 1;
    layout.BitCount = 8;
    layout.Compression = 1;
    layout.Palette = {{0, 0, 0}, {255, 255, 255}};
    for (int i = 0; i < runs; ++i)
        layout.PixelData.insert(layout.PixelData.end(), {255, 1});
    return MakeBmp(layout);
}

// A run-length BMP of the largest size, every line drawn in runs of 255.
Bytes LargestRunLengthBmp() {
    BmpLayout layout;
    layout.Width = kLargest;
    layout.Height = kLargest;
    layout.BitCount = 8;
    layout.Compression = 1;
    layout.Palette = {{0, 0, 0}, {255, 255, 255}};
    for (int y = 0; y < kLargest; ++y) {
        for (int x = 0; x < kLargest; x += 255)
            layout.PixelData.insert(layout.PixelData.end(), {255, 1});
        layout.PixelData.insert(layout.PixelData.end(), {0, 0});
    }
    return MakeBmp(layout);
}

// One colour over the largest screen: LZW codes grow to their longest strings, about 3 bytes of file a kilopixel.
Bytes LargestFlatGif() {
    GifLayout layout;
    layout.ScreenWidth = layout.Width = kLargest;
    layout.ScreenHeight = layout.Height = kLargest;
    layout.GlobalColours = {{0, 0, 0}, {255, 255, 255}};
    layout.Indexes.assign(static_cast<std::size_t>(kLargest) * kLargest, 1);
    return MakeGif(layout);
}

struct Outcome {
    double Seconds = -1;
    bool Refused = false;
    long PeakKilobytes = 0;
};

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// Decodes in a child process; its exit status tells whether the file was refused. The time is the child's processor
// time, so that other work on the machine does not count.
Outcome DecodeInChild(Decoder decode, const Bytes& file) {
    const pid_t child = fork();
    if (child == 0) {
        Bitmap bitmap;
        try {
            decode(file, bitmap);
        } catch (const StorageError&) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return {};
    return {Seconds(usage.ru_utime) + Seconds(usage.ru_stime), WEXITSTATUS(status) == 1, usage.ru_maxrss};
}

void RunCase(benchmark::State& state, Decoder decode, const Maker& make) {
    const Bytes file = make();
    Outcome worst;
    for (auto _ : state) {
        const Outcome outcome = DecodeInChild(decode, file);
        if (outcome.Seconds < 0) {
            state.SkipWithError("the decoding process failed");
            return;
        }
        state.SetIterationTime(outcome.Seconds);
        worst.PeakKilobytes = std::max(worst.PeakKilobytes, outcome.PeakKilobytes);
        worst.Refused = outcome.Refused;
    }
    state.counters["peak_MB"] = static_cast<double>(worst.PeakKilobytes) / 1024;
    state.counters["refused"] = worst.Refused ? 1 : 0;
    state.counters["file_KB"] = static_cast<double>(file.size()) / 1024;
}

void Register(const char* name, Decoder decode, Maker make) {
    benchmark::RegisterBenchmark(
        name, [decode, make = std::move(make)](benchmark::State& state) { RunCase(state, decode, make); })
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
}

void RegisterJpegCases() {
    // Crafted: 99 scans, the most the decoder has let through, over pictures of the largest size.
    Register("Jpeg/ProgressiveCmyk8000x8000/99Scans/Huffman", DecodeJpeg,
             [] { return ProgressiveCmyk(99, kLargest, {}); });
    Register("Jpeg/ProgressiveCmyk8000x8000/99Scans/Arithmetic", DecodeJpeg,
             [] { return ProgressiveCmyk(99, kLargest, {.Arithmetic = true}); });
    Register("Jpeg/ProgressiveGrey8000x8000/99Scans", DecodeJpeg, [] { return ProgressiveGrey(99, kLargest); });
    Register("Jpeg/ProgressiveGrey4000x4000/99Scans", DecodeJpeg, [] { return ProgressiveGrey(99, 4000); });
    // Crafted: the most scans that fit the limits, a restart at every block, memory near its limit.
    Register("Jpeg/ProgressiveCmyk4800x4800/38Scans/RestartEveryBlock", DecodeJpeg,
             [] { return ProgressiveCmyk(38, 4800, {.RestartInterval = 1}); });
    // Crafted: arithmetic coding kept decoding every coefficient of every block; the last is the largest that fits.
    Register("Jpeg/ArithmeticFullBlocks/Colour444/8000x8000", DecodeJpeg,
             [] { return FullBlocks(kLargest, {.Arithmetic = true}, 3); });
    Register("Jpeg/ArithmeticFullBlocks/Grey/8000x8000", DecodeJpeg,
             [] { return FullBlocks(kLargest, {.Arithmetic = true}, 1); });
    Register("Jpeg/ArithmeticFullBlocks/Grey/1780x1780", DecodeJpeg,
             [] { return FullBlocks(1780, {.Arithmetic = true}, 1); });
    // The largest pictures that must decode.
    Register("Jpeg/BaselineCmyk/8000x8000", DecodeJpeg, [] {
        return Claiming(MakeCmykJpeg(16, 16, {1, 2, 3, 4}, InkStorage::Plain), kLargest, kLargest);
    });
    Register("Jpeg/BaselineColour/Sampling4x2/8000x8000", DecodeJpeg, [] {
        return Claiming(MakeTestJpeg(64, 64, {.FirstChannelAcross = 4, .FirstChannelDown = 2}), kLargest, kLargest);
    });
    Register("Jpeg/BaselineFullBlocks/Colour444/8000x8000", DecodeJpeg, [] { return FullBlocks(kLargest, {}, 3); });
    Register("Jpeg/Progressive/6000x4000", DecodeJpeg,
             [] { return Claiming(MakeProgressiveJpeg(64, 64), 6000, 4000); });
}

void RegisterOtherCases() {
    Register("Gif/Flat/8000x8000", DecodeGif, LargestFlatGif);
    Register("Bmp/RunLength/8000x8000", DecodeBmp, LargestRunLengthBmp);
    Register("Bmp/RunsPastTheEdge/1MB", DecodeBmp, [] { return RunsPastTheEdge(500'000); });
}

} // namespace

int main(int argc, char** argv) {
    RegisterJpegCases();
    RegisterOtherCases();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
