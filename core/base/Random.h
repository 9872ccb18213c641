#pragma once

#include <cstdint>

// The application's one pseudo-random generator: a 32-bit linear congruential
// generator shared by the answer order and the text scrambler.
void SeedRandom(std::uint32_t seed);
std::uint32_t RandomState();
// Advances the state, then returns a number from 0 to range - 1 (0 for a range of 0).
std::uint32_t DrawRandom(std::uint32_t range);
