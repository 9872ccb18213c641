#pragma once

#include "core/base/Bytes.h"

#include <array>
#include <cstdint>

// The core's picture: what the question loader fills and the picture window shows.
enum class PixelFormat : std::uint8_t { Bits8, Bits24 };

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Bitmap {
    int Width = 0;
    int Height = 0;
    PixelFormat Format = PixelFormat::Bits24;
    // Bits8 only: the colours of the pixel indexes.
    std::array<Rgb, 256> Palette{};
    // Rows top-down without padding: R, G, B bytes per pixel (Bits24) or one palette index (Bits8).
    Bytes Pixels;

    int BytesPerPixel() const { return Format == PixelFormat::Bits24 ? 3 : 1; }
    Rgb PixelAt(int x, int y) const;
};

// No decoder allocates a picture larger than this, whatever its header claims.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64'000'000;

// Raises StorageError when a header claims a size outside 1..the limits above.
void CheckPictureSize(std::int64_t width, std::int64_t height);
