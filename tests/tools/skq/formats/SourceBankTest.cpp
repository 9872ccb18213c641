#include "tools/skq/formats/SourceBank.h"

#include <gtest/gtest.h>

namespace skq {
namespace {

using Path = std::vector<std::string>;

TEST(CategoryPath, ContextAndTopAreLeftOutAndDoubledSlashesStayInTheName) {
    EXPECT_EQ(CategoryPath("$course$/top/Ułamki/Dodawanie"), (Path{"Ułamki", "Dodawanie"}));
    EXPECT_EQ(CategoryPath("$system$/top"), Path{});
    EXPECT_EQ(CategoryPath(" Klasa 4 / Dzielenie 1//2 "), (Path{"Klasa 4", "Dzielenie 1/2"}));
    EXPECT_EQ(CategoryPath("a//"), Path{"a/"});
    EXPECT_EQ(CategoryPath("Ułamki/top"), (Path{"Ułamki", "top"}));
    EXPECT_EQ(CategoryPath("//"), Path{"/"});
    EXPECT_EQ(CategoryPath(""), Path{});
}

} // namespace
} // namespace skq
