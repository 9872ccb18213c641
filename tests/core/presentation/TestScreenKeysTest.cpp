#include "core/presentation/TestScreenKeys.h"

#include <gtest/gtest.h>

namespace {

using Action = TestScreenAction::Kind;
using Key = TestScreenKey::Kind;

constexpr TestScreenState kAnswering{.AnswerCount = 4, .CheckShowing = true, .RunInProgress = true};
constexpr TestScreenState kChecked{.AnswerCount = 4, .CheckShowing = false, .RunInProgress = true};
constexpr TestScreenState kRunOver{.AnswerCount = 4, .CheckShowing = false, .RunInProgress = false};

TestScreenKey Pressed(Key key, KeyModifiers modifiers = {}, bool repeated = false) {
    return {key, 0, modifiers, repeated};
}
TestScreenKey Char(char character, KeyModifiers modifiers = {}) {
    return {Key::Character, character, modifiers, false};
}

} // namespace

TEST(TestScreenKeys, LettersAndDigitsToggleTheShownPositions) {
    for (int p = 1; p <= 4; ++p) {
        const TestScreenAction letter = TestScreenKeyAction(Char(static_cast<char>('A' + p - 1)), kAnswering);
        const TestScreenAction digit = TestScreenKeyAction(Char(static_cast<char>('0' + p)), kAnswering);
        EXPECT_EQ(letter.What, Action::ToggleAnswer) << p;
        EXPECT_EQ(letter.Position, p);
        EXPECT_EQ(digit.What, Action::ToggleAnswer) << p;
        EXPECT_EQ(digit.Position, p);
    }
    // Position 5 is not shown for four answers; F, 0 and 6 name no position.
    for (char c : {'E', '5', 'F', '0', '6', 'Z'})
        EXPECT_EQ(TestScreenKeyAction(Char(c), kAnswering).What, Action::Nothing) << c;
    TestScreenState five = kAnswering;
    five.AnswerCount = 5;
    EXPECT_EQ(TestScreenKeyAction(Char('E'), five).Position, 5);
    EXPECT_EQ(TestScreenKeyAction(Char('5'), five).Position, 5);
}

TEST(TestScreenKeys, AnswersStayAfterTheCheckAndAfterTheRun) {
    EXPECT_EQ(TestScreenKeyAction(Char('A'), kChecked).What, Action::Nothing);
    EXPECT_EQ(TestScreenKeyAction(Char('2'), kRunOver).What, Action::Nothing);
}

TEST(TestScreenKeys, EnterAndSpaceCheckThenGoOn) {
    for (Key key : {Key::Enter, Key::Space}) {
        EXPECT_EQ(TestScreenKeyAction(Pressed(key), kAnswering).What, Action::CheckAnswer);
        EXPECT_EQ(TestScreenKeyAction(Pressed(key), kChecked).What, Action::NextQuestion);
        EXPECT_EQ(TestScreenKeyAction(Pressed(key), kRunOver).What, Action::Nothing);
    }
}

TEST(TestScreenKeys, HintOnlyWhenItsButtonIsShown) {
    TestScreenState withHint = kChecked;
    withHint.HintOffered = true;
    EXPECT_EQ(TestScreenKeyAction(Char('H'), withHint).What, Action::ShowHint);
    EXPECT_EQ(TestScreenKeyAction(Char('H'), kChecked).What, Action::Nothing);
}

TEST(TestScreenKeys, TAndOReachOnlyASideWindowThatIsShown) {
    TestScreenState withWindows = kAnswering;
    withWindows.TextWindowShown = true;
    withWindows.PictureWindowShown = true;
    EXPECT_EQ(TestScreenKeyAction(Char('T'), withWindows).What, Action::FocusTextWindow);
    EXPECT_EQ(TestScreenKeyAction(Char('O'), withWindows).What, Action::FocusPictureWindow);
    EXPECT_EQ(TestScreenKeyAction(Char('T'), kAnswering).What, Action::Nothing);
    EXPECT_EQ(TestScreenKeyAction(Char('O'), kAnswering).What, Action::Nothing);
}

TEST(TestScreenKeys, EscapeAsksToCloseInEveryState) {
    for (const TestScreenState& state : {kAnswering, kChecked, kRunOver})
        EXPECT_EQ(TestScreenKeyAction(Pressed(Key::Escape), state).What, Action::Resign);
}

TEST(TestScreenKeys, ShortcutModifiersAndHeldKeysDoNothing) {
    // Ctrl+Alt+digits set the journal level; no modified key is the screen's.
    for (KeyModifiers modifiers : {KeyModifiers{.Ctrl = true}, KeyModifiers{.Alt = true},
                                   KeyModifiers{.Ctrl = true, .Alt = true}, KeyModifiers{.Meta = true}}) {
        EXPECT_EQ(TestScreenKeyAction(Char('1', modifiers), kAnswering).What, Action::Nothing);
        EXPECT_EQ(TestScreenKeyAction(Pressed(Key::Enter, modifiers), kAnswering).What, Action::Nothing);
        EXPECT_EQ(TestScreenKeyAction(Pressed(Key::Escape, modifiers), kAnswering).What, Action::Nothing);
    }
    EXPECT_EQ(TestScreenKeyAction(Char('B', {.Shift = true}), kAnswering).Position, 2);
    // A held Enter would check and then skip the verdict.
    EXPECT_EQ(TestScreenKeyAction(Pressed(Key::Enter, {}, true), kAnswering).What, Action::Nothing);
    EXPECT_EQ(TestScreenKeyAction(Pressed(Key::Other), kAnswering).What, Action::Nothing);
}
