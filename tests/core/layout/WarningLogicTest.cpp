#include "core/layout/WarningLogic.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

using enum WarningButton;

WarningBox Started(int buttonSet) {
    WarningBox box;
    StartWarning(buttonSet, box);
    return box;
}

std::optional<int> CloseOn(const WarningBox& box, int key, std::string_view language = "pl") {
    return WarningKeyDown(box, key, false, language).Close;
}

// Presses the keys one after another while the box stays open; the close of the last key.
std::optional<int> CloseAfter(WarningBox box, std::initializer_list<int> keys) {
    std::optional<int> close;
    for (const int key : keys) {
        EXPECT_FALSE(close) << "the box closed before the key " << key;
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        box.Focus = outcome.Focus;
        close = outcome.Close;
    }
    return close;
}

} // namespace

TEST(WarningStart, CloseOnlySetShowsZamknijHighlighted) {
    WarningBox box;
    EXPECT_TRUE(StartWarning(1, box));
    EXPECT_FALSE(box.Shows(Tak));
    EXPECT_FALSE(box.Shows(Nie));
    EXPECT_FALSE(box.Shows(Anuluj));
    EXPECT_TRUE(box.Shows(Zamknij));
    EXPECT_EQ(box.Focus, 4);
    // The hidden Tak keeps its highlighted face too.
    EXPECT_TRUE(StartsHighlighted(Tak, box));
    EXPECT_FALSE(StartsHighlighted(Nie, box));
    EXPECT_FALSE(StartsHighlighted(Anuluj, box));
    EXPECT_TRUE(StartsHighlighted(Zamknij, box));
}

TEST(WarningStart, ThreeButtonSetShowsTakNieAnulujWithTakHighlighted) {
    WarningBox box;
    EXPECT_TRUE(StartWarning(3, box));
    EXPECT_TRUE(box.Shows(Tak));
    EXPECT_TRUE(box.Shows(Nie));
    EXPECT_TRUE(box.Shows(Anuluj));
    EXPECT_FALSE(box.Shows(Zamknij));
    EXPECT_EQ(box.Focus, 1);
    EXPECT_TRUE(StartsHighlighted(Tak, box));
    EXPECT_FALSE(StartsHighlighted(Nie, box));
    EXPECT_FALSE(StartsHighlighted(Anuluj, box));
    EXPECT_FALSE(StartsHighlighted(Zamknij, box));
}

TEST(WarningStart, EveryShowingStartsAfresh) {
    WarningBox box = Started(3);
    box.Focus = 3;
    StartWarning(3, box);
    EXPECT_EQ(box.Focus, 1);
    StartWarning(1, box);
    EXPECT_EQ(box.Focus, 4);
    EXPECT_FALSE(box.Shows(Tak));
    StartWarning(3, box);
    EXPECT_FALSE(box.Shows(Zamknij));
}

TEST(WarningStart, OtherSetKeepsTheLastButtonsAndPutsInNoText) {
    WarningBox box = Started(1);
    EXPECT_FALSE(StartWarning(2, box));
    EXPECT_TRUE(box.Shows(Zamknij));
    EXPECT_FALSE(box.Shows(Tak));
    EXPECT_EQ(box.Focus, 1);
}

TEST(WarningHighlight, RightAndLeftCycleThroughTakNieAnulujButNeverLeaveZamknij) {
    EXPECT_EQ(FocusRight(1), 2);
    EXPECT_EQ(FocusRight(2), 3);
    EXPECT_EQ(FocusRight(3), 1);
    EXPECT_EQ(FocusLeft(1), 3);
    EXPECT_EQ(FocusLeft(2), 1);
    EXPECT_EQ(FocusLeft(3), 2);
    EXPECT_EQ(FocusRight(4), 4);
    EXPECT_EQ(FocusLeft(4), 4);
}

