#include "core/storage/GifDecoder.h"

#include "core/base/StorageError.h"
#include "support/PictureFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

void ExpectRejected(const Bytes& data) {
    Bitmap target = SentinelBitmap();
    EXPECT_THROW(DecodeGif(data, target), StorageError);
    EXPECT_TRUE(SameBitmap(target, SentinelBitmap()));
}

Bitmap Decode(const Bytes& data) {
    Bitmap bitmap = SentinelBitmap();
    DecodeGif(data, bitmap);
    return bitmap;
}

std::uint8_t IndexAt(const Bitmap& bitmap, int x, int y) {
    return bitmap.Pixels.at(static_cast<std::size_t>(y) * bitmap.Width + x);
}

std::vector<Rgb> Colours(int count) {
    std::vector<Rgb> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(PatternColour(i));
    return colours;
}

// Every row different from its neighbours, so a misplaced row shows.
GifLayout RowNumbered(int width, int height) {
    GifLayout layout;
    layout.ScreenWidth = layout.Width = width;
    layout.ScreenHeight = layout.Height = height;
    layout.GlobalColours = Colours(16);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            layout.Indexes.push_back(static_cast<std::uint8_t>((y + x / 2) % 16));
    return layout;
}

// Offset of the first image descriptor in a file from MakeGif (no extensions there).
std::size_t DescriptorAt(const Bytes& gif) {
    const std::uint8_t flags = gif.at(10);
    return 13 + ((flags & 0x80) != 0 ? 3u << ((flags & 0x07) + 1) : 0);
}

void PutWord(Bytes& gif, std::size_t at, int value) {
    gif.at(at) = static_cast<std::uint8_t>(value);
    gif.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

TEST(GifDecoder, PictureKeepsItsIndexesAndColours) {
    const Bitmap bitmap = Decode(MakeTestGif(13, 7));
    EXPECT_EQ(bitmap.Format, PixelFormat::Bits8);
    ASSERT_EQ(bitmap.Width, 13);
    ASSERT_EQ(bitmap.Height, 7);
    ASSERT_EQ(bitmap.Pixels.size(), 13u * 7u);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            EXPECT_EQ(IndexAt(bitmap, x, y), PatternIndex(x, y));
            EXPECT_EQ(bitmap.PixelAt(x, y), PatternColour(PatternIndex(x, y)));
        }
}

TEST(GifDecoder, InterlacedRowsLandInTheirPlaces) {
    for (int height : {1, 2, 5, 11, 16}) {
        GifLayout layout = RowNumbered(6, height);
        layout.Interlaced = true;
        const Bitmap bitmap = Decode(MakeGif(layout));
        EXPECT_EQ(Bytes(bitmap.Pixels.begin(), bitmap.Pixels.end()), layout.Indexes) << "height " << height;
    }
}

TEST(GifDecoder, ImageIsDrawnAtItsOffsetOverTheBackgroundAndClipped) {
    GifLayout layout;
    layout.ScreenWidth = 10;
    layout.ScreenHeight = 8;
    layout.Background = 3;
    layout.GlobalColours = Colours(16);
    layout.Left = 6;
    layout.Top = 5;
    layout.Width = 7;  // reaches 3 columns past the right edge
    layout.Height = 4; // and 1 row past the bottom
    layout.Indexes.assign(7 * 4, 9);
    const Bitmap bitmap = Decode(MakeGif(layout));
    ASSERT_EQ(bitmap.Width, 10);
    ASSERT_EQ(bitmap.Height, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(IndexAt(bitmap, x, y), x >= 6 && y >= 5 ? 9 : 3) << x << ", " << y;
}

TEST(GifDecoder, ImageOutsideTheScreenLeavesTheBackground) {
    GifLayout layout = RowNumbered(4, 4);
    layout.Background = 2;
    layout.Left = 200;
    const Bitmap bitmap = Decode(MakeGif(layout));
    EXPECT_EQ(Bytes(bitmap.Pixels.begin(), bitmap.Pixels.end()), Bytes(16, 2));
}

TEST(GifDecoder, LocalColourTableWinsOverTheGlobalOne) {
    GifLayout layout = RowNumbered(4, 3);
    layout.LocalColours = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    for (std::uint8_t& index : layout.Indexes)
        index %= 4;
    const Bitmap bitmap = Decode(MakeGif(layout));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bitmap.Palette[i], layout.LocalColours[i]);
}

