// Brings the input, named as a PNG, into a shown kind: it either comes out as a picture the program's own
// readers load, or is refused with a reason.
#include "core/base/StorageError.h"
#include "core/storage/BmpReader.h"
#include "fuzz/PictureFuzzer.h" // for its sanitizer settings of picture decoding
#include "tools/skq/formats/ShownPicture.h"

#include <zlib.h>

#include <cstdlib>

namespace {

// Every chunk of the input with its checksum made right, so that mutations reach past libpng's checks.
Bytes WithRightChecksums(const std::uint8_t* data, std::size_t size) {
    Bytes png(data, data + size);
    for (std::size_t chunk = 8; chunk + 12 <= png.size();) {
        const std::uint64_t length =
            std::uint64_t{png[chunk]} << 24 | png[chunk + 1] << 16 | png[chunk + 2] << 8 | png[chunk + 3];
        if (length > png.size() - chunk - 12)
            break;
        const std::size_t end = chunk + 8 + length;
        const auto crc = static_cast<std::uint32_t>(crc32(0, png.data() + chunk + 4, static_cast<uInt>(length + 4)));
        for (int i = 0; i < 4; ++i)
            png[end + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        chunk = end + 4;
    }
    return png;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    skq::ShownPicture shown;
    try {
        shown = skq::ToShownPicture("f.png", WithRightChecksums(data, size));
    } catch (const skq::PictureProblem&) {
        return 0;
    }
    // A converted PNG must read back; the kinds kept as they are were checked by their own decoders. The largest
    // BMPs (64 MB) would take seconds to read back under the sanitizers, and their layout is that of small ones.
    constexpr std::size_t kLargestReadBack = 4 << 20;
    if (shown.Name == "f.bmp" && shown.Data.size() <= kLargestReadBack) {
        Bitmap bitmap;
        try {
            DecodeBmp(shown.Data, bitmap);
        } catch (const StorageError&) {
            std::abort();
        }
    }
    return 0;
}
