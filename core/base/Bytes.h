#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Raw file contents: archive entries, pictures, documents.
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Little-endian numbers, as every file format here stores them. The reads don't check bounds: the caller
// has made sure that offset + 2 (or 4) <= bytes.size(), as its own format rules require anyway.
inline std::uint16_t ReadLittle16(ByteView bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t ReadLittle32(ByteView bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(ReadLittle16(bytes, offset)) |
           static_cast<std::uint32_t>(ReadLittle16(bytes, offset + 2)) << 16;
}

inline void AppendLittle32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}
