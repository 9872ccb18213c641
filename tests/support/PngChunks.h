#pragma once

#include "core/base/Bytes.h"

#include <zlib.h>

#include <cstdint>
#include <string_view>

// PNG files put together chunk by chunk, so that tests and benchmarks can craft any of their parts.

inline void AppendBig32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (24 - 8 * i)));
}

// The chunk's length, type, data and checksum.
inline void AppendChunk(Bytes& png, std::string_view type, const Bytes& data) {
    AppendBig32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    AppendBig32(png, static_cast<std::uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(data.size() + 4))));
}

// A zlib stream of the bytes, packed as tightly as zlib can.
inline Bytes Deflated(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    out.resize(size);
    return out;
}

// An 8-bit RGB picture of a smooth gradient, its rows unfiltered.
inline Bytes GradientPng(std::uint32_t width, std::uint32_t height) {
    Bytes rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        rows.push_back(0);
        for (std::uint32_t x = 0; x < width; ++x)
            rows.insert(rows.end(),
                        {static_cast<std::uint8_t>(x * 255 / width), static_cast<std::uint8_t>(y * 255 / height), 128});
    }
    Bytes header;
    AppendBig32(header, width);
    AppendBig32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, no interlace
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", Deflated(rows));
    AppendChunk(png, "IEND", {});
    return png;
}
