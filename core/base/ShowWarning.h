#pragma once

#include <functional>
#include <string_view>

// The one modal message box, as the core reaches it. The program installs the
// real window; the command-line tool and the tests install their own handler.

// Which buttons the box shows.
enum class WarningButtonSet { Close = 1, YesNoCancel = 3 };
// The icon beside the text.
enum class WarningIcon { Information = 1, Question = 2, Warning = 3 };
// A button of the box, numbered as the box reports the chosen one.
enum class WarningButton { Close = 0, Yes = 1, No = 2, Cancel = 3 };

// Shows the text ("\r" breaks a line) and returns the chosen button.
using WarningHandler = std::function<WarningButton(WarningButtonSet, WarningIcon, std::u16string_view text)>;
// Installs a handler and gives back the one it replaces; without any, every box answers Nie.
WarningHandler SetWarningHandler(WarningHandler handler);

// Shows the box and returns the chosen button.
WarningButton ShowWarning(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text);
