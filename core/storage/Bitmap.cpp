#include "core/storage/Bitmap.h"

#include "core/base/StorageError.h"

Rgb Bitmap::PixelAt(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * Width + x) * BytesPerPixel();
    if (Format == PixelFormat::Bits8)
        return Palette[Pixels[at]];
    return {Pixels[at], Pixels[at + 1], Pixels[at + 2]};
}

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels)
        throw StorageError("picture size out of range");
}
