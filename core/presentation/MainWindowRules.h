#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The main window's decisions, kept apart from its widgets.

struct ScreenPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where the window, its background and its main panel go in a window mode.
struct WindowLayout {
    ScreenPoint WindowAt;
    int Width = 0;
    int Height = 0;
    bool RoundedOutline = false;             // mode 0: rounded corners; mode 1: a plain rectangle
    std::optional<ScreenPoint> BackgroundAt; // mode 1 centres the full-screen background
    ScreenPoint MainPanelAt;
};

inline constexpr int kMainPanelWidth = 790;
inline constexpr int kMainPanelHeight = 581;
inline constexpr int kBackgroundWidth = 1920;
inline constexpr int kBackgroundHeight = 1200;

// The work area is given by its right and bottom edges. Modes other than 0 and 1 change nothing.
std::optional<WindowLayout> LayoutForWindowMode(int mode, int workRight, int workBottom);
int ToggledWindowMode(int mode);

// What a key does on the main window; the modifiers must match exactly.
struct KeyModifiers {
    bool Ctrl = false;
    bool Alt = false;
    bool Shift = false;
    bool Meta = false;
};
enum class MainKey { F1, F4, Digit, Other };
struct KeyAction {
    enum class Kind { Nothing, Swallow, OpenHelp, ToggleWindowMode, SetJournalLevel } What = Kind::Nothing;
    int Level = 0;
};
// `digit` is the value of a digit key of the main keyboard (not the keypad).
KeyAction MainWindowKey(MainKey key, KeyModifiers modifiers, int digit = 0);

// The menu entries that describe themselves, named after their labels.
enum class MenuItem { TestZNazwiskiem = 1, TestAnonimowo = 2, OProgramie = 5, Help = 6, StronaDomowa = 7 };
// The text for a menu entry under the mouse; none for an entry of any other number.
std::optional<std::u16string> MenuDescription(MenuItem item);

// The message for the program's arguments and for dropped files: only the first name's
// extension counts, and nothing is ever opened.
std::optional<std::u16string> CommandLineMessage(const std::vector<std::string>& arguments);
std::u16string DroppedFilesMessage(const std::vector<std::string>& names);
