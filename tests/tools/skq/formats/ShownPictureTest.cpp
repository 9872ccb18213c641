#include "tools/skq/formats/ShownPicture.h"

#include "core/storage/BmpReader.h"
#include "support/PictureFiles.h"
#include "support/PngChunks.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

namespace skq {
namespace {

// A PNG written by libpng. Samples hold the rows top-down as the colour type and depth pack them (16-bit
// samples big-endian); Alphas, when given, become the palette's transparency chunk.
struct PngLayout {
    int Width = 1, Height = 1;
    int ColourType = PNG_COLOR_TYPE_RGB;
    int BitDepth = 8;
    bool Interlaced = false;
    bool Gamma = false; // a gamma chunk as image programs write it
    std::vector<png_color> Palette{};
    std::vector<png_byte> Alphas{};
    Bytes Samples{};
};

void AppendPngBytes(png_structp png, png_bytep data, std::size_t size) {
    auto& out = *static_cast<Bytes*>(png_get_io_ptr(png));
    out.insert(out.end(), data, data + size);
}

Bytes MakePng(const PngLayout& layout) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendPngBytes, nullptr);
    png_set_IHDR(png, info, layout.Width, layout.Height, layout.BitDepth, layout.ColourType,
                 layout.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.Palette.empty())
        png_set_PLTE(png, info, layout.Palette.data(), static_cast<int>(layout.Palette.size()));
    if (!layout.Alphas.empty())
        png_set_tRNS(png, info, layout.Alphas.data(), static_cast<int>(layout.Alphas.size()), nullptr);
    if (layout.Gamma)
        png_set_gAMA_fixed(png, info, 45455);
    png_write_info(png, info);
    const std::size_t rowBytes = layout.Samples.size() / layout.Height;
    std::vector<png_bytep> rows;
    for (int y = 0; y < layout.Height; ++y)
        rows.push_back(const_cast<png_bytep>(layout.Samples.data() + y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The picture converted from PNG, as the program's BMP reader reads it back.
Bitmap ShownFromPng(const Bytes& png) {
    const ShownPicture shown = ToShownPicture("obraz.png", png);
    EXPECT_EQ(shown.Name, "obraz.bmp");
    EXPECT_EQ(shown.Data[28], 24) << "bits a pixel";
    EXPECT_GT(static_cast<std::int32_t>(ReadLittle32(shown.Data, 22)), 0) << "rows bottom-up";
    Bitmap bitmap;
    DecodeBmp(shown.Data, bitmap);
    EXPECT_EQ(bitmap.Format, PixelFormat::Bits24);
    return bitmap;
}

// An 8-bit grey PNG put together by hand, so that its image data can be any zlib stream, cut into IDAT chunks of
// the given size and followed by any bytes.
Bytes GreyPng(std::uint32_t width, std::uint32_t height, bool interlaced, const Bytes& zlib,
              std::size_t chunkSize = 1 << 16, const Bytes& after = {}) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    AppendBig32(header, width);
    AppendBig32(header, height);
    header.insert(header.end(), {8, PNG_COLOR_TYPE_GRAY, 0, 0, static_cast<std::uint8_t>(interlaced)});
    AppendChunk(png, "IHDR", header);
    for (std::size_t at = 0; at < zlib.size(); at += chunkSize)
        AppendChunk(png, "IDAT", Bytes(zlib.begin() + at, zlib.begin() + std::min(zlib.size(), at + chunkSize)));
    png.insert(png.end(), after.begin(), after.end());
    return png;
}

std::string ProblemOf(std::string_view name, const Bytes& data) {
    try {
        ToShownPicture(name, data);
    } catch (const PictureProblem& problem) {
        return problem.what();
    }
    return "accepted";
}

TEST(ShownPicture, RgbPngBecomesABmpOfTheSamePixels) {
    // An odd width, so that BMP rows get padding.
    const Bitmap bitmap = ShownFromPng(MakePng({.Width = 3,
                                                .Height = 2,
                                                .Samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, //
                                                            10, 20, 30, 40, 50, 60, 70, 80, 90}}));
    ASSERT_EQ(bitmap.Width, 3);
    ASSERT_EQ(bitmap.Height, 2);
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(bitmap.PixelAt(2, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(bitmap.PixelAt(1, 1), (Rgb{40, 50, 60}));
}

TEST(ShownPicture, PalettePngWithTransparencyIsLaidOverWhite) {
    const Bitmap bitmap = ShownFromPng(MakePng({.Width = 3,
                                                .ColourType = PNG_COLOR_TYPE_PALETTE,
                                                .BitDepth = 4,
                                                .Palette = {{0, 0, 200}, {0, 0, 0}, {100, 50, 0}},
                                                .Alphas = {255, 0, 128},
                                                .Samples = {0x01, 0x20}}));
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{0, 0, 200}));     // opaque
    EXPECT_EQ(bitmap.PixelAt(1, 0), (Rgb{255, 255, 255})); // clear
    EXPECT_EQ(bitmap.PixelAt(2, 0), (Rgb{177, 152, 127})); // half
}

TEST(ShownPicture, GreyWithAlphaPngIsLaidOverWhite) {
    const Bitmap bitmap = ShownFromPng(
        MakePng({.Width = 3, .ColourType = PNG_COLOR_TYPE_GRAY_ALPHA, .Samples = {0, 255, 0, 0, 80, 255}}));
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(bitmap.PixelAt(1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(bitmap.PixelAt(2, 0), (Rgb{80, 80, 80}));
}

TEST(ShownPicture, SixteenBitPngIsScaledToEightBits) {
    const Bitmap bitmap = ShownFromPng(MakePng({.Width = 3,
                                                .ColourType = PNG_COLOR_TYPE_RGB_ALPHA,
                                                .BitDepth = 16,
                                                .Samples = {0xFF, 0xFF, 0,    0,    0x80, 0x80, 0xFF, 0xFF, //
                                                            0x64, 0x00, 0x32, 0x00, 0,    0,    0x80, 0x00, //
                                                            0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0,    0}}));
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{255, 0, 128}));
    EXPECT_EQ(bitmap.PixelAt(1, 0), (Rgb{177, 152, 127})); // half over white
    EXPECT_EQ(bitmap.PixelAt(2, 0), (Rgb{255, 255, 255})); // clear
}

TEST(ShownPicture, TransparencyIsLaidOverWhiteInTheFilesOwnValuesWhateverItsGamma) {
    const Bitmap bitmap =
        ShownFromPng(MakePng({.ColourType = PNG_COLOR_TYPE_RGB_ALPHA, .Gamma = true, .Samples = {100, 50, 0, 128}}));
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{177, 152, 127}));
}

