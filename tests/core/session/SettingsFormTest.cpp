#include "core/session/SettingsForm.h"

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/storage/SettingsFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The settings and the journal in a fresh folder; message boxes are recorded, not shown.
class SettingsWindowForm : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsPath = dir / "Ludra.ini";
        JournalPath.clear();
        previousHandler_ = SetWarningHandler([this](WarningButtonSet, WarningIcon, std::u16string_view text) {
            warnings.emplace_back(text);
            return WarningButton::Close;
        });
        for (const SettingsRow& row : SettingsRows())
            *row.Variable = false;
    }
    void TearDown() override {
        SettingsPath = previousPath_;
        SetWarningHandler(previousHandler_);
    }

    TempDir dir;
    std::vector<std::u16string> warnings;

private:
    std::filesystem::path previousPath_ = SettingsPath;
    WarningHandler previousHandler_;
};

} // namespace

TEST_F(SettingsWindowForm, EveryRowHoldsItsOwnSetting) {
    std::vector<bool*> seen;
    for (const SettingsRow& row : SettingsRows()) {
        EXPECT_FALSE(row.Caption.empty());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), row.Variable), 0);
        seen.push_back(row.Variable);
    }
    for (bool* setting :
         {&RepeatWrong, &SoundOn, &ConfirmResign, &ReloadAttachments, &KeepSideWindows, &KeysCloseInfoWindows})
        EXPECT_EQ(std::count(seen.begin(), seen.end(), setting), 1);
    SoundOn = true;
    const SettingsForm form = CurrentSettingsForm();
    const auto rows = SettingsRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(form.Checked[i], *rows[i].Variable);
}

TEST_F(SettingsWindowForm, FocusGoesRoundRowsAndButtons) {
    SettingsForm form = CurrentSettingsForm();
    EXPECT_EQ(form.Focus, 0u);
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Up), SettingsOutcome::Stay);
    EXPECT_EQ(form.Focus, form.CancelButton());
    PressSettingsKey(form, SettingsKey::Tab);
    EXPECT_EQ(form.Focus, 0u);
    PressSettingsKey(form, SettingsKey::Down);
    PressSettingsKey(form, SettingsKey::BackTab);
    EXPECT_EQ(form.Focus, 0u);
    PressSettingsKey(form, SettingsKey::Other);
    EXPECT_EQ(form.Focus, 0u);
}

TEST_F(SettingsWindowForm, SpaceTogglesARowOrPressesAButton) {
    SettingsForm form = CurrentSettingsForm();
    form.Focus = 1;
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Stay);
    EXPECT_TRUE(form.Checked[1]);
    PressSettingsKey(form, SettingsKey::Space);
    EXPECT_FALSE(form.Checked[1]);
    EXPECT_FALSE(*SettingsRows()[1].Variable) << "nothing applies before saving";
    form.Focus = form.SaveButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Save);
    form.Focus = form.CancelButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Cancel);
}

TEST_F(SettingsWindowForm, EnterSavesUnlessCancelHasTheFocusAndEscapeCancels) {
    SettingsForm form = CurrentSettingsForm();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Enter), SettingsOutcome::Save);
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Escape), SettingsOutcome::Cancel);
    form.Focus = form.CancelButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Enter), SettingsOutcome::Cancel);
}

TEST_F(SettingsWindowForm, SavedValuesApplyAndAreStored) {
    SettingsForm form = CurrentSettingsForm();
    form.Checked.assign(form.Checked.size(), true);
    EXPECT_TRUE(ApplySettingsForm(form));
    EXPECT_TRUE(warnings.empty());
    for (const SettingsRow& row : SettingsRows()) {
        EXPECT_TRUE(*row.Variable);
        *row.Variable = false;
    }
    LoadSettings();
    for (const SettingsRow& row : SettingsRows())
        EXPECT_TRUE(*row.Variable);
}

TEST_F(SettingsWindowForm, AFailedSaveStillAppliesAndTellsTheLearner) {
    SettingsPath = dir / "no-such-folder" / "Ludra.ini";
    SettingsForm form = CurrentSettingsForm();
    form.Checked[0] = true;
    EXPECT_FALSE(ApplySettingsForm(form));
    EXPECT_TRUE(*SettingsRows()[0].Variable);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(u"Nie udało się zapisać ustawień"), std::u16string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(SettingsWindowForm, EnterAndEscapeCloseInfoWindowsOnlyWithTheSettingOnAndNotHeld) {
    for (const SettingsKey key : {SettingsKey::Enter, SettingsKey::Escape}) {
        KeysCloseInfoWindows = false;
        EXPECT_FALSE(KeyClosesInfoWindow(key, false));
        KeysCloseInfoWindows = true;
        EXPECT_TRUE(KeyClosesInfoWindow(key, false));
        EXPECT_FALSE(KeyClosesInfoWindow(key, true));
    }
    for (const SettingsKey key : {SettingsKey::Space, SettingsKey::Tab, SettingsKey::Other})
        EXPECT_FALSE(KeyClosesInfoWindow(key, false));
}
