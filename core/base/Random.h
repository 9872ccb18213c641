#pragma once

#include <cstdint>

// A 32-bit linear congruential generator. The program keeps one for the answer order and
// the text scrambler; the tool and the tests keep their own.
class Random {
public:
    explicit Random(std::uint32_t seed = 0) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }
    std::uint32_t State() const { return state_; }
    // Advances the state, then returns a number from 0 to range - 1 (0 for a range of 0).
    std::uint32_t Draw(std::uint32_t range);

private:
    std::uint32_t state_;
};
