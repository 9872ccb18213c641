#include "core/presentation/WarningLogic.h"

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
    EXPECT_FALSE(box.Shows(Yes));
    EXPECT_FALSE(box.Shows(No));
    EXPECT_FALSE(box.Shows(Cancel));
    EXPECT_TRUE(box.Shows(Close));
    EXPECT_EQ(box.Focus, Close);
    // The hidden Yes keeps its highlighted face too.
    EXPECT_TRUE(StartsHighlighted(Yes, box));
    EXPECT_FALSE(StartsHighlighted(No, box));
    EXPECT_FALSE(StartsHighlighted(Cancel, box));
    EXPECT_TRUE(StartsHighlighted(Close, box));
}

TEST(WarningStart, ThreeButtonSetShowsTakNieAnulujWithTakHighlighted) {
    WarningBox box;
    EXPECT_TRUE(StartWarning(WarningButtonSet::YesNoCancel, box));
    EXPECT_TRUE(box.Shows(Yes));
    EXPECT_TRUE(box.Shows(No));
    EXPECT_TRUE(box.Shows(Cancel));
    EXPECT_FALSE(box.Shows(Close));
    EXPECT_EQ(box.Focus, Yes);
    EXPECT_TRUE(StartsHighlighted(Yes, box));
    EXPECT_FALSE(StartsHighlighted(No, box));
    EXPECT_FALSE(StartsHighlighted(Cancel, box));
    EXPECT_FALSE(StartsHighlighted(Close, box));
}

TEST(WarningStart, EveryShowingStartsAfresh) {
    WarningBox box = Started(WarningButtonSet::YesNoCancel);
    box.Focus = Cancel;
    StartWarning(WarningButtonSet::YesNoCancel, box);
    EXPECT_EQ(box.Focus, Yes);
    StartWarning(WarningButtonSet::Close, box);
    EXPECT_EQ(box.Focus, Close);
    EXPECT_FALSE(box.Shows(Yes));
    StartWarning(WarningButtonSet::YesNoCancel, box);
    EXPECT_FALSE(box.Shows(Close));
}

TEST(WarningStart, OtherSetKeepsTheLastButtonsAndPutsInNoText) {
    WarningBox box = Started(WarningButtonSet::Close);
    EXPECT_FALSE(StartWarning(static_cast<WarningButtonSet>(2), box));
    EXPECT_TRUE(box.Shows(Close));
    EXPECT_FALSE(box.Shows(Yes));
    EXPECT_EQ(box.Focus, Yes);
}

TEST(WarningHighlight, RightAndLeftCycleThroughTakNieAnulujButNeverLeaveZamknij) {
    EXPECT_EQ(FocusRight(Yes), No);
    EXPECT_EQ(FocusRight(No), Cancel);
    EXPECT_EQ(FocusRight(Cancel), Yes);
    EXPECT_EQ(FocusLeft(Yes), Cancel);
    EXPECT_EQ(FocusLeft(No), Yes);
    EXPECT_EQ(FocusLeft(Cancel), No);
    EXPECT_EQ(FocusRight(Close), Close);
    EXPECT_EQ(FocusLeft(Close), Close);
}

TEST(WarningCloseOnlyKeys, EnterEscapeAndZClose) {
    const WarningBox box = Started(WarningButtonSet::Close);
    EXPECT_EQ(CloseOn(box, kKeyEnter), Close);
    EXPECT_EQ(CloseOn(box, kKeyEscape), Close);
    EXPECT_EQ(CloseOn(box, 'Z'), Close);
    EXPECT_EQ(CloseOn(box, 'z'), Close);
}

TEST(WarningCloseOnlyKeys, ArrowsTabAndLettersOfHiddenButtonsDoNothing) {
    const WarningBox box = Started(WarningButtonSet::Close);
    for (const int key : {kKeyLeft, kKeyRight, int{'T'}, int{'N'}, int{'A'}, int{'Q'}, 0}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, Close) << key;
    }
    const WarningKeyOutcome tab = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(tab.Close);
    EXPECT_EQ(tab.Focus, Close);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyLeft, kKeyEnter}), Close);
}

