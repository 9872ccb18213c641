// The one body of the picture decoders' fuzz targets: a picture either decodes whole, within the size limits and
// holding exactly its pixels, or fails and leaves the target alone.
#pragma once

#include "core/base/Bytes.h"
#include "core/base/StorageError.h"
#include "core/storage/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A picture decodes within 400 MB (scripts/fuzz.sh); AddressSanitizer's quarantine of freed memory, 256 MB by
// default, would keep the last few pictures resident on top of that.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

template <void (*Decode)(ByteView, Bitmap&)> int FuzzPictureDecoder(const std::uint8_t* data, std::size_t size) {
    Bitmap bitmap;
    try {
        Decode(ByteView(data, size), bitmap);
    } catch (const StorageError&) {
        if (bitmap.Width != 0 || !bitmap.Pixels.empty())
            std::abort();
        return 0;
    }
    const bool whole =
        bitmap.Width >= 1 && bitmap.Height >= 1 && bitmap.Width <= kMaxPictureSide &&
        bitmap.Height <= kMaxPictureSide &&
        bitmap.Pixels.size() == static_cast<std::size_t>(bitmap.Width) * bitmap.Height * bitmap.BytesPerPixel();
    if (!whole)
        std::abort();
    return 0;
}
