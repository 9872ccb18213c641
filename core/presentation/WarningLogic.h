#pragma once

#include "core/base/ShowWarning.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What the message box decides, without the window: which buttons show, which one
// is highlighted, what a key or a click does, and which pictures to load.

// Language of the button faces and key letters: "pl", or any other code for English.
inline constexpr std::string_view kWarningLanguage = "pl";

// The buttons in the order a key down tries them.
inline constexpr std::array kWarningButtons{WarningButton::Yes, WarningButton::No, WarningButton::Cancel,
                                            WarningButton::Close};

// Key codes as the box sees them: letters by their upper-case character code.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyRight = 39;

// Which buttons show and which one is highlighted.
struct WarningBox {
    std::array<bool, 4> Visible{}; // by the button's number
    WarningButton Focus = WarningButton::Close;

    bool Shows(WarningButton button) const { return Visible[static_cast<std::size_t>(button)]; }
};

// Readies the box for a showing. Close shows Zamknij alone, YesNoCancel Tak, Nie and Anuluj; a set
// of any other number keeps the buttons of the last showing. The highlight starts on Zamknij for
// Close, else on Tak. Returns whether the text and the icon are to be put in, which only the two
// sets do.
bool StartWarning(WarningButtonSet buttons, WarningBox& box);
// Whether the button's picture starts highlighted: Tak always (hidden or not) and the focused button.
bool StartsHighlighted(WarningButton button, const WarningBox& box);

// The highlight movement: Right arrow or Tab, and Left arrow; Zamknij never moves.
WarningButton FocusRight(WarningButton focus);
WarningButton FocusLeft(WarningButton focus);

// What a key does to the open box.
struct WarningKeyOutcome {
    std::optional<WarningButton> Close; // close with this result, or stay open
    WarningButton Focus;                // the highlighted button afterwards
};
// Runs every step of a key down in order; a later close overrides an earlier one.
// tabMark says the key is a Tab that the application's filter has already swallowed.
WarningKeyOutcome WarningKeyDown(const WarningBox& box, int key, bool tabMark, std::string_view language);

// The close spot gives Anuluj in the three-button box and Zamknij in the close-only one.
std::optional<WarningButton> WarningCloseSpotClick(const WarningBox& box);

// The pair of letters ("Tt") that chooses the button.
std::string_view WarningButtonLetters(WarningButton button, std::string_view language);

// Picture names (looked up ignoring case).
inline constexpr std::string_view kWarningBackground = "oknowarning";
std::string WarningButtonPicture(WarningButton button, bool highlighted, std::string_view language);
// The icon's picture; empty for an icon of any other number, which keeps the icon shown last.
std::string_view WarningIconPicture(WarningIcon icon);