TEST(WarningThreeButtonKeys, EnterChoosesTheHighlightedButton) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(box, kKeyEnter), Yes);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyEnter}), No);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyEnter}), Cancel);
    EXPECT_EQ(CloseAfter(box, {kKeyRight, kKeyRight, kKeyRight, kKeyEnter}), Yes);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyEnter}), Cancel);
    EXPECT_EQ(CloseAfter(box, {kKeyLeft, kKeyLeft, kKeyEnter}), No);
}

TEST(WarningThreeButtonKeys, LettersChooseTheirButtonsInEitherCase) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(box, 'T'), Yes);
    EXPECT_EQ(CloseOn(box, 'N'), No);
    EXPECT_EQ(CloseOn(box, 'A'), Cancel);
    EXPECT_EQ(CloseOn(box, 't'), Yes);
    EXPECT_EQ(CloseOn(box, 'n'), No);
    EXPECT_EQ(CloseOn(box, 'a'), Cancel);
}

TEST(WarningThreeButtonKeys, EscapeAndZDoNothing) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    for (const int key : {kKeyEscape, int{'Z'}, int{'z'}, int{'Y'}, int{'C'}}) {
        const WarningKeyOutcome outcome = WarningKeyDown(box, key, false, "pl");
        EXPECT_FALSE(outcome.Close) << key;
        EXPECT_EQ(outcome.Focus, Yes) << key;
    }
}

TEST(WarningThreeButtonKeys, ArrowsMoveTheHighlightWithoutClosing) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    const WarningKeyOutcome right = WarningKeyDown(box, kKeyRight, false, "pl");
    EXPECT_FALSE(right.Close);
    EXPECT_EQ(right.Focus, No);
    const WarningKeyOutcome left = WarningKeyDown(box, kKeyLeft, false, "pl");
    EXPECT_FALSE(left.Close);
    EXPECT_EQ(left.Focus, Cancel);
}

TEST(WarningTabMark, MovesTheHighlightLikeRight) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    const WarningKeyOutcome outcome = WarningKeyDown(box, 0, true, "pl");
    EXPECT_FALSE(outcome.Close);
    EXPECT_EQ(outcome.Focus, No);
}

TEST(WarningTabMark, MovesBeforeTheOtherSteps) {
    const WarningBox box = Started(WarningButtonSet::YesNoCancel);
    // Enter then chooses the button the mark moved to, and an arrow moves on from there.
    EXPECT_EQ(WarningKeyDown(box, kKeyEnter, true, "pl").Close, No);
    EXPECT_EQ(WarningKeyDown(box, kKeyRight, true, "pl").Focus, Cancel);
    EXPECT_EQ(WarningKeyDown(box, kKeyLeft, true, "pl").Focus, Yes);
}

