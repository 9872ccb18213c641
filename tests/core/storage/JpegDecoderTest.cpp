#include "core/storage/JpegDecoder.h"

#include "core/base/StorageError.h"
#include "support/PictureFiles.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdlib>
#include <random>
#include <utility>

namespace {

// JPEG is lossy: colours are compared channel by channel within this distance.
constexpr int kTolerance = 10;

::testing::AssertionResult Near(Rgb actual, Rgb expected, int tolerance = kTolerance) {
    if (std::abs(actual.R - expected.R) <= tolerance && std::abs(actual.G - expected.G) <= tolerance &&
        std::abs(actual.B - expected.B) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << +actual.R << ", " << +actual.G << ", " << +actual.B
                                         << "), expected about (" << +expected.R << ", " << +expected.G << ", "
                                         << +expected.B << ")";
}

void ExpectGradient(const Bitmap& bitmap) {
    for (int y = 0; y < bitmap.Height; y += 3)
        for (int x = 0; x < bitmap.Width; x += 3)
            EXPECT_TRUE(Near(bitmap.PixelAt(x, y), GradientColour(x, y, bitmap.Width, bitmap.Height)))
                << "at " << x << ", " << y;
}

void ExpectRejected(const Bytes& data) {
    Bitmap target = SentinelBitmap();
    EXPECT_THROW(DecodeJpeg(data, target), StorageError);
    EXPECT_TRUE(SameBitmap(target, SentinelBitmap()));
}

Bitmap Decode(const Bytes& data) {
    Bitmap bitmap = SentinelBitmap();
    DecodeJpeg(data, bitmap);
    return bitmap;
}

// RGB rows as libjpeg gives them with nothing around it; for files that decode without errors.
Bytes DecodeWithLibjpegAlone(const Bytes& data) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.output_message = [](j_common_ptr) {}; // the cut file's warning
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), data.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
    Bytes pixels(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_destroy_decompress(&info);
    return pixels;
}

} // namespace

TEST(JpegDecoder, PixelsAreExactlyLibjpegsOwn) {
    const Bytes baseline = MakeTestJpeg(61, 43);
    const Bytes cutInCodedData(baseline.begin(), baseline.end() - static_cast<std::ptrdiff_t>(baseline.size() / 3));
    for (const Bytes& jpeg : {baseline, cutInCodedData, MakeProgressiveJpeg(50, 33), MakeGreyJpeg(17, 29)}) {
        const Bitmap bitmap = Decode(jpeg);
        EXPECT_EQ(Bytes(bitmap.Pixels.begin(), bitmap.Pixels.end()), DecodeWithLibjpegAlone(jpeg));
    }
}

TEST(JpegDecoder, BaselinePictureBecomesRgbOfItsOwnSize) {
    const Bitmap bitmap = Decode(MakeTestJpeg(45, 27));
    EXPECT_EQ(bitmap.Width, 45);
    EXPECT_EQ(bitmap.Height, 27);
    EXPECT_EQ(bitmap.Format, PixelFormat::Bits24);
    ASSERT_EQ(bitmap.Pixels.size(), 45u * 27u * 3u);
    ExpectGradient(bitmap);
}

TEST(JpegDecoder, ProgressivePictureDecodesLikeBaseline) {
    const Bitmap bitmap = Decode(MakeProgressiveJpeg(37, 50));
    ASSERT_EQ(bitmap.Pixels.size(), 37u * 50u * 3u);
    ExpectGradient(bitmap);
}

TEST(JpegDecoder, GreyPictureHasEqualChannels) {
    const Bitmap bitmap = Decode(MakeGreyJpeg(30, 9));
    ASSERT_EQ(bitmap.Format, PixelFormat::Bits24);
    for (int x = 0; x < bitmap.Width; ++x) {
        const std::uint8_t grey = GradientColour(x, 4, 30, 9).R;
        EXPECT_TRUE(Near(bitmap.PixelAt(x, 4), {grey, grey, grey})) << "at " << x;
    }
}

TEST(JpegDecoder, InkPicturesShowTheirColour) {
    const Rgb red{255, 0, 0};
    // Ink amounts: full magenta and yellow make red.
    EXPECT_TRUE(Near(Decode(MakeCmykJpeg(16, 16, {0, 255, 255, 0}, InkStorage::Plain)).PixelAt(8, 8), red));
    // Adobe files store 255 minus the ink.
    EXPECT_TRUE(Near(Decode(MakeCmykJpeg(16, 16, {255, 0, 0, 255}, InkStorage::AdobeInverted)).PixelAt(8, 8), red));
    EXPECT_TRUE(Near(Decode(MakeCmykJpeg(16, 16, {255, 0, 0, 255}, InkStorage::AdobeYcck)).PixelAt(8, 8), red));
    // Half black ink alone gives middle grey, whichever way it is stored.
    EXPECT_TRUE(Near(Decode(MakeCmykJpeg(8, 8, {0, 0, 0, 128}, InkStorage::Plain)).PixelAt(3, 3), {127, 127, 127}));
    EXPECT_TRUE(Near(Decode(MakeCmykJpeg(8, 8, {255, 255, 255, 127}, InkStorage::AdobeInverted)).PixelAt(3, 3),
                     {127, 127, 127}));
}

