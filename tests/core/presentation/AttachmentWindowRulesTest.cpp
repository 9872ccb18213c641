#include "core/presentation/PictureWindowRules.h"
#include "core/presentation/TextWindowRules.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

TEST(TextCentreLayout, HoldersFollowTheWindowHeight) {
    const TextCentre centre = LayoutTextCentre(250);
    EXPECT_EQ(centre.PPodTxt, (FrameRect{0, 0, 329, 185}));
    EXPECT_EQ(centre.Mtekst, (FrameRect{3, 4, 343, 180}));
    EXPECT_EQ(centre.PPodListwe, (FrameRect{332, 0, 16, 170}));
    // The text box reaches past its holder: its own scroll bar is out of sight.
    EXPECT_GT(centre.Mtekst.Left + centre.Mtekst.Width, centre.PPodTxt.Width);
    EXPECT_EQ(LayoutTextCentre(400).PPodListwe.Height, 320);
    EXPECT_EQ(LayoutTextCentre(10).PPodListwe.Height, 0);
}

TEST(TextFontSize, StepsStopAtEightAndEleven) {
    EXPECT_EQ(SteppedFontSize(9, -1), 8);
    EXPECT_EQ(SteppedFontSize(8, -1), 8);
    EXPECT_EQ(SteppedFontSize(10, 1), 11);
    EXPECT_EQ(SteppedFontSize(11, 1), 11);
}

TEST(TextFontSize, ButtonsHideAtTheEnds) {
    EXPECT_EQ(FontButtonsFor(8), (FontButtons{false, true}));
    EXPECT_EQ(FontButtonsFor(9), (FontButtons{true, true}));
    EXPECT_EQ(FontButtonsFor(10), (FontButtons{true, true}));
    EXPECT_EQ(FontButtonsFor(11), (FontButtons{true, false}));
}

TEST(TextScrollBarFit, TextThatFitsNeedsNoBar) {
    EXPECT_EQ(LinesThatFit(185, 14), 13);
    EXPECT_EQ(LinesThatFit(185, 0), 0);
    EXPECT_EQ(LinesThatFit(-5, 14), 0);
    EXPECT_FALSE(FitTextScrollBar(13, 13).Shown);
    EXPECT_FALSE(FitTextScrollBar(0, 13).Shown);
}

TEST(TextScrollBarFit, OneLineMoreShowsTheBarWithMaxOne) {
    EXPECT_EQ(FitTextScrollBar(14, 13), (TextScrollBar{true, 1, 12, 11, 5}));
    EXPECT_EQ(FitTextScrollBar(100, 20), (TextScrollBar{true, 80, 19, 18, 5}));
}

namespace {

std::vector<std::string> ShortLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("w" + std::to_string(i));
    return lines;
}

// The shown lines are the text's first lines, the last one perhaps shortened.
bool IsBeginningOf(const ShownText& shown, const std::vector<std::string>& lines) {
    if (shown.Lines.size() > lines.size())
        return false;
    for (std::size_t i = 0; i < shown.Lines.size(); ++i) {
        const bool last = i + 1 == shown.Lines.size();
        if (last ? !lines[i].starts_with(shown.Lines[i]) : shown.Lines[i] != lines[i])
            return false;
    }
    return true;
}

std::size_t ShownBytes(const ShownText& shown) {
    std::size_t bytes = 0;
    for (std::string_view line : shown.Lines)
        bytes += line.size();
    return bytes;
}

} // namespace

TEST(ShownTextPart, RealTextsAreShownWhole) {
    std::string paragraph;
    while (paragraph.size() < 400)
        paragraph += "Zdanie z kilkoma wyrazami, jakie bywa w tekstach. ";
    const std::vector<std::vector<std::string>> texts = {
        {},
        {"", "", ""},
        std::vector<std::string>(50, paragraph),          // 20 KB of prose
        {"Sekwencja:", std::string(4000, 'A'), "koniec"}, // one very long word
        {"Tabela:", "1\t2\t3", "4\t5\t6"},
        ShortLines(1500),
    };
    for (const std::vector<std::string>& lines : texts) {
        const ShownText shown = ShownPartOf(lines);
        EXPECT_FALSE(shown.Cut);
        EXPECT_EQ(shown.Lines, std::vector<std::string_view>(lines.begin(), lines.end()));
    }
}

TEST(ShownTextPart, UnbrokenLineIsCutWithinItsFirstThousandsOfBytes) {
    const std::vector<std::string> megabyte = {std::string(1 << 20, 'x'), "dalej"};
    const ShownText shown = ShownPartOf(megabyte);
    EXPECT_TRUE(shown.Cut);
    ASSERT_EQ(shown.Lines.size(), 1u);
    EXPECT_TRUE(IsBeginningOf(shown, megabyte));
    EXPECT_GT(shown.Lines[0].size(), 5000u);
    EXPECT_LT(shown.Lines[0].size(), 8000u);
    // What is shown depends only on the beginning.
    const std::vector<std::string> fourMegabytes = {std::string(4 << 20, 'x')};
    EXPECT_EQ(ShownPartOf(fourMegabytes).Lines, shown.Lines);
}

