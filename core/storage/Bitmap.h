#pragma once

#include "core/base/Bytes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// The core's picture: what the question loader fills and the picture window shows.
enum class PixelFormat : std::uint8_t { Bits8, Bits24 };

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Leaves new elements uninitialised: a decoder writes every pixel of its picture, and zero-filling
// megabytes first would cost a tenth of the decoding.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = UninitialisedAllocator<U>; };
    UninitialisedAllocator() = default;
    template <typename U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <typename U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <typename U, typename... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// Pixel rows; resize() leaves them as they are, so whoever sizes them writes them.
using PixelBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

struct Bitmap {
    int Width = 0;
    int Height = 0;
    PixelFormat Format = PixelFormat::Bits24;
    // Bits8 only: the colours of the pixel indexes.
    std::array<Rgb, 256> Palette{};
    // Rows top-down without padding: R, G, B bytes per pixel (Bits24) or one palette index (Bits8).
    PixelBytes Pixels;

    int BytesPerPixel() const { return Format == PixelFormat::Bits24 ? 3 : 1; }
    Rgb PixelAt(int x, int y) const;
};

// No decoder allocates a picture larger than this, whatever its header claims.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64'000'000;

// Raises StorageError when a header claims a size outside 1..the limits above.
void CheckPictureSize(std::int64_t width, std::int64_t height);
