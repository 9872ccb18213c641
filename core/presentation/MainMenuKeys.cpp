#include "core/presentation/MainMenuKeys.h"

#include <algorithm>
#include <array>

namespace {

using Action = MenuKeyAction::Kind;

constexpr std::array kClosedSpots{MenuSpot::Testy, MenuSpot::Pomoc, MenuSpot::Ustawienia};
constexpr std::array kTestsSpots{MenuSpot::TestZNazwiskiem, MenuSpot::TestAnonimowo, MenuSpot::Pomoc};
constexpr std::array kHelpSpots{MenuSpot::Testy, MenuSpot::OProgramie, MenuSpot::Help, MenuSpot::StronaDomowa};

std::optional<MenuPanel> PanelOpenedBy(MenuSpot spot) {
    if (spot == MenuSpot::Testy)
        return MenuPanel::Tests;
    if (spot == MenuSpot::Pomoc)
        return MenuPanel::Help;
    return std::nullopt;
}

// The entry a keyboard user wants first: the submenu's own first entry, not the way out.
MenuSpot FirstOwnSpot(MenuPanel panel) {
    switch (panel) {
    case MenuPanel::None: return MenuSpot::Testy;
    case MenuPanel::Tests: return MenuSpot::TestZNazwiskiem;
    case MenuPanel::Help: return MenuSpot::OProgramie;
    }
    return MenuSpot::Testy;
}

std::optional<std::size_t> IndexOf(MenuSpot spot, std::span<const MenuSpot> spots) {
    const auto found = std::find(spots.begin(), spots.end(), spot);
    if (found == spots.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - spots.begin());
}

// Moving past either end comes round to the other.
MenuSpot Step(MenuPanel open, std::optional<MenuSpot> focus, bool forward) {
    const std::span<const MenuSpot> spots = MenuSpots(open);
    const std::optional<std::size_t> at = focus ? IndexOf(*focus, spots) : std::nullopt;
    if (!at)
        return FirstOwnSpot(open);
    const std::size_t count = spots.size();
    return spots[forward ? (*at + 1) % count : (*at + count - 1) % count];
}

} // namespace

std::span<const MenuSpot> MenuSpots(MenuPanel panel) {
    switch (panel) {
    case MenuPanel::None: return kClosedSpots;
    case MenuPanel::Tests: return kTestsSpots;
    case MenuPanel::Help: return kHelpSpots;
    }
    return kClosedSpots;
}

MenuKeyAction MainMenuKeyAction(const MenuKey& key, MenuPanel open, std::optional<MenuSpot> focus) {
    // Ctrl, Alt and Meta belong to the main window's shortcuts; Shift only turns Tab back.
    const KeyModifiers& modifiers = key.Modifiers;
    if (modifiers.Ctrl || modifiers.Alt || modifiers.Meta)
        return {};
    if (focus && !IndexOf(*focus, MenuSpots(open)))
        focus.reset();
    switch (key.What) {
    case MenuKey::Kind::Next: return {Action::Focus, Step(open, focus, true)};
    case MenuKey::Kind::Previous: return {Action::Focus, Step(open, focus, false)};
    case MenuKey::Kind::Activate:
        // A held key would go on opening whatever the first press brought up.
        if (!focus || key.Repeated)
            return {};
        return {Action::Activate, *focus};
    case MenuKey::Kind::Escape:
        if (open == MenuPanel::None || key.Repeated)
            return {};
        return {Action::CloseSubmenu, open == MenuPanel::Tests ? MenuSpot::Testy : MenuSpot::Pomoc};
    case MenuKey::Kind::Settings:
        if (key.Repeated)
            return {};
        return {Action::Activate, MenuSpot::Ustawienia};
    case MenuKey::Kind::Other: return {};
    }
    return {};
}

std::optional<MenuSpot> MenuFocusAfter(MenuSpot activated, MenuPanel open) {
    if (open != MenuPanel::None && PanelOpenedBy(activated) == open)
        return FirstOwnSpot(open);
    if (IndexOf(activated, MenuSpots(open)))
        return activated;
    return std::nullopt;
}
