#pragma once

#include "core/base/Bytes.h"
#include "core/storage/Bitmap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Picture files built in memory for the decoder and archive tests.

// A small bitmap of odd content, to show that a failed load leaves its target alone.
Bitmap SentinelBitmap();
bool SameBitmap(const Bitmap& a, const Bitmap& b);

// The smooth colour ramp of MakeTestJpeg and MakeTestBmp24 at (x, y): red grows to the right, green downwards.
Rgb GradientColour(int x, int y, int width, int height);

// ---- JPEG, written by libjpeg

// How a maker codes its picture; the default is libjpeg's baseline.
struct JpegCoding {
    bool Progressive = false; // libjpeg's usual progressive scans
    bool Arithmetic = false;
    // Sampling factors (1 to 4) of the first channel across and down; 0 leaves libjpeg's choice.
    int FirstChannelAcross = 0, FirstChannelDown = 0;
    int RestartInterval = 0; // in MCUs; 0 for no restart markers
};

Bytes MakeTestJpeg(int width, int height, JpegCoding coding = {}); // RGB gradient
Bytes MakeProgressiveJpeg(int width, int height);                  // the same gradient in progressive scans
Bytes MakeGreyJpeg(int width, int height, JpegCoding coding = {}); // one channel: the red of the gradient
Bytes MakeTwoChannelJpeg(int width, int height);                   // channels of no known colour space

// Four-channel ink, as the bytes stored in the file.
struct Ink {
    std::uint8_t C = 0, M = 0, Y = 0, K = 0;
};
enum class InkStorage { Plain, AdobeInverted, AdobeYcck };
// One flat colour. Plain: ink amounts, no Adobe marker. AdobeInverted: the caller passes inverted ink, and the file
// carries an Adobe marker. AdobeYcck: as AdobeInverted, but libjpeg stores the channels as YCCK.
Bytes MakeCmykJpeg(int width, int height, Ink stored, InkStorage storage, JpegCoding coding = {});

// Where the first scan's coded data starts: everything before it is header.
std::size_t JpegScanDataStart(const Bytes& jpeg);
// The file with its last scan repeated `times` more times before the end marker.
Bytes RepeatLastJpegScan(const Bytes& jpeg, int times);
// Rewrites the picture size in the frame header, leaving the data as it is.
void SetJpegFrameSize(Bytes& jpeg, int width, int height);
// The picture coded anew with every coefficient of every block large and nonzero: the most an arithmetic decoder
// can be made to decode from a block, and from the zeros it reads once the data runs out.
Bytes RecodeWithFullBlocks(const Bytes& jpeg, JpegCoding coding);

// ---- GIF, written by giflib

struct GifLayout {
    int ScreenWidth = 0, ScreenHeight = 0;
    int Background = 0;
    std::vector<Rgb> GlobalColours; // empty: no global table; otherwise 2, 4, … 256 entries
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlaced = false;
    std::vector<Rgb> LocalColours; // empty: no local table
    Bytes Indexes;                 // Width × Height, rows top-down
};
Bytes MakeGif(const GifLayout& layout);
// The file with its global colour table taken out (giflib refuses to write a GIF without any table).
Bytes WithoutGlobalColourTable(const Bytes& gif);

// A 16-colour pattern with a global table, one image covering the screen.
Bytes MakeTestGif(int width, int height);
std::uint8_t PatternIndex(int x, int y);
Rgb PatternColour(int index);

// ---- BMP, built by hand

struct BmpLayout {
    std::uint32_t HeaderSize = 40;      // 12, 40, 108 or 124
    std::int32_t Width = 0, Height = 0; // a negative height stores rows top-down
    int BitCount = 24;
    std::uint32_t Compression = 0; // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    std::vector<Rgb> Palette;
    std::uint32_t ColoursUsed = 0;
    std::array<std::uint32_t, 3> Masks{}; // red, green, blue; written for bit fields
    Bytes PixelData;                      // as stored
};
Bytes MakeBmp(const BmpLayout& layout);
// Rows given top-down, stored bottom-up (or top-down) with 4-byte padding. A value is a palette index up to 8 bits,
// a little-endian pixel at 16 and 32 bits, and 0xRRGGBB at 24 bits.
Bytes PackBmpRows(const std::vector<std::uint32_t>& values, int width, int height, int bitCount, bool topDown);
// Offset of the pixel data in a file from MakeBmp.
std::uint32_t BmpPixelOffset(const Bytes& bmp);

Bytes MakeTestBmp24(int width, int height); // bottom-up, GradientColour
