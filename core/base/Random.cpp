#include "core/base/Random.h"

namespace {
std::uint32_t state = 0;
}

void SeedRandom(std::uint32_t seed) { state = seed; }

std::uint32_t RandomState() { return state; }

std::uint32_t DrawRandom(std::uint32_t range) {
    state = state * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t{state} * range) >> 32);
}
