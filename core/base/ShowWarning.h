#pragma once

#include <string_view>

// The message box's buttons and icons, and the box as the core reaches it.

// Which buttons the box shows.
enum class WarningButtonSet { Close = 1, YesNoCancel = 3 };
// The icon beside the text.
enum class WarningIcon { Information = 1, Question = 2, Warning = 3 };
// A button of the box, numbered as the box reports the chosen one.
enum class WarningButton { Close = 0, Yes = 1, No = 2, Cancel = 3 };

// The one modal message box, as the core reaches it: the program's window, or the
// command-line tool's and the tests' own.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows the text ("\r" breaks a line) and returns the chosen button.
    virtual WarningButton Show(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) = 0;
};

// A box nobody sees: every box is answered Nie, as when no window stands behind the core.
class UnseenBox final : public MessageBox {
public:
    WarningButton Show(WarningButtonSet, WarningIcon, std::u16string_view) override { return WarningButton::No; }
};

class Journal;

// Where the core tells what happened: the journal, and the learner through the message box.
struct Reporting {
    const Journal& Log;
    MessageBox& Box;
};