TEST(ShownPicture, InterlacedPngComesOutWhole) {
    PngLayout layout{.Width = 9, .Height = 9, .ColourType = PNG_COLOR_TYPE_GRAY, .Interlaced = true};
    for (int i = 0; i < 81; ++i)
        layout.Samples.push_back(static_cast<std::uint8_t>(i * 3));
    const Bitmap bitmap = ShownFromPng(MakePng(layout));
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {4, 3}, {8, 8}}) {
        const auto grey = static_cast<std::uint8_t>((y * 9 + x) * 3);
        EXPECT_EQ(bitmap.PixelAt(x, y), (Rgb{grey, grey, grey})) << x << "," << y;
    }
}

TEST(ShownPicture, OversizedPngIsRefusedByItsHeader) {
    // The data holds one pixel: only the header's claim can be refused. The header is rewritten whole, with its
    // checksum.
    Bytes png = MakePng({.Samples = {1, 2, 3}});
    const auto claim = [&](std::uint32_t width, std::uint32_t height) {
        const auto putBig32 = [&](std::size_t offset, std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                png[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
        };
        putBig32(16, width);
        putBig32(20, height);
        putBig32(29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
        return ProblemOf("duży.png", png);
    };
    EXPECT_EQ(claim(20000, 1), "duży.png is too large: 20000 × 1 pixels, over the 16384 a side and 64 million in all "
                               "that the program shows");
    EXPECT_NE(claim(16384, 16384).find("64 million"), std::string::npos);
    // Within what the program shows, but its BMP would be over 64 MB.
    EXPECT_EQ(claim(8000, 3000),
              "duży.png is too large: 8000 × 3000 pixels, over the 64 MB a picture may take as a BMP");
}

TEST(ShownPicture, DamagedPngIsRefused) {
    const Bytes png = MakePng({.Width = 4, .Height = 4, .Samples = Bytes(48, 7)});
    EXPECT_NE(ProblemOf("a.png", Bytes(png.begin(), png.end() - 30)).find("a.png is a damaged PNG picture"),
              std::string::npos);
}

// Zeros unpack from a thousandth of their size: 32 MB of them take 32 KB of the file.
TEST(ShownPicture, PngWhoseImageDataOutlastsItsRowsIsRefused) {
    const Bytes bomb = Deflated(Bytes(32 << 20, 0));
    for (const bool interlaced : {false, true})
        EXPECT_EQ(ProblemOf("bomba.png", GreyPng(100, 100, interlaced, bomb)),
                  "bomba.png is a damaged PNG picture: its image data is far longer than its 100 × 100 pixels need")
            << interlaced;
}

TEST(ShownPicture, PngWhoseImageDataEndsSoonAfterItsRowsIsConverted) {
    Bytes rows;
    for (int y = 0; y < 8; ++y) {
        rows.push_back(0); // no filter
        for (int x = 0; x < 8; ++x)
            rows.push_back(static_cast<std::uint8_t>(y * 8 + x));
    }
    Bytes extraRow = rows;
    extraRow.resize(rows.size() + 9, 0);
    Bytes hugeChunkClaim;
    AppendBig32(hugeChunkClaim, 0x7FFFFFFF);
    hugeChunkClaim.insert(hugeChunkClaim.end(), {'t', 'E', 'X', 't', 'a'});
    const struct {
        const char* What;
        Bytes Png;
    } cases[] = {
        {"image data in chunks of a byte", GreyPng(8, 8, false, Deflated(rows), 1)},
        {"a row more than the picture needs", GreyPng(8, 8, false, Deflated(extraRow))},
        // Nothing after the image data is read: not even a chunk claiming 2 GB that the file doesn't hold.
        {"a chunk after the image data", GreyPng(8, 8, false, Deflated(rows), 1 << 16, hugeChunkClaim)},
    };
    for (const auto& [what, png] : cases) {
        const Bitmap bitmap = ShownFromPng(png);
        EXPECT_EQ(bitmap.PixelAt(7, 6), (Rgb{55, 55, 55})) << what;
    }
}

TEST(ShownPicture, KeptKindsAreNamedByTheirContent) {
    const Bytes jpeg = MakeTestJpeg(8, 8);
    const Bytes gif = MakeTestGif(4, 4);
    const Bytes bmp = MakeTestBmp24(2, 2);
    const auto nameOf = [](std::string_view name, const Bytes& data) {
        const ShownPicture shown = ToShownPicture(name, data);
        EXPECT_EQ(shown.Data, data) << name;
        return shown.Name;
    };
    EXPECT_EQ(nameOf("zdjęcie.gif", jpeg), "zdjęcie.jpg");
    EXPECT_EQ(nameOf("ZDJĘCIE.JPG", jpeg), "ZDJĘCIE.JPG");
    EXPECT_EQ(nameOf("foto.jpeg", jpeg), "foto.jpg");
    EXPECT_EQ(nameOf("rysunek", gif), "rysunek.gif");
    EXPECT_EQ(nameOf("wersja.2/mapa", bmp), "wersja.2/mapa.bmp");
}

TEST(ShownPicture, DamagedKeptPictureIsRefused) {
    const Bytes jpeg = MakeTestJpeg(8, 8);
    EXPECT_EQ(ProblemOf("a.jpg", Bytes(jpeg.begin(), jpeg.begin() + 30)).rfind("a.jpg can't be shown: JPEG", 0), 0u);
    EXPECT_EQ(ProblemOf("b.bmp", Bytes{'B', 'M', 0}).rfind("b.bmp can't be shown: BMP", 0), 0u);
}

TEST(ShownPicture, OtherKindsAreRefusedInPlainWords) {
    const auto bytes = [](std::string_view text) { return Bytes(text.begin(), text.end()); };
    const std::string shown = " (it shows JPEG, GIF and BMP; PNG is converted)";
    EXPECT_EQ(ProblemOf("notatka.png", bytes("To nie jest obrazek.\n")),
              "notatka.png is no picture the program can show" + shown);
    EXPECT_EQ(ProblemOf("pusty.png", {}), "pusty.png is no picture the program can show" + shown);
    EXPECT_EQ(ProblemOf("a.png", bytes(std::string("RIFF\x10\0\0\0WEBPVP8 ", 16))),
              "a.png is in the WebP format, which the program can't show" + shown);
    EXPECT_EQ(ProblemOf("b.tif", bytes(std::string("II*\0\x08\0\0\0", 8))),
              "b.tif is in the TIFF format, which the program can't show" + shown);
    EXPECT_EQ(ProblemOf("c.svg", bytes("<?xml version=\"1.0\"?>\n<svg width=\"10\"/>")),
              "c.svg is in the SVG format, which the program can't show" + shown);
}

} // namespace
} // namespace skq
