// Decodes the input as an encoded field and checks that encoding gives it back.
#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const Bytes decoded = DecodeBase64(text);
        if (decoded.size() > size / 4 * 3)
            __builtin_trap();
        DecodeBase64Utf16(std::u16string(text.begin(), text.end()));
    } catch (const StorageError&) {
    }
    const Bytes bytes(data, data + size);
    if (DecodeBase64(EncodeBase64(bytes)) != bytes)
        __builtin_trap();
    return 0;
}
