#include "core/session/SettingsForm.h"

#include "core/base/Journal.h"
#include "core/storage/SettingsFile.h"
#include "support/Recorder.h"
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
        for (const SettingsRow& row : SettingsRows())
            settings.*row.Variable = false;
    }

    bool Apply(const SettingsForm& form) { return ApplySettingsForm(form, settings, file, record.Reports()); }

    TempDir dir;
    Recorder record;
    Settings settings;
    Random random;
    SettingsFile file{dir / "Ludra.ini", record.Log, random};
};

} // namespace

TEST_F(SettingsWindowForm, EveryRowHoldsItsOwnSetting) {
    std::vector<bool Settings::*> seen;
    for (const SettingsRow& row : SettingsRows()) {
        EXPECT_FALSE(row.Caption.empty());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), row.Variable), 0);
        seen.push_back(row.Variable);
    }
    for (bool Settings::*setting :
         {&Settings::RepeatWrong, &Settings::SoundOn, &Settings::ConfirmResign, &Settings::ReloadAttachments,
          &Settings::KeepSideWindows, &Settings::KeysCloseInfoWindows})
        EXPECT_EQ(std::count(seen.begin(), seen.end(), setting), 1);
    settings.SoundOn = true;
    const SettingsForm form = CurrentSettingsForm(settings);
    const auto rows = SettingsRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(form.Checked[i], settings.*rows[i].Variable);
}

TEST_F(SettingsWindowForm, FocusGoesRoundRowsAndButtons) {
    SettingsForm form = CurrentSettingsForm(settings);
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
    SettingsForm form = CurrentSettingsForm(settings);
    form.Focus = 1;
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Stay);
    EXPECT_TRUE(form.Checked[1]);
    PressSettingsKey(form, SettingsKey::Space);
    EXPECT_FALSE(form.Checked[1]);
    EXPECT_FALSE(settings.*SettingsRows()[1].Variable) << "nothing applies before saving";
    form.Focus = form.SaveButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Save);
    form.Focus = form.CancelButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Space), SettingsOutcome::Cancel);
}

TEST_F(SettingsWindowForm, EnterSavesUnlessCancelHasTheFocusAndEscapeCancels) {
    SettingsForm form = CurrentSettingsForm(settings);
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Enter), SettingsOutcome::Save);
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Escape), SettingsOutcome::Cancel);
    form.Focus = form.CancelButton();
    EXPECT_EQ(PressSettingsKey(form, SettingsKey::Enter), SettingsOutcome::Cancel);
}

TEST_F(SettingsWindowForm, SavedValuesApplyAndAreStored) {
    SettingsForm form = CurrentSettingsForm(settings);
    form.Checked.assign(form.Checked.size(), true);
    EXPECT_TRUE(Apply(form));
    EXPECT_TRUE(record.Boxes.empty());
    for (const SettingsRow& row : SettingsRows()) {
        EXPECT_TRUE(settings.*row.Variable);
        settings.*row.Variable = false;
    }
    file.Load(settings);
    for (const SettingsRow& row : SettingsRows())
        EXPECT_TRUE(settings.*row.Variable);
}

TEST_F(SettingsWindowForm, AFailedSaveStillAppliesAndTellsTheLearner) {
    SettingsFile unwritable(dir / "no-such-folder" / "Ludra.ini", record.Log, random);
    SettingsForm form = CurrentSettingsForm(settings);
    form.Checked[0] = true;
    EXPECT_FALSE(ApplySettingsForm(form, settings, unwritable, record.Reports()));
    EXPECT_TRUE(settings.*SettingsRows()[0].Variable);
    ASSERT_EQ(record.Boxes.size(), 1u);
    EXPECT_NE(record.Boxes[0].Text.find(u"Nie udało się zapisać ustawień"), std::u16string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(SettingsWindowForm, EnterAndEscapeCloseInfoWindowsOnlyWithTheSettingOnAndNotHeld) {
    for (const SettingsKey key : {SettingsKey::Enter, SettingsKey::Escape}) {
        settings.KeysCloseInfoWindows = false;
        EXPECT_FALSE(KeyClosesInfoWindow(key, false, settings));
        settings.KeysCloseInfoWindows = true;
        EXPECT_TRUE(KeyClosesInfoWindow(key, false, settings));
        EXPECT_FALSE(KeyClosesInfoWindow(key, true, settings));
    }
    for (const SettingsKey key : {SettingsKey::Space, SettingsKey::Tab, SettingsKey::Other})
        EXPECT_FALSE(KeyClosesInfoWindow(key, false, settings));
}
