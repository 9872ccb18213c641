#include "core/layout/WarningLogic.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

using enum WarningButton;

WarningBox Started(WarningButtonSet buttons) {
    WarningBox box;
    StartWarning(buttons, box);
    return box;
}

std::optional<WarningButton> CloseOn(const WarningBox& box, int key, std::string_view language = "pl") {
    return WarningKeyDown(box, key, false, language).Close;
}

// Presses the keys one after another while the box stays open; the close of the last key.
std::optional<WarningButton> CloseAfter(WarningBox box, std::initializer_list<int> keys) {
    std::optional<WarningButton> close;
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
    EXPECT_TRUE(StartWarning(WarningButtonSet::Close, box));
    EXPECT_FALSE(box.Shows(Tak));
    EXPECT_FALSE(box.Shows(Nie));
    EXPECT_FALSE(box.Shows(Anuluj));
    EXPECT_TRUE(box.Shows(Zamknij));
    EXPECT_EQ(box.Focus, Zamknij);
    // The hidden Tak keeps its highlighted face too.
    EXPECT_TRUE(StartsHighlighted(Tak, box));
    EXPECT_FALSE(StartsHighlighted(Nie, box));
    EXPECT_FALSE(StartsHighlighted(Anuluj, box));
    EXPECT_TRUE(StartsHighlighted(Zamknij, box));
}

TEST(WarningStart, ThreeButtonSetShowsTakNieAnulujWithTakHighlighted) {
    WarningBox box;
    EXPECT_TRUE(StartWarning(WarningButtonSet::YesNoCancel, box));
    EXPECT_TRUE(box.Shows(Tak));
    EXPECT_TRUE(box.Shows(Nie));
    EXPECT_TRUE(box.Shows(Anuluj));
    EXPECT_FALSE(box.Shows(Zamknij));
    EXPECT_EQ(box.Focus, Tak);
    EXPECT_TRUE(StartsHighlighted(Tak, box));
    EXPECT_FALSE(StartsHighlighted(Nie, box));
    EXPECT_FALSE(StartsHighlighted(Anuluj, box));
    EXPECT_FALSE(StartsHighlighted(Zamknij, box));
}

TEST(WarningStart, EveryShowingStartsAfresh) {
    WarningBox box = Started(WarningButtonSet::YesNoCancel);
    box.Focus = Anuluj;
    StartWarning(WarningButtonSet::YesNoCancel, box);
    EXPECT_EQ(box.Focus, Tak);
    StartWarning(WarningButtonSet::Close, box);
    EXPECT_EQ(box.Focus, Zamknij);
    EXPECT_FALSE(box.Shows(Tak));
    StartWarning(WarningButtonSet::YesNoCancel, box);
    EXPECT_FALSE(box.Shows(Zamknij));
}

TEST(WarningStart, OtherSetKeepsTheLastButtonsAndPutsInNoText) {
    WarningBox box = Started(WarningButtonSet::Close);
    EXPECT_FALSE(StartWarning(static_cast<WarningButtonSet>(2), box));
    EXPECT_TRUE(box.Shows(Zamknij));
    EXPECT_FALSE(box.Shows(Tak));
    EXPECT_EQ(box.Focus, Tak);
}

TEST(WarningHighlight, RightAndLeftCycleThroughTakNieAnulujButNeverLeaveZamknij) {
    EXPECT_EQ(FocusRight(Tak), Nie);
    EXPECT_EQ(FocusRight(Nie), Anuluj);
    EXPECT_EQ(FocusRight(Anuluj), Tak);
    EXPECT_EQ(FocusLeft(Tak), Anuluj);
    EXPECT_EQ(FocusLeft(Nie), Tak);
    EXPECT_EQ(FocusLeft(Anuluj), Nie);
    EXPECT_EQ(FocusRight(Zamknij), Zamknij);
    EXPECT_EQ(FocusLeft(Zamknij), Zamknij);
}

TEST(WarningCloseOnlyKeys, EnterEscapeAndZClose) {
    const WarningBox box = Started(WarningButtonSet::Close);
    EXPECT_EQ(CloseOn(box, kKeyEnter), Zamknij);
    EXPECT_EQ(CloseOn(box, kKeyEscape), Zamknij);
    EXPECT_EQ(CloseOn(box, 'Z'), Zamknij);
    EXPECT_EQ(CloseOn(box, 'z'), Zamknij);
}

TEST(WarningCloseOnlyKeys, ArrowsTabAndLettersOfHiddenButtonsDoNothing) {
    const WarningBox box = Started(WarningButtonSet::Close);
    for (const int key : {kKeyLeft, kKeyRight, int{'T'}, int{'N'}, int{'A'}, int{'Q'}, 0}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, Zamknij) << key;
    }
    const WarningKeyOutcome tab = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(tab.Close);
    EXPECT_EQ(tab.Focus, Zamknij);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyLeft, kKeyEnter}), Zamknij);
}

