#include "core/presentation/MainMenuKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Action = MenuKeyAction::Kind;
using Key = MenuKey::Kind;

MenuKey Pressed(Key key, KeyModifiers modifiers = {}, bool repeated = false) { return {key, modifiers, repeated}; }

// The entries met by pressing `key` again and again from no focus.
std::vector<MenuSpot> Walk(Key key, MenuPanel open, int presses) {
    std::vector<MenuSpot> met;
    std::optional<MenuSpot> focus;
    for (int i = 0; i < presses; ++i) {
        const MenuKeyAction action = MainMenuKeyAction(Pressed(key), open, focus);
        EXPECT_EQ(action.What, Action::Focus);
        focus = action.Spot;
        met.push_back(action.Spot);
    }
    return met;
}

} // namespace

TEST(MainMenuKeys, MovesGoRoundTheShownEntriesStartingAtTheSubmenusOwnFirst) {
    using enum MenuSpot;
    EXPECT_EQ(Walk(Key::Next, MenuPanel::None, 4), (std::vector{Testy, Pomoc, Ustawienia, Testy}));
    EXPECT_EQ(Walk(Key::Previous, MenuPanel::None, 2), (std::vector{Testy, Ustawienia}));
    EXPECT_EQ(Walk(Key::Next, MenuPanel::Tests, 4),
              (std::vector{TestZNazwiskiem, TestAnonimowo, Pomoc, TestZNazwiskiem}));
    EXPECT_EQ(Walk(Key::Previous, MenuPanel::Help, 4), (std::vector{OProgramie, Testy, StronaDomowa, Help}));
    // Held arrows keep moving.
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Next, {}, true), MenuPanel::None, Testy).Spot, Pomoc);
}

TEST(MainMenuKeys, AFocusTheOpenPanelDoesNotShowCountsAsNone) {
    // The mouse may change the submenu under a keyboard focus.
    const MenuKeyAction move = MainMenuKeyAction(Pressed(Key::Next), MenuPanel::Tests, MenuSpot::StronaDomowa);
    EXPECT_EQ(move.What, Action::Focus);
    EXPECT_EQ(move.Spot, MenuSpot::TestZNazwiskiem);
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Activate), MenuPanel::None, MenuSpot::Help).What, Action::Nothing);
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Activate), MenuPanel::None, std::nullopt).What, Action::Nothing);
}

TEST(MainMenuKeys, ActivationTakesTheFocusedEntryOncePerPress) {
    const MenuKeyAction action = MainMenuKeyAction(Pressed(Key::Activate), MenuPanel::Help, MenuSpot::StronaDomowa);
    EXPECT_EQ(action.What, Action::Activate);
    EXPECT_EQ(action.Spot, MenuSpot::StronaDomowa);
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Activate, {}, true), MenuPanel::Help, MenuSpot::StronaDomowa).What,
              Action::Nothing);
}

TEST(MainMenuKeys, EscapeClosesTheSubmenuBackToTheEntryThatOpenedIt) {
    const MenuKeyAction tests = MainMenuKeyAction(Pressed(Key::Escape), MenuPanel::Tests, std::nullopt);
    EXPECT_EQ(tests.What, Action::CloseSubmenu);
    EXPECT_EQ(tests.Spot, MenuSpot::Testy);
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Escape), MenuPanel::Help, MenuSpot::Help).Spot, MenuSpot::Pomoc);
    // With no submenu there is nothing to close, and the program is not asked to end.
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Escape), MenuPanel::None, MenuSpot::Testy).What, Action::Nothing);
}

TEST(MainMenuKeys, KeysWithCtrlAltOrMetaAreLeftToTheWindowsShortcuts) {
    for (const KeyModifiers modifiers : {KeyModifiers{.Ctrl = true}, KeyModifiers{.Alt = true},
                                         KeyModifiers{.Meta = true}, KeyModifiers{.Ctrl = true, .Alt = true}}) {
        for (const Key key : {Key::Next, Key::Previous, Key::Activate, Key::Escape})
            EXPECT_EQ(MainMenuKeyAction(Pressed(key, modifiers), MenuPanel::Help, MenuSpot::Help).What,
                      Action::Nothing);
    }
    // Shift+Tab is how a focus goes back.
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Previous, {.Shift = true}), MenuPanel::None, MenuSpot::Pomoc).Spot,
              MenuSpot::Testy);
}

TEST(MainMenuKeys, AfterActivationTheFocusFollowsWhatTheEntryOpened) {
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Testy, MenuPanel::Tests), MenuSpot::TestZNazwiskiem);
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Pomoc, MenuPanel::Help), MenuSpot::OProgramie);
    // An entry whose submenu stays open keeps the focus; one that closed the menu leaves none.
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Help, MenuPanel::Help), MenuSpot::Help);
    EXPECT_EQ(MenuFocusAfter(MenuSpot::TestAnonimowo, MenuPanel::None), std::nullopt);
    // A click handler that did not open the submenu leaves the entry where it is.
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Testy, MenuPanel::None), MenuSpot::Testy);
}

TEST(MainMenuKeys, TheSettingsKeyOpensSettingsFromAnyPanelOncePerPress) {
    for (const MenuPanel open : {MenuPanel::None, MenuPanel::Tests, MenuPanel::Help}) {
        const MenuKeyAction action = MainMenuKeyAction(Pressed(Key::Settings), open, std::nullopt);
        EXPECT_EQ(action.What, Action::Activate);
        EXPECT_EQ(action.Spot, MenuSpot::Ustawienia);
    }
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Settings, {}, true), MenuPanel::None, std::nullopt).What, Action::Nothing);
    EXPECT_EQ(MainMenuKeyAction(Pressed(Key::Settings, {.Ctrl = true}), MenuPanel::None, std::nullopt).What,
              Action::Nothing);
    // The entry keeps the focus where the closed menu shows it; over a submenu there is none.
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Ustawienia, MenuPanel::None), MenuSpot::Ustawienia);
    EXPECT_EQ(MenuFocusAfter(MenuSpot::Ustawienia, MenuPanel::Tests), std::nullopt);
}
