#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Raw file contents: archive entries, pictures, documents.
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;
