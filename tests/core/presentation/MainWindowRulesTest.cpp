#include "core/presentation/MainWindowRules.h"

#include <gtest/gtest.h>

TEST(WindowModes, WindowModeCentresTheRoundedPanelInTheWorkArea) {
    const auto layout = LayoutForWindowMode(0, 1024, 738);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->WindowAt, (ScreenPoint{117, 78}));
    EXPECT_EQ(layout->Width, 790);
    EXPECT_EQ(layout->Height, 581);
    EXPECT_TRUE(layout->RoundedOutline);
    EXPECT_FALSE(layout->BackgroundAt);
    EXPECT_EQ(layout->MainPanelAt, (ScreenPoint{0, 0}));
}

TEST(WindowModes, NarrowWorkAreaGivesANegativeLeftEdge) {
    const auto layout = LayoutForWindowMode(0, 700, 500);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->WindowAt, (ScreenPoint{-45, -40})); // halves truncate toward zero
}

TEST(WindowModes, WholeWorkAreaCentresBackgroundAndPanel) {
    const auto layout = LayoutForWindowMode(1, 1366, 728);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->WindowAt, (ScreenPoint{0, 0}));
    EXPECT_EQ(layout->Width, 1366);
    EXPECT_EQ(layout->Height, 728);
    EXPECT_FALSE(layout->RoundedOutline);
    EXPECT_EQ(layout->BackgroundAt, (ScreenPoint{-277, -236}));
    EXPECT_EQ(layout->MainPanelAt, (ScreenPoint{288, 73}));
}

TEST(WindowModes, OtherModesChangeNothingAndSwitchToZero) {
    EXPECT_FALSE(LayoutForWindowMode(2, 1366, 728));
    EXPECT_FALSE(LayoutForWindowMode(-1, 1366, 728));
    EXPECT_EQ(ToggledWindowMode(0), 1);
    EXPECT_EQ(ToggledWindowMode(1), 0);
    EXPECT_EQ(ToggledWindowMode(2), 0);
}

TEST(MainWindowKeys, ModifiersMustMatchExactly) {
    const KeyModifiers none, alt{.Alt = true}, ctrl{.Ctrl = true}, ctrlAlt{.Ctrl = true, .Alt = true};
    const KeyModifiers ctrlShiftAlt{.Ctrl = true, .Alt = true, .Shift = true};
    EXPECT_EQ(MainWindowKey(MainKey::F4, alt).What, KeyAction::Kind::Swallow);
    EXPECT_EQ(MainWindowKey(MainKey::F4, ctrl).What, KeyAction::Kind::ToggleWindowMode);
    EXPECT_EQ(MainWindowKey(MainKey::F4, none).What, KeyAction::Kind::Nothing);
    EXPECT_EQ(MainWindowKey(MainKey::F4, ctrlAlt).What, KeyAction::Kind::Nothing);
    for (KeyModifiers any : {none, alt, ctrl, ctrlAlt})
        EXPECT_EQ(MainWindowKey(MainKey::F1, any).What, KeyAction::Kind::OpenHelp);
    const KeyAction level = MainWindowKey(MainKey::Digit, ctrlAlt, 3);
    EXPECT_EQ(level.What, KeyAction::Kind::SetJournalLevel);
    EXPECT_EQ(level.Level, 3);
    EXPECT_EQ(MainWindowKey(MainKey::Digit, ctrlAlt, 0).Level, 0);
    EXPECT_EQ(MainWindowKey(MainKey::Digit, ctrlAlt, 5).What, KeyAction::Kind::Nothing);
    EXPECT_EQ(MainWindowKey(MainKey::Digit, ctrlShiftAlt, 3).What, KeyAction::Kind::Nothing);
    EXPECT_EQ(MainWindowKey(MainKey::Digit, ctrl, 3).What, KeyAction::Kind::Nothing);
    EXPECT_EQ(MainWindowKey(MainKey::Other, ctrlAlt, 3).What, KeyAction::Kind::Nothing);
}

TEST(MenuTexts, EveryDescribedEntryHasItsText) {
    for (const MenuItem item : {MenuItem::TestZNazwiskiem, MenuItem::TestAnonimowo, MenuItem::OProgramie,
                                MenuItem::Help, MenuItem::StronaDomowa}) {
        ASSERT_TRUE(MenuDescription(item)) << static_cast<int>(item);
        EXPECT_NE(MenuDescription(item)->find(u'\r'), std::u16string::npos);
    }
    EXPECT_EQ(*MenuDescription(MenuItem::OProgramie),
              u"Krótka informacja o programie.\r\rKto, kiedy, wersja programu.");
    for (int code : {0, 3, 4, 8})
        EXPECT_FALSE(MenuDescription(static_cast<MenuItem>(code))) << code;
}

TEST(OutsideFiles, CommandLineQuestionFileIsQuietlyIgnored) {
    EXPECT_FALSE(CommandLineMessage({}));
    EXPECT_FALSE(CommandLineMessage({"Zestaw.SKQ"}));
    EXPECT_FALSE(CommandLineMessage({"/home/u/a.b/pytanie.skq", "other.txt"}));
    EXPECT_EQ(CommandLineMessage({"notatki.txt"}), u"\rOtwórz zestaw pytań korzystając z menu programu.");
    EXPECT_EQ(CommandLineMessage({"/dir.skq/plik"}), u"\rOtwórz zestaw pytań korzystając z menu programu.");
}

TEST(OutsideFiles, OnlyTheFirstDroppedNameCounts) {
    EXPECT_EQ(DroppedFilesMessage({"a.txt", "b.skq", "c.skq"}), u"\rModuł Ludra nie obsługuje plików tego typu.");
    EXPECT_EQ(DroppedFilesMessage({"Pytanie.Skq", "b.txt"}), u"\rOtwórz zestaw pytań korzystając z menu programu.");
    EXPECT_EQ(DroppedFilesMessage({"bez-rozszerzenia"}), u"\rModuł Ludra nie obsługuje plików tego typu.");
}
