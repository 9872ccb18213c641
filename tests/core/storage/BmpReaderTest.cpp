#include "core/storage/BmpReader.h"

#include "core/base/StorageError.h"
#include "support/PictureFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

void ExpectRejected(const Bytes& data) {
    Bitmap target = SentinelBitmap();
    EXPECT_THROW(DecodeBmp(data, target), StorageError);
    EXPECT_TRUE(SameBitmap(target, SentinelBitmap()));
}

Bitmap Decode(const Bytes& data) {
    Bitmap bitmap = SentinelBitmap();
    DecodeBmp(data, bitmap);
    return bitmap;
}

std::vector<Rgb> Greys(int count) {
    std::vector<Rgb> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(
            {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i / 2)});
    return colours;
}

std::vector<std::uint32_t> IndexPattern(int width, int height, int bitCount) {
    std::vector<std::uint32_t> indexes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indexes.push_back(static_cast<std::uint32_t>(x * 3 + y * 7) % (1u << bitCount));
    return indexes;
}

BmpLayout Indexed(int width, int height, int bitCount) {
    BmpLayout layout;
    layout.Width = width;
    layout.Height = height;
    layout.BitCount = bitCount;
    layout.Palette = Greys(1 << bitCount);
    layout.PixelData = PackBmpRows(IndexPattern(width, height, bitCount), width, height, bitCount, false);
    return layout;
}

BmpLayout ColourRow(int bitCount, const std::vector<std::uint32_t>& values, std::uint32_t compression = 0) {
    BmpLayout layout;
    layout.Width = static_cast<int>(values.size());
    layout.Height = 1;
    layout.BitCount = bitCount;
    layout.Compression = compression;
    layout.PixelData = PackBmpRows(values, layout.Width, 1, bitCount, false);
    return layout;
}

BmpLayout RunLength(int width, int height, int bitCount, Bytes stream) {
    BmpLayout layout;
    layout.Width = width;
    layout.Height = height;
    layout.BitCount = bitCount;
    layout.Compression = bitCount == 8 ? 1 : 2;
    layout.Palette = Greys(1 << bitCount);
    layout.PixelData = std::move(stream);
    return layout;
}

Bytes Row(const Bitmap& bitmap, int y) {
    const auto start = bitmap.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.Width;
    return Bytes(start, start + bitmap.Width);
}

