#include "core/storage/Scrambler.h"

#include "core/base/Random.h"
#include "core/base/StorageError.h"

#include <gtest/gtest.h>

#include <set>

namespace {

unsigned char First(const std::string& text) { return static_cast<unsigned char>(text.front()); }

std::string AllBytes() {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    return all;
}

} // namespace

TEST(Scrambler, EmptyTextHasTheEmptyMarkerAndThreeToTenFillerBytes) {
    Random random(7);
    std::set<std::size_t> lengths;
    for (int i = 0; i < 400; ++i) {
        const std::string scrambled = ScrambleText("", random);
        EXPECT_EQ(First(scrambled), 0xFE);
        for (std::size_t k = 1; k < scrambled.size(); ++k) {
            EXPECT_GE(static_cast<unsigned char>(scrambled[k]), 33);
            EXPECT_LE(static_cast<unsigned char>(scrambled[k]), 232);
        }
        lengths.insert(scrambled.size());
        EXPECT_EQ(UnscrambleText(scrambled), "");
    }
    EXPECT_EQ(lengths, (std::set<std::size_t>{4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(Scrambler, TextGetsOneOfThreeMarkersWithItsFillerLength) {
    Random random(11);
    std::set<unsigned char> markers;
    for (int i = 0; i < 300; ++i) {
        const std::string scrambled = ScrambleText("Ala ma kota", random);
        const std::size_t filler = scrambled.size() - 1 - 11;
        markers.insert(First(scrambled));
        switch (First(scrambled)) {
        case 0xA0: EXPECT_EQ(filler, 2u); break;
        case 0xA1: EXPECT_EQ(filler, 3u); break;
        case 0xA7: EXPECT_EQ(filler, 4u); break;
        default: ADD_FAILURE() << "marker " << int(First(scrambled));
        }
    }
    EXPECT_EQ(markers.size(), 3u);
}

TEST(Scrambler, EveryByteValueRoundTrips) {
    Random random(12345);
    const std::string all = AllBytes();
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(UnscrambleText(ScrambleText(all, random)), all);
}

TEST(Scrambler, BodyIsReallyScrambled) {
    Random random(3);
    const std::string text = "Zadanie z matematyki";
    const std::string scrambled = ScrambleText(text, random);
    EXPECT_EQ(scrambled.find(text), std::string::npos);
    EXPECT_NE(scrambled.substr(scrambled.size() - text.size()), text);
}

TEST(Scrambler, ControlBytesPassThroughUnchanged) {
    Random random(5);
    const std::string controls = "\t\r\n\x01\x1F";
    const std::string scrambled = ScrambleText(controls, random);
    EXPECT_EQ(scrambled.substr(scrambled.size() - controls.size()), controls);
    EXPECT_EQ(UnscrambleText(scrambled), controls);
}

TEST(Scrambler, UnscrambleRejectsEmptyInput) { EXPECT_THROW(UnscrambleText(""), StorageError); }

TEST(Scrambler, MarkedBodyIsCutAt500BytesUnmarkedIsNot) {
    const std::string body(600, '\x01');
    EXPECT_EQ(UnscrambleText("\xA0zz" + body).size(), 500u);
    EXPECT_EQ(UnscrambleText("\x93zzzzz" + body).size(), 500u);
    EXPECT_EQ(UnscrambleText("\x01" + std::string(599, '\x01')).size(), 600u);
    EXPECT_EQ(UnscrambleText(std::string(600, 'q')).size(), 600u);
}

TEST(Scrambler, OldMarkerSkipsFiveFillerBytes) {
    Random random(9);
    const std::string scrambled = ScrambleText("abc", random);
    const std::string body = scrambled.substr(scrambled.size() - 3);
    EXPECT_EQ(UnscrambleText("\x93"
                             "12345" +
                             body),
              "abc");
    EXPECT_EQ(UnscrambleText("\xA0"
                             "1"),
              ""); // marker and less filler than it promises
}

TEST(Scrambler, UnmarkedTextIsUnscrambledWhole) {
    Random random(9);
    const std::string text = "Krak\xF3w";
    const std::string scrambled = ScrambleText(text, random);
    EXPECT_EQ(UnscrambleText(scrambled.substr(scrambled.size() - text.size())), text);
}