TEST(WarningCloseOnlyKeys, EnterEscapeAndZClose) {
    const WarningBox box = Started(1);
    EXPECT_EQ(CloseOn(box, kKeyEnter), 0);
    EXPECT_EQ(CloseOn(box, kKeyEscape), 0);
    EXPECT_EQ(CloseOn(box, 'Z'), 0);
    EXPECT_EQ(CloseOn(box, 'z'), 0);
}

TEST(WarningCloseOnlyKeys, ArrowsTabAndLettersOfHiddenButtonsDoNothing) {
    const WarningBox box = Started(1);
    for (const int key : {kKeyLeft, kKeyRight, int{'T'}, int{'N'}, int{'A'}, int{'Q'}, 0}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, 4) << key;
    }
    const WarningKeyOutcome tab = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(tab.Close);
    EXPECT_EQ(tab.Focus, 4);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyLeft, kKeyEnter}), 0);
}

TEST(WarningThreeButtonKeys, EnterChoosesTheHighlightedButton) {
    const WarningBox box = Started(3);
    EXPECT_EQ(CloseOn(box, kKeyEnter), 1);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyEnter}), 2);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyEnter}), 3);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyRight, kKeyEnter}), 1);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyEnter}), 3);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyLeft, kKeyEnter}), 2);
}

TEST(WarningThreeButtonKeys, LettersChooseTheirButtonsInEitherCase) {
    const WarningBox box = Started(3);
    EXPECT_EQ(CloseOn(box, 'T'), 1);
    EXPECT_EQ(CloseOn(box, 'N'), 2);
    EXPECT_EQ(CloseOn(box, 'A'), 3);
    EXPECT_EQ(CloseOn(box, 't'), 1);
    EXPECT_EQ(CloseOn(box, 'n'), 2);
    EXPECT_EQ(CloseOn(box, 'a'), 3);
}

TEST(WarningThreeButtonKeys, EscapeAndZDoNothing) {
    const WarningBox box = Started(3);
    for (const int key : {kKeyEscape, int{'Z'}, int{'z'}, int{'Y'}, int{'C'}}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, 1) << key;
    }
}

TEST(WarningThreeButtonKeys, ArrowsMoveTheHighlightWithoutClosing) {
    const WarningBox box = Started(3);
    const WarningKeyOutcome right = WarningKeyDown(box, kKeyRight, false, "pl");
    EXPECT_FALSE(right.Close);
    EXPECT_EQ(right.Focus, 2);
    const WarningKeyOutcome left = WarningKeyDown(box, kKeyLeft, false, "pl");
    EXPECT_FALSE(left.Close);
    EXPECT_EQ(left.Focus, 3);
}

TEST(WarningTabMark, MovesTheHighlightLikeRight) {
    const WarningBox box = Started(3);
    const WarningKeyOutcome outcome = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(outcome.Close);
    EXPECT_EQ(outcome.Focus, 2);
}

TEST(WarningTabMark, MovesBeforeTheOtherSteps) {
    const WarningBox box = Started(3);
    // Enter then chooses the button the mark moved to, and an arrow moves on from there.
    EXPECT_EQ(WarningKeyDown(box, kKeyEnter, true, "pl").Close, 2);
    EXPECT_EQ(WarningKeyDown(box, kKeyRight, true, "pl").Focus, 3);
    EXPECT_EQ(WarningKeyDown(box, kKeyLeft, true, "pl").Focus, 1);
}

TEST(WarningOtherLanguage, LettersYNC) {
    const WarningBox three = Started(3);
    EXPECT_EQ(CloseOn(three, 'Y', "en"), 1);
    EXPECT_EQ(CloseOn(three, 'N', "en"), 2);
    EXPECT_EQ(CloseOn(three, 'C', "en"), 3);
    EXPECT_FALSE(CloseOn(three, 'T', "en"));
    EXPECT_FALSE(CloseOn(three, 'A', "en"));
    const WarningBox close = Started(1);
    EXPECT_EQ(CloseOn(close, 'C', "en"), 0);
    EXPECT_EQ(CloseOn(close, 'c', "en"), 0);
    EXPECT_FALSE(CloseOn(close, 'Z', "en"));
}

