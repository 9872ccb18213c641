#include "core/storage/GifDecoder.h"
#include "fuzz/PictureFuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzPictureDecoder<DecodeGif>(data, size);
}
