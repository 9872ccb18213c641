// Unscrambles the input as a stored line and checks that scrambling round-trips it.
#include "core/base/StorageError.h"
#include "core/storage/Scrambler.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        if (UnscrambleText(text).size() > size)
            __builtin_trap();
    } catch (const StorageError&) {
        if (!text.empty())
            __builtin_trap();
    }
    Random random(static_cast<std::uint32_t>(size));
    if (text.size() <= 500 && UnscrambleText(ScrambleText(text, random)) != text)
        __builtin_trap();
    return 0;
}