TEST(WarningThreeButtonKeys, EnterChoosesTheHighlightedButton) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(box, kKeyEnter), Tak);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyEnter}), Nie);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyEnter}), Anuluj);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyRight, kKeyEnter}), Tak);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyEnter}), Anuluj);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyLeft, kKeyEnter}), Nie);
}

TEST(WarningThreeButtonKeys, LettersChooseTheirButtonsInEitherCase) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(box, 'T'), Tak);
    EXPECT_EQ(CloseOn(box, 'N'), Nie);
    EXPECT_EQ(CloseOn(box, 'A'), Anuluj);
    EXPECT_EQ(CloseOn(box, 't'), Tak);
    EXPECT_EQ(CloseOn(box, 'n'), Nie);
    EXPECT_EQ(CloseOn(box, 'a'), Anuluj);
}

TEST(WarningThreeButtonKeys, EscapeAndZDoNothing) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    for (const int key : {kKeyEscape, int{'Z'}, int{'z'}, int{'Y'}, int{'C'}}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, Tak) << key;
    }
}

TEST(WarningThreeButtonKeys, ArrowsMoveTheHighlightWithoutClosing) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    const WarningKeyOutcome right = WarningKeyDown(box, kKeyRight, false, "pl");
    EXPECT_FALSE(right.Close);
    EXPECT_EQ(right.Focus, Nie);
    const WarningKeyOutcome left = WarningKeyDown(box, kKeyLeft, false, "pl");
    EXPECT_FALSE(left.Close);
    EXPECT_EQ(left.Focus, Anuluj);
}

TEST(WarningTabMark, MovesTheHighlightLikeRight) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    const WarningKeyOutcome outcome = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(outcome.Close);
    EXPECT_EQ(outcome.Focus, Nie);
}

TEST(WarningTabMark, MovesBeforeTheOtherSteps) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    // Enter then chooses the button the mark moved to, and an arrow moves on from there.
    EXPECT_EQ(WarningKeyDown(box, kKeyEnter, true, "pl").Close, Nie);
    EXPECT_EQ(WarningKeyDown(box, kKeyRight, true, "pl").Focus, Anuluj);
    EXPECT_EQ(WarningKeyDown(box, kKeyLeft, true, "pl").Focus, Tak);
}

TEST(WarningOtherLanguage, LettersYNC) {
    const WarningBox three = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(three, 'Y', "en"), Tak);
    EXPECT_EQ(CloseOn(three, 'N', "en"), Nie);
    EXPECT_EQ(CloseOn(three, 'C', "en"), Anuluj);
    EXPECT_FALSE(CloseOn(three, 'T', "en"));
    EXPECT_FALSE(CloseOn(three, 'A', "en"));
    const WarningBox close = Started(WarningButtonSet::Close);
    EXPECT_EQ(CloseOn(close, 'C', "en"), Zamknij);
    EXPECT_EQ(CloseOn(close, 'c', "en"), Zamknij);
    EXPECT_FALSE(CloseOn(close, 'Z', "en"));
}

TEST(WarningKeySteps, EveryStepRunsAndTheLastCloseWins) {
    // Only a box whose set kept both Anuluj and Zamknij shows them together; "C" matches both.
    WarningBox box;
    box.Visible = {true, true, true, true};
    box.Focus = Tak;
    EXPECT_EQ(CloseOn(box, 'C', "en"), Zamknij);
    EXPECT_EQ(CloseOn(box, kKeyEscape, "en"), Zamknij);
}

TEST(WarningKeySteps, EnterOnZamknijClosesWithZamknij) {
    WarningBox box = Started(WarningButtonSet::YesNoCancel);
    box.Focus = Zamknij;
    EXPECT_EQ(CloseOn(box, kKeyEnter), Zamknij);
}

TEST(WarningCloseSpot, GivesAnulujOrZamknijByTheVisibleButtons) {
    EXPECT_EQ(WarningCloseSpotClick(Started(WarningButtonSet::YesNoCancel)), Anuluj);
    EXPECT_EQ(WarningCloseSpotClick(Started(WarningButtonSet::Close)), Zamknij);
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
    EXPECT_EQ(WarningIconPicture(WarningIcon::Information), "ikoinfo");
    EXPECT_EQ(WarningIconPicture(WarningIcon::Question), "ikopytanie");
    EXPECT_EQ(WarningIconPicture(WarningIcon::Warning), "ikouwaga");
    EXPECT_TRUE(WarningIconPicture(static_cast<WarningIcon>(0)).empty());
    EXPECT_TRUE(WarningIconPicture(static_cast<WarningIcon>(4)).empty());
}