void PutU32(Bytes& bmp, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bmp.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

TEST(BmpReader, TrueColourBottomUpAndTopDown) {
    const Bitmap bottomUp = Decode(MakeTestBmp24(5, 4)); // 5 pixels make rows with padding
    EXPECT_EQ(bottomUp.Format, PixelFormat::Bits24);
    ASSERT_EQ(bottomUp.Pixels.size(), 5u * 4u * 3u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(bottomUp.PixelAt(x, y), GradientColour(x, y, 5, 4));

    BmpLayout topDown;
    topDown.Width = 2;
    topDown.Height = -2;
    topDown.PixelData = PackBmpRows({0x010203, 0x040506, 0x070809, 0x0A0B0C}, 2, 2, 24, true);
    const Bitmap bitmap = Decode(MakeBmp(topDown));
    EXPECT_EQ(bitmap.Height, 2);
    EXPECT_EQ(bitmap.PixelAt(1, 0), (Rgb{4, 5, 6}));
    EXPECT_EQ(bitmap.PixelAt(0, 1), (Rgb{7, 8, 9}));
}

TEST(BmpReader, PaletteFormsKeepTheirIndexes) {
    for (const auto& [bitCount, width] : {std::pair{1, 13}, {4, 7}, {8, 5}}) {
        const BmpLayout layout = Indexed(width, 3, bitCount);
        const Bitmap bitmap = Decode(MakeBmp(layout));
        SCOPED_TRACE(bitCount);
        EXPECT_EQ(bitmap.Format, PixelFormat::Bits8);
        const std::vector<std::uint32_t> expected = IndexPattern(width, 3, bitCount);
        ASSERT_EQ(bitmap.Pixels.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(bitmap.Pixels[i], expected[i]) << "pixel " << i;
        for (int i = 0; i < (1 << bitCount); ++i)
            EXPECT_EQ(bitmap.Palette[i], layout.Palette[i]);
    }
}

TEST(BmpReader, ShortPaletteLeavesTheOtherEntriesBlack) {
    BmpLayout layout = Indexed(4, 2, 8);
    layout.Palette = Greys(3);
    layout.ColoursUsed = 3;
    layout.PixelData = PackBmpRows({0, 1, 2, 3, 200, 255, 7, 9}, 4, 2, 8, false);
    const Bitmap bitmap = Decode(MakeBmp(layout));
    EXPECT_EQ(bitmap.PixelAt(2, 0), Greys(3)[2]);
    EXPECT_EQ(bitmap.PixelAt(0, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(bitmap.Pixels[5], 255);

    // The header asks for all 256 entries, but the pixel data starts after two: those bytes are not colours.
    layout.Palette = Greys(2);
    layout.ColoursUsed = 0;
    layout.PixelData.assign(layout.PixelData.size(), 0xEE);
    EXPECT_EQ(Decode(MakeBmp(layout)).Palette[2], (Rgb{0, 0, 0}));
}

TEST(BmpReader, SixteenAndThirtyTwoBitPixelsFollowTheirMasks) {
    const Bitmap plain16 = Decode(MakeBmp(ColourRow(16, {0x7FFF, 0x7C00, 0x0010})));
    EXPECT_EQ(plain16.Format, PixelFormat::Bits24);
    EXPECT_EQ(plain16.PixelAt(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(plain16.PixelAt(1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(plain16.PixelAt(2, 0), (Rgb{0, 0, 132}));

    BmpLayout fields565 = ColourRow(16, {0xF800, 0x07E0, 0x001F, 0x0841}, 3);
    fields565.Masks = {0xF800, 0x07E0, 0x001F};
    const Bitmap bitmap565 = Decode(MakeBmp(fields565));
    EXPECT_EQ(bitmap565.PixelAt(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(bitmap565.PixelAt(1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(bitmap565.PixelAt(2, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(bitmap565.PixelAt(3, 0), (Rgb{8, 8, 8}));

    EXPECT_EQ(Decode(MakeBmp(ColourRow(32, {0xAA123456}))).PixelAt(0, 0), (Rgb{0x12, 0x34, 0x56}));

    BmpLayout v5 = ColourRow(32, {0x00563412}, 3);
    v5.HeaderSize = 124;
    v5.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    EXPECT_EQ(Decode(MakeBmp(v5)).PixelAt(0, 0), (Rgb{0x12, 0x34, 0x56}));
}

TEST(BmpReader, OlderAndNewerHeaderForms) {
    BmpLayout core = Indexed(6, 2, 8);
    core.HeaderSize = 12;
    const Bitmap coreBitmap = Decode(MakeBmp(core));
    EXPECT_EQ(coreBitmap.Pixels[7], IndexPattern(6, 2, 8)[7]);
    EXPECT_EQ(coreBitmap.Palette[200], core.Palette[200]);

    for (std::uint32_t headerSize : {12u, 108u, 124u}) {
        BmpLayout layout = ColourRow(24, {0x102030, 0x405060});
        layout.HeaderSize = headerSize;
        EXPECT_EQ(Decode(MakeBmp(layout)).PixelAt(1, 0), (Rgb{0x40, 0x50, 0x60})) << headerSize;
    }
}

TEST(BmpReader, RunLengthEscapesDrawWhereTheySay) {
    const Bitmap rle8 = Decode(MakeBmp(RunLength(6, 4, 8, {3, 5,              // three of index 5
                                                           0, 3,  7, 8, 9, 0, // literal 7 8 9, padded
                                                           0, 0,              // end of line
                                                           0, 2,  2, 1,       // two right, one up
                                                           2, 10,             // two of index 10
                                                           0, 1,              // end of bitmap
                                                           4, 4})));          // after the end: ignored
    EXPECT_EQ(rle8.Format, PixelFormat::Bits8);
    EXPECT_EQ(Row(rle8, 0), Bytes(6, 0));
    EXPECT_EQ(Row(rle8, 1), (Bytes{0, 0, 10, 10, 0, 0}));
    EXPECT_EQ(Row(rle8, 2), Bytes(6, 0));
    EXPECT_EQ(Row(rle8, 3), (Bytes{5, 5, 5, 7, 8, 9}));

    BmpLayout topDown4 = RunLength(7, 2, 4,
                                   {5, 0x12,          // 1 2 1 2 1
                                    0, 3, 0x34, 0x50, // literal 3 4 5, the 5 past the edge
                                    0, 0,             // end of line
                                    4, 0xF0});        // 15 0 15 0, and no end-of-bitmap mark
    topDown4.Height = -2;
    const Bitmap rle4 = Decode(MakeBmp(topDown4));
    EXPECT_EQ(Row(rle4, 0), (Bytes{1, 2, 1, 2, 1, 3, 4}));
    EXPECT_EQ(Row(rle4, 1), (Bytes{15, 0, 15, 0, 0, 0, 0}));
}

TEST(BmpReader, RunLengthRunsLeavingThePictureAreClipped) {
    const Bitmap bitmap = Decode(MakeBmp(RunLength(4, 2, 8,
                                                   {10, 7,        // past the right edge, not onto the next line
                                                    0, 0,         // end of line
                                                    2, 1,         // two of index 1
                                                    0, 2, 5, 0,   // moves past the right edge
                                                    3, 4,         // drawn nowhere
                                                    0, 2, 0, 255, // moves past the top
                                                    3, 9})));     // never reached
    EXPECT_EQ(Row(bitmap, 1), (Bytes{7, 7, 7, 7}));
    EXPECT_EQ(Row(bitmap, 0), (Bytes{1, 1, 0, 0}));

    // A literal of five indexes of which the data holds two.
    const Bitmap cutLiteral = Decode(MakeBmp(RunLength(4, 1, 8, {0, 5, 1, 2})));
    EXPECT_EQ(Row(cutLiteral, 0), (Bytes{1, 2, 0, 0}));
}

TEST(BmpReader, SizesOutsideTheLimitsAreRejected) {
    for (const auto& [width, height] :
         {std::pair{65000, 65000}, {16385, 1}, {16384, 3907}, {0, 5}, {5, 0}, {-5, 5}, {5, INT32_MIN}}) {
        BmpLayout layout = ColourRow(24, {1, 2, 3, 4, 5});
        layout.Width = width;
        layout.Height = height;
        ExpectRejected(MakeBmp(layout));
    }
}

TEST(BmpReader, PixelDataMustLieInsideTheFile) {
    const Bytes whole = MakeBmp(Indexed(5, 3, 8)); // rows of 5 bytes padded to 8
    const std::uint32_t offset = BmpPixelOffset(whole);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        SCOPED_TRACE(cut);
        if (cut < offset + 8 + 8 + 5)
            ExpectRejected(part);
        else // only the last row's padding is missing
            EXPECT_EQ(Decode(part).Pixels, Decode(whole).Pixels);
    }
    for (std::uint32_t badOffset : {static_cast<std::uint32_t>(whole.size()), 0xFFFFFFF0u}) {
        Bytes moved = whole;
        PutU32(moved, 10, badOffset);
        ExpectRejected(moved);
    }
}

TEST(BmpReader, CutRunLengthFilesKeepWhatTheyDrew) {
    const Bytes whole = MakeBmp(RunLength(6, 3, 8, {6, 1, 0, 0, 6, 2, 0, 0, 6, 3, 0, 1}));
    const std::uint32_t offset = BmpPixelOffset(whole);
    for (std::size_t cut = 0; cut <= offset; ++cut)
        ExpectRejected(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)));
    const Bitmap oneRun = Decode(Bytes(whole.begin(), whole.begin() + offset + 2));
    EXPECT_EQ(Row(oneRun, 2), Bytes(6, 1));
    EXPECT_EQ(Row(oneRun, 1), Bytes(6, 0));
}

TEST(BmpReader, UnsupportedFormsAreRejected) {
    const auto rejectWith = [](BmpLayout layout) { ExpectRejected(MakeBmp(layout)); };
    BmpLayout twoBit = Indexed(4, 1, 1);
    twoBit.BitCount = 2;
    rejectWith(twoBit);
    BmpLayout rle8OfFourBits = RunLength(4, 1, 4, {0, 1});
    rle8OfFourBits.Compression = 1;
    rejectWith(rle8OfFourBits);
    rejectWith(ColourRow(24, {1}, 3)); // masks only for 16 and 32 bits
    rejectWith(ColourRow(24, {1}, 4)); // embedded JPEG
    for (std::uint32_t headerSize : {0u, 20u, 0xFFFFFFF0u}) {
        Bytes bmp = MakeTestBmp24(2, 2);
        PutU32(bmp, 14, headerSize);
        ExpectRejected(bmp);
    }
}

TEST(BmpReader, NonBmpDataIsRejected) {
    ExpectRejected({});
    ExpectRejected({'B', 'M'});
    Bytes wrongSignature = MakeTestBmp24(2, 2);
    wrongSignature[1] = 'A';
    ExpectRejected(wrongSignature);
    ExpectRejected(MakeTestGif(3, 3));
}
