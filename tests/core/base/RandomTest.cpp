#include "core/base/Random.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Random, FollowsTheLinearCongruentialRule) {
    Random random(0);
    EXPECT_EQ(random.Draw(0x10000), 0u); // state 1: (1 * 65536) >> 32
    EXPECT_EQ(random.State(), 1u);
    EXPECT_EQ(random.Draw(1000), static_cast<std::uint32_t>((std::uint64_t{134775814u} * 1000) >> 32));
    EXPECT_EQ(random.State(), 134775814u);
}

TEST(Random, StateWrapsModulo2To32) {
    Random random(0xFFFFFFFFu);
    random.Draw(10);
    EXPECT_EQ(random.State(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(Random, DrawsStayInRangeAndAreRepeatableFromASeed) {
    Random random(2024);
    std::vector<std::uint32_t> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(random.Draw(7));
        EXPECT_LT(first.back(), 7u);
    }
    random.Seed(2024);
    for (std::uint32_t expected : first)
        EXPECT_EQ(random.Draw(7), expected);
    EXPECT_EQ(random.Draw(1), 0u);
}
