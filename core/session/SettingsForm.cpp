#include "core/session/SettingsForm.h"

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/SettingsFile.h"

#include <array>

namespace {

const std::array kRows{
    SettingsRow{u"Powtarzaj pytania, na które odpowiedziałem źle", &RepeatWrong},
    SettingsRow{u"Odtwarzaj dźwięki", &SoundOn},
    SettingsRow{u"Pytaj, zanim zamkniesz test", &ConfirmResign},
    SettingsRow{u"Pokazuj tekst i obrazek od nowa przy każdym pytaniu", &ReloadAttachments},
    SettingsRow{u"Pamiętaj położenie i wielkość okien tekstu i obrazka", &KeepSideWindows},
    SettingsRow{u"Enter i Esc zamykają podsumowanie i okno informacji", &KeysCloseInfoWindows},
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

SettingsForm CurrentSettingsForm() {
    SettingsForm form;
    for (const SettingsRow& row : kRows)
        form.Checked.push_back(*row.Variable);
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

bool ApplySettingsForm(const SettingsForm& form) {
    std::vector<bool*> variables;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        *kRows[i].Variable = form.Checked[i];
        variables.push_back(kRows[i].Variable);
    }
    try {
        SaveSettingFlags(variables);
        WriteJournal(3, u"Zapisano ustawienia z okna Ustawienia.");
        return true;
    } catch (const StorageError&) {
        WriteJournal(1, u"Problem z zapisem zmiany ustawień do ini.");
        ShowWarning(WarningButtonSet::Close, WarningIcon::Warning,
                    u"Nie udało się zapisać ustawień.\rZmiany obowiązują do zamknięcia programu.");
        return false;
    }
}

bool KeyClosesInfoWindow(SettingsKey key, bool repeated) {
    return KeysCloseInfoWindows && !repeated && (key == SettingsKey::Enter || key == SettingsKey::Escape);
}