TEST(WarningOtherLanguage, LettersYNC) {
    const WarningBox three = Started(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(CloseOn(three, 'Y', "en"), Yes);
    EXPECT_EQ(CloseOn(three, 'N', "en"), No);
    EXPECT_EQ(CloseOn(three, 'C', "en"), Cancel);
    EXPECT_FALSE(CloseOn(three, 'T', "en"));
    EXPECT_FALSE(CloseOn(three, 'A', "en"));
    const WarningBox close = Started(WarningButtonSet::Close);
    EXPECT_EQ(CloseOn(close, 'C', "en"), Close);
    EXPECT_EQ(CloseOn(close, 'c', "en"), Close);
    EXPECT_FALSE(CloseOn(close, 'Z', "en"));
}

TEST(WarningKeySteps, EveryStepRunsAndTheLastCloseWins) {
    // Only a box whose set kept both Cancel and Close shows them together; "C" matches both.
    WarningBox box;
    box.Visible = {true, true, true, true};
    box.Focus = Yes;
    EXPECT_EQ(CloseOn(box, 'C', "en"), Close);
    EXPECT_EQ(CloseOn(box, kKeyEscape, "en"), Close);
}

TEST(WarningKeySteps, EnterOnZamknijClosesWithZamknij) {
    WarningBox box = Started(WarningButtonSet::YesNoCancel);
    box.Focus = Close;
    EXPECT_EQ(CloseOn(box, kKeyEnter), Close);
}

TEST(WarningCloseSpot, GivesAnulujOrZamknijByTheVisibleButtons) {
    EXPECT_EQ(WarningCloseSpotClick(Started(WarningButtonSet::YesNoCancel)), Cancel);
    EXPECT_EQ(WarningCloseSpotClick(Started(WarningButtonSet::Close)), Close);
    EXPECT_FALSE(WarningCloseSpotClick(WarningBox{}));
}

TEST(WarningButtons, LettersByLanguage) {
    EXPECT_EQ(WarningButtonLetters(Yes, "pl"), "Tt");
    EXPECT_EQ(WarningButtonLetters(No, "pl"), "Nn");
    EXPECT_EQ(WarningButtonLetters(Cancel, "pl"), "Aa");
    EXPECT_EQ(WarningButtonLetters(Close, "pl"), "Zz");
    EXPECT_EQ(WarningButtonLetters(Yes, "en"), "Yy");
    EXPECT_EQ(WarningButtonLetters(No, "en"), "Nn");
    EXPECT_EQ(WarningButtonLetters(Cancel, "en"), "Cc");
    EXPECT_EQ(WarningButtonLetters(Close, "de"), "Cc");
}

TEST(WarningPictures, PolishFaces) {
    EXPECT_EQ(WarningButtonPicture(Yes, false, "pl"), "buttak");
    EXPECT_EQ(WarningButtonPicture(Yes, true, "pl"), "buttakakt");
    EXPECT_EQ(WarningButtonPicture(No, false, "pl"), "butnie");
    EXPECT_EQ(WarningButtonPicture(No, true, "pl"), "butnieakt");
    EXPECT_EQ(WarningButtonPicture(Cancel, false, "pl"), "butanuluj");
    EXPECT_EQ(WarningButtonPicture(Cancel, true, "pl"), "butanulujakt");
    EXPECT_EQ(WarningButtonPicture(Close, false, "pl"), "butzamknij");
    EXPECT_EQ(WarningButtonPicture(Close, true, "pl"), "butzamknijakt");
}

TEST(WarningPictures, EnglishFacesForAnyOtherLanguage) {
    EXPECT_EQ(WarningButtonPicture(Yes, false, "en"), "butyes");
    EXPECT_EQ(WarningButtonPicture(Yes, true, "en"), "butyesakt");
    EXPECT_EQ(WarningButtonPicture(No, false, "en"), "butno");
    EXPECT_EQ(WarningButtonPicture(No, true, "en"), "butnoakt");
    EXPECT_EQ(WarningButtonPicture(Cancel, false, "de"), "butcancel");
    EXPECT_EQ(WarningButtonPicture(Cancel, true, "de"), "butcancelakt");
    EXPECT_EQ(WarningButtonPicture(Close, false, ""), "butclose");
    EXPECT_EQ(WarningButtonPicture(Close, true, "PL"), "butcloseakt");
}

TEST(WarningPictures, IconsAndTheUnknownKindThatKeepsTheLastOne) {
    EXPECT_EQ(WarningIconPicture(WarningIcon::Information), "ikoinfo");
    EXPECT_EQ(WarningIconPicture(WarningIcon::Question), "ikopytanie");
    EXPECT_EQ(WarningIconPicture(WarningIcon::Warning), "ikouwaga");
    EXPECT_TRUE(WarningIconPicture(static_cast<WarningIcon>(0)).empty());
    EXPECT_TRUE(WarningIconPicture(static_cast<WarningIcon>(4)).empty());
}
