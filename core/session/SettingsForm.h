#pragma once

#include "core/base/ShowWarning.h"
#include "core/storage/SettingsFile.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// The settings window without its widgets: its rows, the keyboard, and storing what the learner chose.

struct SettingsRow {
    std::u16string_view Caption;
    bool Settings::*Variable; // the setting the row's check box holds
};

// The rows, top to bottom.
std::span<const SettingsRow> SettingsRows();

// What the window shows: a check per row, and the focus on a row or on one of the two buttons
// that follow the rows ("Zapisz", then "Anuluj").
struct SettingsForm {
    std::vector<bool> Checked;
    std::size_t Focus = 0;

    std::size_t SaveButton() const { return Checked.size(); }
    std::size_t CancelButton() const { return Checked.size() + 1; }
};

// The form holding the settings' current values, the focus on the first row.
SettingsForm CurrentSettingsForm(const Settings& settings);

enum class SettingsKey { Up, Down, Tab, BackTab, Space, Enter, Escape, Other };
enum class SettingsOutcome { Stay, Save, Cancel };

// Moving past either end comes round to the other; Space toggles the focused row or presses the
// focused button; Enter saves unless "Anuluj" has the focus; Escape cancels.
SettingsOutcome PressSettingsKey(SettingsForm& form, SettingsKey key);

// The setting takes the form's values and the file stores them. A failure to store is journaled and
// the learner told, while the values still apply until the program ends; false then.
bool ApplySettingsForm(const SettingsForm& form, Settings& settings, SettingsFile& file, const Reporting& reports);

// Whether a key closes the summary or the information window as their close spot does: Enter or
// Escape, with the setting on. A held key never does, so Enter held over the last question of a run
// can't close its summary unseen.
bool KeyClosesInfoWindow(SettingsKey key, bool repeated, const Settings& settings);
