#include "core/base/Random.h"

std::uint32_t Random::Draw(std::uint32_t range) {
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t{state_} * range) >> 32);
}
