#include "core/session/SettingsForm.h"

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/SettingsFile.h"

#include <array>

namespace {

const std::array kRows{
    SettingsRow{u"Powtarzaj pytania, na które odpowiedziałem źle", &Settings::RepeatWrong},
    SettingsRow{u"Odtwarzaj dźwięki", &Settings::SoundOn},
    SettingsRow{u"Pytaj, zanim zamkniesz test", &Settings::ConfirmResign},
    SettingsRow{u"Pokazuj tekst i obrazek od nowa przy każdym pytaniu", &Settings::ReloadAttachments},
    SettingsRow{u"Pamiętaj położenie i wielkość okien tekstu i obrazka", &Settings::KeepSideWindows},
    SettingsRow{u"Enter i Esc zamykają podsumowanie i okno informacji", &Settings::KeysCloseInfoWindows},
};

std::size_t Stepped(const SettingsForm& form, bool forward) {
    const std::size_t count = form.CancelButton() + 1;
    return forward ? (form.Focus + 1) % count : (form.Focus + count - 1) % count;
}

SettingsOutcome Press(SettingsForm& form) {
    if (form.Focus == form.SaveButton())
        return SettingsOutcome::Save;
    if (form.Focus == form.CancelButton())
        return SettingsOutcome::Cancel;
    form.Checked[form.Focus] = !form.Checked[form.Focus];
    return SettingsOutcome::Stay;
}

} // namespace

std::span<const SettingsRow> SettingsRows() { return kRows; }

SettingsForm CurrentSettingsForm(const Settings& settings) {
    SettingsForm form;
    for (const SettingsRow& row : kRows)
        form.Checked.push_back(settings.*row.Variable);
    return form;
}

SettingsOutcome PressSettingsKey(SettingsForm& form, SettingsKey key) {
    switch (key) {
    case SettingsKey::Down:
    case SettingsKey::Tab: form.Focus = Stepped(form, true); break;
    case SettingsKey::Up:
    case SettingsKey::BackTab: form.Focus = Stepped(form, false); break;
    case SettingsKey::Space: return Press(form);
    case SettingsKey::Enter: return form.Focus == form.CancelButton() ? SettingsOutcome::Cancel : SettingsOutcome::Save;
    case SettingsKey::Escape: return SettingsOutcome::Cancel;
    case SettingsKey::Other: break;
    }
    return SettingsOutcome::Stay;
}

bool ApplySettingsForm(const SettingsForm& form, Settings& settings, SettingsFile& file, const Reporting& reports) {
    std::vector<bool Settings::*> variables;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        settings.*kRows[i].Variable = form.Checked[i];
        variables.push_back(kRows[i].Variable);
    }
    try {
        file.SaveFlags(settings, variables);
        reports.Log.Write(3, u"Zapisano ustawienia z okna Ustawienia.");
        return true;
    } catch (const StorageError&) {
        reports.Log.Write(1, u"Problem z zapisem zmiany ustawień do ini.");
        reports.Box.Show(WarningButtonSet::Close, WarningIcon::Warning,
                         u"Nie udało się zapisać ustawień.\rZmiany obowiązują do zamknięcia programu.");
        return false;
    }
}

bool KeyClosesInfoWindow(SettingsKey key, bool repeated, const Settings& settings) {
    return settings.KeysCloseInfoWindows && !repeated && (key == SettingsKey::Enter || key == SettingsKey::Escape);
}
