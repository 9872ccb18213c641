#include "core/base/Random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheLinearCongruentialRule) {
    SeedRandom(0);
    EXPECT_EQ(DrawRandom(0x10000), 0u); // state 1: (1 * 65536) >> 32
    EXPECT_EQ(RandomState(), 1u);
    EXPECT_EQ(DrawRandom(1000), static_cast<std::uint32_t>((std::uint64_t{134775814u} * 1000) >> 32));
    EXPECT_EQ(RandomState(), 134775814u);
}

TEST(Random, StateWrapsModulo2To32) {
    SeedRandom(0xFFFFFFFFu);
    DrawRandom(10);
    EXPECT_EQ(RandomState(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(Random, DrawsStayInRangeAndAreRepeatableFromASeed) {
    SeedRandom(2024);
    std::vector<std::uint32_t> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(DrawRandom(7));
        EXPECT_LT(first.back(), 7u);
    }
    SeedRandom(2024);
    for (std::uint32_t expected : first)
        EXPECT_EQ(DrawRandom(7), expected);
    EXPECT_EQ(DrawRandom(1), 0u);
}
