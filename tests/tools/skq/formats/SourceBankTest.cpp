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

// The readers of the formats without <file> share this one rule.
TEST(NeedsSoundOrVideo, HtmlTextsAndAnswersAndThePictureAreLookedAt) {
    const SourceBank gift = ReadGift(R"(::a::[html]<audio src\="x.mp3"></audio>Co słychać? {=tak ~nie ~nie wiem}

::b::[html]Co widać? {=<a href\="film.MP4">tak</a> ~nie ~nie wiem}

::c::Plik nagranie.mp3 i <audio> w zwykłym tekście {=tak ~nie ~nie wiem}
)");
    ASSERT_EQ(gift.Questions.size(), 3u);
    EXPECT_TRUE(NeedsSoundOrVideo(gift.Questions[0]));
    EXPECT_TRUE(NeedsSoundOrVideo(gift.Questions[1]));
    EXPECT_FALSE(NeedsSoundOrVideo(gift.Questions[2]));
    const SourceBank csv = ReadCsv("P;a;b;c;;;A;;lekcja.Ogg\nP;a;b;c;;;A;;mapa.png\n");
    ASSERT_EQ(csv.Questions.size(), 2u);
    EXPECT_TRUE(NeedsSoundOrVideo(csv.Questions[0]));
    EXPECT_FALSE(NeedsSoundOrVideo(csv.Questions[1]));
}

} // namespace
} // namespace skq