TEST(JpegDecoder, SizesOutsideTheLimitsAreRejected) {
    // Decoding the first claim would need gigabytes; only the header is checked.
    for (const auto& [width, height] :
         {std::pair{65000, 65000}, {16385, 1}, {1, 16385}, {16384, 3907}, {0, 16}, {16, 0}}) {
        Bytes jpeg = MakeTestJpeg(16, 16);
        SetJpegFrameSize(jpeg, width, height);
        ExpectRejected(jpeg);
    }
}

// A file cut inside its header fails; once the first scan has begun, the picture shows what was decoded and the
// decoder fills the rest, wherever the cut falls (coded data, or the tables of a later scan).
TEST(JpegDecoder, CutFilesFailInTheHeaderAndDecodeAfterIt) {
    for (const Bytes& whole : {MakeTestJpeg(40, 40), MakeProgressiveJpeg(40, 40)}) {
        const std::size_t scanStart = JpegScanDataStart(whole);
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
            SCOPED_TRACE(cut);
            if (cut < scanStart) {
                ExpectRejected(part);
                continue;
            }
            const Bitmap bitmap = Decode(part);
            EXPECT_EQ(bitmap.Width, 40);
            EXPECT_EQ(bitmap.Pixels.size(), 40u * 40u * 3u);
        }
    }
}

TEST(JpegDecoder, CutBaselineFileKeepsItsTopRows) {
    const Bytes whole = MakeTestJpeg(64, 64);
    const Bitmap bitmap = Decode(Bytes(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(whole.size() / 4)));
    for (int x = 0; x < 64; x += 7)
        EXPECT_TRUE(Near(bitmap.PixelAt(x, 2), GradientColour(x, 2, 64, 64))) << "at " << x;
}

TEST(JpegDecoder, BytesAfterTheEndMarkerAreIgnored) {
    Bytes jpeg = MakeTestJpeg(20, 20);
    jpeg.insert(jpeg.end(), {0xFF, 0xC0, 0x12, 0x34, 0x00, 0xFF, 0xD8});
    ExpectGradient(Decode(jpeg));
}

TEST(JpegDecoder, ManyRepeatedScansAreRejected) {
    const Bytes progressive = MakeProgressiveJpeg(16, 16);
    EXPECT_EQ(Decode(RepeatLastJpegScan(progressive, 40)).Width, 16);
    ExpectRejected(RepeatLastJpegScan(progressive, 100));
}

// A multi-scan picture keeps all its coefficients until the last scan: at 8000 × 8000 in 4:2:0 colour they and the
// pixels would take 384 MB. A photo of 12 Mpx fits.
TEST(JpegDecoder, MultiScanPicturesNeedingTooMuchMemoryAreRejected) {
    const Bytes progressive = MakeProgressiveJpeg(64, 64);
    Bytes largest = progressive;
    SetJpegFrameSize(largest, 8000, 8000);
    ExpectRejected(largest);

    Bytes photo = progressive;
    SetJpegFrameSize(photo, 4000, 3000);
    EXPECT_EQ(Decode(photo).Pixels.size(), 4000u * 3000u * 3u);
}

// Work is counted over all scans: each of these scans is cheap, 86 of them over 16 Mpx are not. Arithmetic
// coding counts every coefficient: a size that is cheap in Huffman coding is refused before any decoding.
TEST(JpegDecoder, PicturesNeedingTooMuchDecodingWorkAreRejected) {
    Bytes manyLargeScans = RepeatLastJpegScan(MakeGreyJpeg(16, 16, {.Progressive = true}), 80);
    SetJpegFrameSize(manyLargeScans, 4000, 4000);
    ExpectRejected(manyLargeScans);

    const Bytes arithmetic = MakeTestJpeg(40, 24, {.Arithmetic = true});
    ExpectGradient(Decode(arithmetic));
    Bytes largeHuffman = MakeTestJpeg(40, 24);
    SetJpegFrameSize(largeHuffman, 2000, 2000);
    EXPECT_EQ(Decode(largeHuffman).Width, 2000);
    Bytes largeArithmetic = arithmetic;
    SetJpegFrameSize(largeArithmetic, 2000, 2000);
    ExpectRejected(largeArithmetic);
}

TEST(JpegDecoder, ChannelsOfNoKnownColourSpaceAreRejected) { ExpectRejected(MakeTwoChannelJpeg(8, 8)); }

TEST(JpegDecoder, NonJpegDataIsRejected) {
    ExpectRejected({});
    ExpectRejected({0xFF, 0xD8});
    ExpectRejected({0xFF, 0xD8, 0xFF, 0xD9});
    ExpectRejected(MakeTestGif(4, 4));
    std::mt19937 random(7);
    Bytes noise(3000);
    for (std::uint8_t& byte : noise)
        byte = static_cast<std::uint8_t>(random());
    ExpectRejected(noise);
}
