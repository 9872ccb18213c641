#include "core/layout/TestScreenRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(LeastLines, WordsWrapAndLineBreaksCount) {
    EXPECT_EQ(LeastLines("", 100), 1);
    EXPECT_EQ(LeastLines("abc def", 100), 1);
    EXPECT_EQ(LeastLines("aaaaa aaaaa", 50), 2); // 25 + 3 + 25 pixels
    EXPECT_EQ(LeastLines("aaaa\r\nbbbb\ncccc", 100), 3);
    EXPECT_EQ(LeastLines(std::string(60, 'a'), 100), 3); // 300 pixels of one word
    EXPECT_EQ(LeastLines("iiiii iiiii", 20), 2);
    EXPECT_EQ(LeastLines("aaaaa  ", 25), 1); // trailing spaces start no line         // narrow letters: 10 + 3 + 10
}

TEST(LeastLines, OnlyTextsBeyondTheLabelsLinesAreCutOff) {
    EXPECT_FALSE(SurelyCutOff("Warszawa", kAnswerLabel));
    EXPECT_FALSE(SurelyCutOff(std::string(120, 'a'), kAnswerLabel)); // two lines, each half shown
    EXPECT_TRUE(SurelyCutOff(std::string(150, 'a'), kAnswerLabel));
    EXPECT_FALSE(SurelyCutOff("a\rb", kHintLabel));
    EXPECT_TRUE(SurelyCutOff("a\rb\rc", kHintLabel));
}
