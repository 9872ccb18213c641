#pragma once

#include "core/presentation/MainWindowRules.h"

#include <optional>
#include <span>
#include <string_view>

// The main window's drawn menu worked from the keyboard: a key moves a focus between the
// entries on show or does what a click on the focused entry does.

enum class MenuPanel { None, Tests, Help }; // the submenu that is open

// The drawn entries, named after what they show. Testy and Pomoc stand for every entry of
// that name: each panel draws them in its own place, and a click on any opens the submenu.
// Ustawienia follows Testy and Pomoc in the closed menu (a submenu covers it) and its key (F2)
// reaches it from any panel.
enum class MenuSpot { Testy, Pomoc, TestZNazwiskiem, TestAnonimowo, OProgramie, Help, StronaDomowa, Ustawienia };

// The description box's text for the Ustawienia entry.
inline constexpr std::u16string_view kSettingsEntryDescription =
    u"Zmień ustawienia programu: powtórki pytań,\rdźwięki, okna tekstu i obrazka oraz klawisze.\r\rKlawisz: F2.";

// The entries a panel shows, top to bottom.
std::span<const MenuSpot> MenuSpots(MenuPanel panel);

struct MenuKey {
    enum class Kind { Next, Previous, Activate, Escape, Settings, Other } What = Kind::Other;
    KeyModifiers Modifiers;
    bool Repeated = false; // sent again by a key held down
};

struct MenuKeyAction {
    enum class Kind { Nothing, Focus, Activate, CloseSubmenu } What = Kind::Nothing;
    MenuSpot Spot = MenuSpot::Testy; // the entry to focus or to activate; the focus after closing
};

// `focus` is the focused entry; one the open panel doesn't show counts as none.
MenuKeyAction MainMenuKeyAction(const MenuKey& key, MenuPanel open, std::optional<MenuSpot> focus);

// Where the focus goes once an activated entry has done its work and `open` is on show.
std::optional<MenuSpot> MenuFocusAfter(MenuSpot activated, MenuPanel open);
