#include "core/presentation/FramedWindowKeys.h"

#include <gtest/gtest.h>

namespace {

using Action = FramedWindowAction;

constexpr FramedWindowState kOpenWithBothTools{false, true, true, true};

Action Press(char32_t character, const FramedWindowState& state = kOpenWithBothTools, KeyModifiers modifiers = {}) {
    return FramedWindowKeyAction({character, modifiers}, state);
}

} // namespace

TEST(FramedWindowKeys, EachKeyStandsForItsTool) {
    EXPECT_EQ(Press(U'+'), Action::Larger);
    EXPECT_EQ(Press(U'='), Action::Larger);
    EXPECT_EQ(Press(U'+', kOpenWithBothTools, {false, false, true, false}), Action::Larger);
    EXPECT_EQ(Press(U'-'), Action::Smaller);
    EXPECT_EQ(Press(U'Z'), Action::Fold);
    EXPECT_EQ(Press(U'C', kOpenWithBothTools, {true, false, false, false}), Action::Copy);
    EXPECT_EQ(Press(U'X'), Action::Nothing);
}

TEST(FramedWindowKeys, EscapeLeavesFoldedOrNot) {
    EXPECT_EQ(Press(U'\x1b'), Action::Leave);
    EXPECT_EQ(Press(U'\x1b', {true, false, false, false}), Action::Leave);
}

TEST(FramedWindowKeys, AToolThatIsNotShownDoesNothing) {
    EXPECT_EQ(Press(U'+', {false, true, true, false}), Action::Nothing);
    EXPECT_EQ(Press(U'-', {false, true, false, true}), Action::Nothing);
    // Folded, only unfolding works, and only while the window may unfold.
    const FramedWindowState folded{true, true, true, true};
    for (const char32_t character : {U'+', U'-', U'Z'})
        EXPECT_EQ(Press(character, folded), Action::Nothing);
    EXPECT_EQ(Press(U'C', folded, {true, false, false, false}), Action::Nothing);
    EXPECT_EQ(Press(U'R', folded), Action::Unfold);
    EXPECT_EQ(Press(U'R', {true, false, false, false}), Action::Nothing);
    EXPECT_EQ(Press(U'R'), Action::Nothing);
    EXPECT_EQ(Press(U'Z', {false, false, true, true}), Action::Nothing);
}

TEST(FramedWindowKeys, MainWindowShortcutsAndPlainCAreLeftAlone) {
    const KeyModifiers ctrl{true, false, false, false};
    const KeyModifiers ctrlAlt{true, true, false, false};
    EXPECT_EQ(Press(U'C'), Action::Nothing);
    EXPECT_EQ(Press(U'C', kOpenWithBothTools, ctrlAlt), Action::Nothing);
    EXPECT_EQ(Press(U'C', kOpenWithBothTools, {true, false, true, false}), Action::Nothing);
    for (const char32_t character : {U'+', U'-', U'Z', U'R'}) {
        EXPECT_EQ(Press(character, kOpenWithBothTools, ctrl), Action::Nothing);
        EXPECT_EQ(Press(character, kOpenWithBothTools, {false, true, false, false}), Action::Nothing);
        EXPECT_EQ(Press(character, kOpenWithBothTools, {false, false, false, true}), Action::Nothing);
    }
}
