#include "fuzz/SourceBankFuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzSourceReader<skq::ReadAiken>(data, size);
}