TEST(GifDecoder, FileWithoutColourTableGetsAGreyRamp) {
    GifLayout layout = RowNumbered(4, 2);
    layout.GlobalColours = Colours(4);
    layout.Indexes = {0, 1, 2, 3, 3, 2, 1, 0};
    const Bitmap bitmap = Decode(WithoutGlobalColourTable(MakeGif(layout)));
    EXPECT_EQ(Bytes(bitmap.Pixels.begin(), bitmap.Pixels.end()), layout.Indexes);
    EXPECT_EQ(bitmap.Palette[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(bitmap.Palette[1], (Rgb{85, 85, 85}));
    EXPECT_EQ(bitmap.Palette[3], (Rgb{255, 255, 255}));

    layout.Indexes = {0, 1, 1, 0, 0, 1, 1, 0};
    const Bitmap twoColours = Decode(WithoutGlobalColourTable(MakeGif(layout)));
    EXPECT_EQ(twoColours.Palette[1], (Rgb{255, 255, 255}));
}

TEST(GifDecoder, ExtensionsBeforeTheImageAreSkipped) {
    const Bytes plain = MakeTestGif(5, 5);
    Bytes withComment = plain;
    const Bytes comment = {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0};
    withComment.insert(withComment.begin() + static_cast<std::ptrdiff_t>(DescriptorAt(plain)), comment.begin(),
                       comment.end());
    EXPECT_TRUE(SameBitmap(Decode(withComment), Decode(plain)));
}

TEST(GifDecoder, SizesOutsideTheLimitsAreRejected) {
    const Bytes gif = MakeTestGif(4, 4);
    for (const auto& [width, height] : {std::pair{65000, 65000}, {0, 4}, {4, 0}, {16385, 1}}) {
        Bytes screen = gif;
        PutWord(screen, 6, width);
        PutWord(screen, 8, height);
        ExpectRejected(screen);

        Bytes image = gif;
        PutWord(image, DescriptorAt(gif) + 5, width);
        PutWord(image, DescriptorAt(gif) + 7, height);
        ExpectRejected(image);
    }
}

// A file cut before its image data starts fails; after that, the rows decoded before the cut are kept.
TEST(GifDecoder, CutFilesFailBeforeTheImageDataAndKeepDecodedRowsAfter) {
    const Bytes whole = MakeTestGif(30, 20);
    const std::size_t dataStart = DescriptorAt(whole) + 11; // descriptor and the code size byte
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        SCOPED_TRACE(cut);
        if (cut < dataStart) {
            ExpectRejected(part);
            continue;
        }
        const Bitmap bitmap = Decode(part);
        EXPECT_EQ(bitmap.Pixels.size(), 30u * 20u);
    }
    const Bitmap lateCut = Decode(Bytes(whole.begin(), whole.end() - 1));
    EXPECT_TRUE(SameBitmap(lateCut, Decode(whole)));
}

TEST(GifDecoder, NonGifDataIsRejected) {
    ExpectRejected({});
    ExpectRejected(ToBytes("GIF89a"));
    ExpectRejected(MakeTestBmp24(4, 4));
    const Bytes tiny = MakeTestGif(2, 2);
    const std::size_t descriptor = DescriptorAt(tiny);
    Bytes noImage(tiny.begin(), tiny.begin() + static_cast<std::ptrdiff_t>(descriptor));
    noImage.push_back(';');
    ExpectRejected(noImage);
    noImage.back() = 0x99; // no such record
    ExpectRejected(noImage);
}