TEST(ShownTextPart, ManyShortLinesAreCutAfterSomeThousandLines) {
    const std::vector<std::string> lines = ShortLines(2'000'000);
    const ShownText shown = ShownPartOf(lines);
    EXPECT_TRUE(shown.Cut);
    EXPECT_TRUE(IsBeginningOf(shown, lines));
    EXPECT_GT(shown.Lines.size(), 1500u);
    EXPECT_LT(shown.Lines.size(), 3000u);
}

TEST(ShownTextPart, TextFillingTheBudgetIsShownWholeAndOneByteMoreIsCut) {
    // Words of one letter cost a byte each, the line as many more as a line costs.
    std::string line;
    while (line.size() < kShownTextMaxWork - kShownLineWork)
        line += line.size() % 2 == 0 ? 'a' : ' ';
    const std::vector<std::string> filling = {line};
    EXPECT_FALSE(ShownPartOf(filling).Cut);
    const std::vector<std::string> oneByteMore = {line + "b"};
    const ShownText longer = ShownPartOf(oneByteMore);
    EXPECT_TRUE(longer.Cut);
    EXPECT_EQ(longer.Lines, std::vector<std::string_view>{line});
}

TEST(ShownTextPart, LineThatGetsNoByteIsLeftOutRatherThanShownEmpty) {
    const std::vector<std::string> lines = {std::string(kShownTextMaxWork - 2 * kShownLineWork, ' '), "drugi"};
    const ShownText shown = ShownPartOf(lines);
    EXPECT_TRUE(shown.Cut);
    EXPECT_EQ(shown.Lines, std::vector<std::string_view>{lines[0]});
}

TEST(ShownTextPart, TabsAndControlCharactersAreCutSoonerThanLetters) {
    const auto shownBytesOf = [](const std::string& pair) {
        std::vector<std::string> lines(1);
        while (lines[0].size() < (1 << 20))
            lines[0] += pair;
        return ShownBytes(ShownPartOf(lines));
    };
    const std::size_t letters = shownBytesOf("a ");
    EXPECT_LT(shownBytesOf("\t\t"), letters / 4);
    EXPECT_LT(shownBytesOf("\x01 "), letters * 2 / 3);
    EXPECT_LT(shownBytesOf("\x81 "), letters * 2 / 3) << "a byte the code page leaves unassigned";
}

TEST(PictureWindowSize, SmallWindowIsTheLeastSize) {
    EXPECT_EQ(AtLeastSmallWindow({300, 100}), (FrameSize{365, 200}));
    EXPECT_EQ(AtLeastSmallWindow({521, 150}), (FrameSize{521, 200}));
    EXPECT_EQ(AtLeastSmallWindow({521, 371}), (FrameSize{521, 371}));
}

constexpr FrameSize kWorkArea{1366, 768};

TEST(PictureWindowSize, EnlargedWindowHoldsTheWholePicture) {
    EXPECT_EQ(EnlargedWindowFor({400, 300}, kWorkArea), (FrameSize{521, 371}));
    EXPECT_EQ(AtLeastSmallWindow(EnlargedWindowFor({300, 50}, kWorkArea)), (FrameSize{421, 200}));
    // The centre of the enlarged window is exactly the holder.
    const FrameSize window = EnlargedWindowFor({400, 300}, kWorkArea);
    const FrameRect centre = LayoutExpandedFrame(kPictureFrame, window).PCentrum;
    const FrameRect holder = PictureHolderFor({400, 300});
    EXPECT_EQ(centre.Width, holder.Width);
    EXPECT_EQ(centre.Height, holder.Height);
}

TEST(PictureWindowSize, EnlargedWindowStaysWithinTheWorkArea) {
    EXPECT_EQ(EnlargedWindowFor({16384, 3000}, kWorkArea), (FrameSize{1366, 768}));
    EXPECT_EQ(EnlargedWindowFor({1300, 200}, kWorkArea), (FrameSize{1366, 271}));
    EXPECT_EQ(AtLeastSmallWindow(EnlargedWindowFor({900, 300}, {300, 150})), (FrameSize{365, 200}));
}

TEST(PictureWindowSize, PictureLiesThreePixelsInsideItsHolder) {
    EXPECT_EQ(PictureHolderFor({400, 300}), (FrameRect{0, 0, 406, 306}));
    EXPECT_EQ(PictureInHolder({400, 300}), (FrameRect{3, 3, 400, 300}));
}

TEST(PictureWindowSize, EnlargingIsOfferedWhenTheHolderDoesNotFit) {
    const FrameSize centre{250, 135};
    EXPECT_FALSE(PictureNeedsEnlarging({200, 100}, centre));
    EXPECT_FALSE(PictureNeedsEnlarging({244, 129}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({400, 300}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({300, 50}, centre));
    EXPECT_TRUE(PictureNeedsEnlarging({100, 130}, centre));
    // Narrower than the centre, but its right edge and bevel would be cut off.
    EXPECT_TRUE(PictureNeedsEnlarging({247, 100}, centre));
}
