#include "storage/BmpReader.h"
#include "storage/StorageError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A decoded picture is within the limits and holds exactly its pixels.
bool IsWhole(const Bitmap& bitmap) {
    return bitmap.Width >= 1 && bitmap.Height >= 1 && bitmap.Width <= kMaxPictureSide &&
           bitmap.Height <= kMaxPictureSide &&
           bitmap.Pixels.size() == static_cast<std::size_t>(bitmap.Width) * bitmap.Height * bitmap.BytesPerPixel();
}

} // namespace

// A picture decodes within 400 MB (scripts/fuzz.sh); AddressSanitizer's quarantine of freed memory, 256 MB by
// default, would keep the last few pictures resident on top of that.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bitmap bitmap;
    try {
        DecodeBmp(ByteView(data, size), bitmap);
    } catch (const StorageError&) {
        if (bitmap.Width != 0 || !bitmap.Pixels.empty()) // a failure must leave the target alone
            std::abort();
        return 0;
    }
    if (!IsWhole(bitmap))
        std::abort();
    return 0;
}
