#include "tools/art/PictureEncoders.h"

#include "core/storage/BmpReader.h"
#include "core/storage/GifDecoder.h"
#include "core/storage/JpegDecoder.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// Three flat colours in bands, as a school drawing has them.
QImage FlatPicture() {
    QImage picture(30, 12, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 10, 12, QColor(214, 40, 40));
    painter.fillRect(10, 0, 10, 12, QColor(43, 123, 214));
    return picture;
}

// Every pixel a colour of its own.
QImage GradientPicture() {
    QImage picture(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(4 * x, 32 * y, 255 - 4 * x));
    return picture;
}

ByteView View(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QRgb ColourOf(const Bitmap& bitmap, int x, int y) {
    const Rgb rgb = bitmap.PixelAt(x, y);
    return qRgb(rgb.R, rgb.G, rgb.B);
}

void ExpectSamePixels(const Bitmap& decoded, const QImage& picture) {
    ASSERT_EQ(decoded.Width, picture.width());
    ASSERT_EQ(decoded.Height, picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(ColourOf(decoded, x, y), picture.pixel(x, y) | 0xff000000u) << "at " << x << "," << y;
}

Bitmap Decode(void (*decoder)(ByteView, Bitmap&), const std::optional<QByteArray>& file) {
    Bitmap bitmap;
    if (file)
        decoder(View(*file), bitmap);
    return bitmap;
}

} // namespace

TEST(ReduceToPalette, KeepsEveryColourOfAPictureWithFewColours) {
    const QImage picture = FlatPicture();
    const QImage reduced = ReduceToPalette(picture);
    EXPECT_EQ(reduced.format(), QImage::Format_Indexed8);
    // Always a full table, so a BMP of few colours still gets 8 bits a pixel.
    EXPECT_EQ(reduced.colorCount(), 256);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(reduced.pixel(x, y), picture.pixel(x, y));
}

TEST(ReduceToPalette, KeepsTheCommonestColoursAndMovesRareShadesToTheNearest) {
    // 256 colours of four pixels each, then 16 shades of one pixel each, one step of red
    // away from a common colour and three from any other: what a smoothed edge adds.
    QImage picture(256 * 4 + 16, 1, QImage::Format_RGB32);
    const auto common = [](int i) { return qRgb(4 * (i % 64), 60 * (i / 64), 100); };
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 4; ++k)
            picture.setPixel(4 * i + k, 0, common(i));
    for (int s = 0; s < 16; ++s) {
        const QRgb near = common(s * 16);
        picture.setPixel(1024 + s, 0, qRgb(qRed(near) + 1, qGreen(near), qBlue(near)));
    }

    const QImage reduced = ReduceToPalette(picture);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(reduced.pixel(4 * i, 0), common(i)) << "common colour " << i;
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(reduced.pixel(1024 + s, 0), common(s * 16)) << "shade " << s;
}

TEST(PictureFiles, AGifReadsBackWithThePaletteColours) {
    const QImage picture = FlatPicture();
    const Bitmap decoded = Decode(DecodeGif, EncodeGif(picture));
    EXPECT_EQ(decoded.Format, PixelFormat::Bits8);
    ExpectSamePixels(decoded, picture);
}

TEST(PictureFiles, APaletteBmpReadsBackAsAnEightBitPicture) {
    const QImage picture = FlatPicture();
    const Bitmap decoded = Decode(DecodeBmp, EncodeBmp(picture, true));
    EXPECT_EQ(decoded.Format, PixelFormat::Bits8);
    ExpectSamePixels(decoded, picture);
}

TEST(PictureFiles, AColourBmpReadsBackExactlyWhateverItsColours) {
    const QImage picture = GradientPicture();
    const Bitmap decoded = Decode(DecodeBmp, EncodeBmp(picture, false));
    EXPECT_EQ(decoded.Format, PixelFormat::Bits24);
    ExpectSamePixels(decoded, picture);
}

TEST(PictureFiles, AJpegReadsBackCloseToThePicture) {
    const QImage picture = FlatPicture();
    const Bitmap decoded = Decode(DecodeJpeg, EncodeJpeg(picture));
    ASSERT_EQ(decoded.Width, picture.width());
    ASSERT_EQ(decoded.Height, picture.height());
    // Lossy, so only near: the middle of each band, away from the edges that ring.
    for (const int x : {4, 15, 25}) {
        const QRgb want = picture.pixel(x, 6);
        const QRgb got = ColourOf(decoded, x, 6);
        EXPECT_LE(std::abs(qRed(got) - qRed(want)) + std::abs(qGreen(got) - qGreen(want)) +
                      std::abs(qBlue(got) - qBlue(want)),
                  12)
            << "at " << x;
    }
}
