#pragma once

#include <functional>
#include <string_view>

// The one modal message box, as the core reaches it. The program installs the
// real window; the command-line tool and the tests install their own handler.
inline constexpr int kButtonsClose = 1;       // Zamknij
inline constexpr int kButtonsYesNoCancel = 3; // Tak / Nie / Anuluj
inline constexpr int kIconInformation = 1;
inline constexpr int kIconQuestion = 2;
inline constexpr int kIconWarning = 3;

// The chosen button: 0 Zamknij, 1 Tak, 2 Nie, 3 Anuluj.
extern int WarningResult;

// Shows the text ("\r" breaks a line) and returns the chosen button.
using WarningHandler = std::function<int(int buttonSet, int iconKind, std::u16string_view text)>;
// Installs a handler and gives back the one it replaces; without any, every box answers Nie.
WarningHandler SetWarningHandler(WarningHandler handler);

// WarningResult is 2 (Nie) just before the box shows, then the chosen button.
void ShowWarning(int buttonSet, int iconKind, std::u16string_view text);