TEST(WarningKeySteps, EveryStepRunsAndTheLastCloseWins) {
    // Only a box whose set kept both Anuluj and Zamknij shows them together; "C" matches both.
    WarningBox box;
    box.Visible = {true, true, true, true};
    box.Focus = 1;
    EXPECT_EQ(CloseOn(box, 'C', "en"), 0);
    EXPECT_EQ(CloseOn(box, kKeyEscape, "en"), 0);
}

TEST(WarningKeySteps, EnterOnZamknijGivesZeroNotFour) {
    WarningBox box = Started(3);
    box.Focus = 4;
    EXPECT_EQ(CloseOn(box, kKeyEnter), 0);
}

TEST(WarningCloseSpot, GivesAnulujOrZamknijByTheVisibleButtons) {
    EXPECT_EQ(WarningCloseSpotClick(Started(3)), 3);
    EXPECT_EQ(WarningCloseSpotClick(Started(1)), 0);
    EXPECT_FALSE(WarningCloseSpotClick(WarningBox{}));
}

TEST(WarningButtons, LettersByLanguage) {
    EXPECT_EQ(WarningButtonLetters(Tak, "pl"), "Tt");
    EXPECT_EQ(WarningButtonLetters(Nie, "pl"), "Nn");
    EXPECT_EQ(WarningButtonLetters(Anuluj, "pl"), "Aa");
    EXPECT_EQ(WarningButtonLetters(Zamknij, "pl"), "Zz");
    EXPECT_EQ(WarningButtonLetters(Tak, "en"), "Yy");
    EXPECT_EQ(WarningButtonLetters(Nie, "en"), "Nn");
    EXPECT_EQ(WarningButtonLetters(Anuluj, "en"), "Cc");
    EXPECT_EQ(WarningButtonLetters(Zamknij, "de"), "Cc");
}

TEST(WarningPictures, PolishFaces) {
    EXPECT_EQ(WarningButtonPicture(Tak, false, "pl"), "buttak");
    EXPECT_EQ(WarningButtonPicture(Tak, true, "pl"), "buttakakt");
    EXPECT_EQ(WarningButtonPicture(Nie, false, "pl"), "butnie");
    EXPECT_EQ(WarningButtonPicture(Nie, true, "pl"), "butnieakt");
    EXPECT_EQ(WarningButtonPicture(Anuluj, false, "pl"), "butanuluj");
    EXPECT_EQ(WarningButtonPicture(Anuluj, true, "pl"), "butanulujakt");
    EXPECT_EQ(WarningButtonPicture(Zamknij, false, "pl"), "butzamknij");
    EXPECT_EQ(WarningButtonPicture(Zamknij, true, "pl"), "butzamknijakt");
}

TEST(WarningPictures, EnglishFacesForAnyOtherLanguage) {
    EXPECT_EQ(WarningButtonPicture(Tak, false, "en"), "butyes");
    EXPECT_EQ(WarningButtonPicture(Tak, true, "en"), "butyesakt");
    EXPECT_EQ(WarningButtonPicture(Nie, false, "en"), "butno");
    EXPECT_EQ(WarningButtonPicture(Nie, true, "en"), "butnoakt");
    EXPECT_EQ(WarningButtonPicture(Anuluj, false, "de"), "butcancel");
    EXPECT_EQ(WarningButtonPicture(Anuluj, true, "de"), "butcancelakt");
    EXPECT_EQ(WarningButtonPicture(Zamknij, false, ""), "butclose");
    EXPECT_EQ(WarningButtonPicture(Zamknij, true, "PL"), "butcloseakt");
}

TEST(WarningPictures, IconsAndTheUnknownKindThatKeepsTheLastOne) {
    EXPECT_EQ(WarningIconPicture(1), "ikoinfo");
    EXPECT_EQ(WarningIconPicture(2), "ikopytanie");
    EXPECT_EQ(WarningIconPicture(3), "ikouwaga");
    EXPECT_TRUE(WarningIconPicture(0).empty());
    EXPECT_TRUE(WarningIconPicture(4).empty());
}
