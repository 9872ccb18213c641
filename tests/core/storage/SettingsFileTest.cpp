#include "core/storage/SettingsFile.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;

namespace {

// Settings and journal in a fresh application-data folder.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareFolders(paths);
        journal.SetFile(paths.JournalFile);
    }

    // Journal messages without their dates.
    std::vector<std::string> JournalLines() const {
        std::vector<std::string> messages;
        std::string text = ReadFileText(paths.JournalFile);
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
            const std::string line = text.substr(at, end - at);
            messages.push_back(AnsiToUtf8(line.substr(line.find(" - ") + 3)));
        }
        return messages;
    }

    // Writes a settings file holding exactly the given keys and plain values.
    void WriteSettings(const std::vector<std::pair<std::u16string, std::string>>& values) {
        XmlDocument document;
        for (const auto& [key, value] : values)
            WriteSettingText(key, value, document, random);
        File().SaveDocument(document);
    }

    static std::vector<std::pair<std::u16string, std::string>> Complete() {
        return {{u"ed", "Ludra"}, {u"sct", "/sets/Lista.skz"},
                {u"al", "0"},     {u"rq", "1"},
                {u"rr", "0"},     {u"voi", "0"},
                {u"wo", "1"},     {u"dfpz", "3"}};
    }

    static std::vector<std::pair<std::u16string, std::string>> Without(const std::u16string& key) {
        auto values = Complete();
        std::erase_if(values, [&](const auto& value) { return value.first == key; });
        return values;
    }

    SettingsFile File() { return {paths.SettingsFile, journal, random}; }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    ProgramPaths paths;
    ::Journal journal;
    Settings settings;
    Random random;
};

} // namespace

TEST_F(SettingsFileTest, FoldersAndPathsLieUnderTheApplicationDataFolder) {
    const auto folder = dir / "Tarvix" / "Orvel" / "Ludra";
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(paths.SettingsFile, folder / "Ludra.ini");
    EXPECT_EQ(paths.JournalFile, folder / "Dziennik.txt");
}

TEST_F(SettingsFileTest, FirstRunWritesDefaultsInTableOrder) {
    settings.RepeatWrong = true;
    settings.WindowMode = 1;
    File().Load(settings);
    EXPECT_EQ(settings.ListFilePath, "");
    EXPECT_TRUE(settings.ConfirmResign);
    EXPECT_FALSE(settings.RepeatWrong);
    EXPECT_TRUE(settings.ReloadAttachments);
    EXPECT_TRUE(settings.SoundOn);
    EXPECT_EQ(settings.WindowMode, 0);
    EXPECT_EQ(journal.Level(), 0);
    EXPECT_THAT(JournalLines(), ElementsAre("Brak pliku ini. Utworzono nowy plik."));

    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(paths.SettingsFile));
    EXPECT_FALSE(document.WideText);
    const XmlNode& ini = document.FindOrAddNode(u"Ini");
    std::vector<std::string> keys, values;
    for (int i = 0; i < ini.ChildCount(); ++i) {
        keys.push_back(WideToUtf8(ini.Child(i)->Name));
        values.push_back(UnscrambleText(WideToAnsi(ini.Child(i)->Text)));
    }
    EXPECT_THAT(keys, ElementsAre("ed", "sct", "al", "rq", "rr", "voi", "wo", "dfpz"));
    EXPECT_THAT(values, ElementsAre("Ludra", "", "1", "0", "1", "1", "0", "0"));
    EXPECT_EQ(ReadFileText(paths.SettingsFile).find("Ludra"), std::string::npos) << "values are never plain";
}

TEST_F(SettingsFileTest, ReadsEverySettingBack) {
    WriteSettings(Complete());
    File().Load(settings);
    EXPECT_EQ(settings.ListFilePath, "/sets/Lista.skz");
    EXPECT_FALSE(settings.ConfirmResign);
    EXPECT_TRUE(settings.RepeatWrong);
    EXPECT_FALSE(settings.ReloadAttachments);
    EXPECT_FALSE(settings.SoundOn);
    EXPECT_EQ(settings.WindowMode, 1);
    EXPECT_EQ(journal.Level(), 3);
    EXPECT_THAT(JournalLines(), ElementsAre("Poprawnie wczytano plik Ludra.ini."));
}

TEST_F(SettingsFileTest, ListPathWithPolishLettersIsStoredInTheCodePage) {
    auto values = Complete();
    values[1].second = Utf8ToAnsi("/home/uczeń/Zestawy/Lista.skz");
    WriteSettings(values);
    File().Load(settings);
    EXPECT_EQ(settings.ListFilePath, "/home/uczeń/Zestawy/Lista.skz");
}

TEST_F(SettingsFileTest, WrongHeaderIsReplacedWithoutAJournalEntry) {
    auto values = Complete();
    values[0].second = "ludra";
    WriteSettings(values);
    File().Load(settings);
    EXPECT_EQ(settings.WindowMode, 0);
    EXPECT_THAT(JournalLines(), IsEmpty());
    XmlDocument document;
    document.LoadFromFile(paths.SettingsFile);
    EXPECT_EQ(ReadSettingText(u"ed", document), "Ludra");
}

TEST_F(SettingsFileTest, MissingTextOrFlagMakesTheFileDamaged) {
    for (const std::u16string key : {u"sct", u"al", u"voi"}) {
        WriteSettings(Without(key));
        File().Load(settings);
        EXPECT_EQ(settings.WindowMode, 0);
        EXPECT_TRUE(settings.SoundOn);
        EXPECT_THAT(JournalLines(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik.")) << WideToUtf8(key);
        std::filesystem::remove(paths.JournalFile);
    }
}

TEST_F(SettingsFileTest, UnreadableNumbersFallBack) {
    WriteSettings(Without(u"dfpz"));
    File().Load(settings);
    EXPECT_EQ(journal.Level(), 1);
    EXPECT_EQ(settings.WindowMode, 1);

    auto values = Without(u"wo");
    values.back().second = "x"; // dfpz
    WriteSettings(values);
    File().Load(settings);
    EXPECT_EQ(settings.WindowMode, 0);
    EXPECT_EQ(journal.Level(), 1);
    EXPECT_TRUE(settings.RepeatWrong);
}

TEST_F(SettingsFileTest, GarbageFileIsReplacedByDefaults) {
    WriteFileText(paths.SettingsFile, "\x01\x02 not a settings file");
    File().Load(settings);
    EXPECT_THAT(JournalLines(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
    XmlDocument document;
    document.LoadFromFile(paths.SettingsFile);
    EXPECT_EQ(ReadSettingText(u"ed", document), "Ludra");
}

TEST_F(SettingsFileTest, JournalLevelChangeIsStoredAndGatedByTheNewLevel) {
    File().Load(settings);
    std::filesystem::remove(paths.JournalFile);
    File().SetJournalLevel(settings, 2);
    EXPECT_THAT(JournalLines(), ElementsAre("Zmieniono poziom zdarzen. Aktualny poziom, to: 2"));
    File().SetJournalLevel(settings, 1);
    EXPECT_EQ(JournalLines().size(), 1u);
    File().Load(settings);
    EXPECT_EQ(journal.Level(), 1);
}

TEST_F(SettingsFileTest, SingleKeySaveKeepsTheOtherKeys) {
    WriteSettings(Complete());
    File().Load(settings);
    settings.WindowMode = 0;
    File().SaveWindowMode(settings);
    EXPECT_THAT(JournalLines(), ElementsAre("Poprawnie wczytano plik Ludra.ini.", "Zmieniono w ini wielkość okna."));
    File().Load(settings);
    EXPECT_EQ(settings.WindowMode, 0);
    EXPECT_EQ(settings.ListFilePath, "/sets/Lista.skz");
    EXPECT_TRUE(settings.RepeatWrong);
}

TEST_F(SettingsFileTest, FileDeletedBeforeASaveIsRebuiltAtTheNextStart) {
    File().Load(settings);
    std::filesystem::remove(paths.SettingsFile);
    settings.WindowMode = 1;
    File().SaveWindowMode(settings);
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(paths.SettingsFile));
    ASSERT_EQ(document.FindOrAddNode(u"Ini").ChildCount(), 1);
    std::filesystem::remove(paths.JournalFile);
    File().Load(settings);
    EXPECT_EQ(settings.WindowMode, 0);
    EXPECT_THAT(JournalLines(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
}

TEST_F(SettingsFileTest, NothingStopsWhenTheFileCannotBeWritten) {
    paths.SettingsFile = dir / "no-such-folder" / "Ludra.ini";
    journal.SetLevel(4);
    File().CreateDefaults(settings); // sets the level to 0 before it reports
    EXPECT_EQ(journal.Level(), 0);
    EXPECT_TRUE(settings.SoundOn);
    journal.SetLevel(2);
    File().SetJournalLevel(settings, 4);
    EXPECT_EQ(journal.Level(), 4);
    settings.WindowMode = 1;
    File().SaveWindowMode(settings);
    // The first failure is at level 1, under the level 0 the defaults have just set.
    EXPECT_THAT(JournalLines(),
                ElementsAre("Problem z zapisem zmiany ustawień do ini.", "Problem z zapisem zmiany ustawień do ini."));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(SettingsFileTest, ReadOnlyFileIsNeverReplaced) {
    File().Load(settings);
    const std::string before = ReadFileText(paths.SettingsFile);
    std::filesystem::permissions(paths.SettingsFile, std::filesystem::perms::owner_read);
    File().SetJournalLevel(settings, 4);
    EXPECT_EQ(journal.Level(), 4);
    EXPECT_EQ(ReadFileText(paths.SettingsFile), before);
    EXPECT_THAT(JournalLines(), testing::Contains("Problem z zapisem zmiany ustawień do ini."));
}

TEST_F(SettingsFileTest, NestingDeeperThanEightLevelsIsADamagedFile) {
    // Ini and its keys are two levels; keys wrapped to eight levels in all still load.
    WriteSettings(Complete());
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(paths.SettingsFile));
    XmlNode* node = &document.FindOrAddNode(u"Ini");
    for (int depth = 2; depth <= 8; ++depth)
        node = &node->AddChild(u"x");
    node->Text = u"leaf"; // an empty element is not written
    File().SaveDocument(document);
    File().Load(settings);
    EXPECT_THAT(JournalLines(), ElementsAre("Poprawnie wczytano plik Ludra.ini."));

    node->AddChild(u"x").Text = u"leaf";
    File().SaveDocument(document);
    std::filesystem::remove(paths.JournalFile);
    File().Load(settings);
    EXPECT_THAT(JournalLines(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
    EXPECT_EQ(settings.WindowMode, 0);
}

TEST_F(SettingsFileTest, LinkInTheFilesPlaceIsReadButNeverReplaced) {
    WriteSettings(Complete());
    const auto elsewhere = dir / "elsewhere.ini";
    std::filesystem::rename(paths.SettingsFile, elsewhere);
    std::filesystem::create_symlink(elsewhere, paths.SettingsFile);
    const std::string before = ReadFileText(elsewhere);
    File().Load(settings);
    EXPECT_EQ(settings.WindowMode, 1);
    settings.WindowMode = 0;
    File().SaveWindowMode(settings);
    EXPECT_THAT(JournalLines(),
                ElementsAre("Poprawnie wczytano plik Ludra.ini.", "Problem z zapisem zmiany ustawień do ini."));
    EXPECT_TRUE(std::filesystem::is_symlink(paths.SettingsFile));
    EXPECT_EQ(ReadFileText(elsewhere), before);
}

TEST_F(SettingsFileTest, SaveClearsAwayWhatKilledSavesLeft) {
    const auto leftOver = paths.SettingsFile.parent_path() / ".Ludra.ini.tmp-k1LLed";
    WriteFileText(leftOver, std::string(4096, '<'));
    const timespec hourAgo{time(nullptr) - 3600, 0};
    const timespec times[2] = {hourAgo, hourAgo};
    ASSERT_EQ(utimensat(AT_FDCWD, leftOver.c_str(), times, 0), 0);
    File().Load(settings);
    EXPECT_FALSE(std::filesystem::exists(leftOver));
}

TEST_F(SettingsFileTest, NumbersAndFlagsReadBackAsWritten) {
    XmlDocument document;
    WriteSettingNumber(u"n", -17, document, random);
    WriteSettingFlag(u"f", true, document, random);
    WriteSettingText(u"t", "", document, random);
    std::int32_t number = 0;
    EXPECT_TRUE(ReadSettingNumber(u"N", document, number));
    EXPECT_EQ(number, -17);
    EXPECT_TRUE(ReadSettingFlag(u"f", document));
    EXPECT_EQ(ReadSettingText(u"t", document), "");
    EXPECT_FALSE(ReadSettingNumber(u"missing", document, number));
    EXPECT_EQ(number, 0);
    EXPECT_THROW(ReadSettingFlag(u"missing", document), std::exception);
}

TEST(SpecialFolders, DocumentsFolderComesFromUserDirs) {
    TempDir dir;
    const ScopedEnvironment home("HOME", "/home/uczen");
    std::optional<ScopedEnvironment> config(std::in_place, "XDG_CONFIG_HOME", dir.Path().string());
    WriteFileText(dir / "user-dirs.dirs",
                  "# comment\nXDG_DESKTOP_DIR=\"$HOME/Pulpit\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents), "/home/uczen/Dokumenty");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::AppData), dir.Path());
    std::filesystem::remove(dir / "user-dirs.dirs");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents), "/home/uczen");
    config.emplace("XDG_CONFIG_HOME", ""); // an empty value counts as none
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::AppData), "/home/uczen/.config");
}

TEST_F(SettingsFileTest, OlderFileWithoutTheOptionalKeysKeepsItsValuesAndReadsThemAsOff) {
    WriteSettings(Complete());
    const std::string before = ReadFileText(paths.SettingsFile);
    settings.KeepSideWindows = settings.KeysCloseInfoWindows = true;
    File().Load(settings);
    EXPECT_FALSE(settings.KeepSideWindows);
    EXPECT_FALSE(settings.KeysCloseInfoWindows);
    EXPECT_TRUE(settings.RepeatWrong);
    EXPECT_EQ(settings.WindowMode, 1);
    EXPECT_EQ(ReadFileText(paths.SettingsFile), before) << "not recreated";

    auto values = Complete();
    values.emplace_back(u"zpo", "yes"); // unreadable: off, and still no reason to recreate
    WriteSettings(values);
    File().Load(settings);
    EXPECT_FALSE(settings.KeepSideWindows);
    EXPECT_EQ(settings.WindowMode, 1);
}

TEST_F(SettingsFileTest, FlagsSavedTogetherReadBackAndLeaveTheOtherKeysAlone) {
    WriteSettings(Complete());
    File().Load(settings);
    settings.RepeatWrong = false;
    settings.KeepSideWindows = true;
    bool Settings::*const flags[] = {&Settings::RepeatWrong, &Settings::KeepSideWindows,
                                     &Settings::KeysCloseInfoWindows};
    File().SaveFlags(settings, flags);

    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(paths.SettingsFile));
    const XmlNode& ini = document.FindOrAddNode(u"Ini");
    std::vector<std::string> keys;
    for (int i = 0; i < ini.ChildCount(); ++i)
        keys.push_back(WideToUtf8(ini.Child(i)->Name));
    EXPECT_THAT(keys, ElementsAre("ed", "sct", "al", "rq", "rr", "voi", "wo", "dfpz", "zpo", "kzp"));
    EXPECT_EQ(ReadSettingText(u"sct", document), "/sets/Lista.skz");

    settings.RepeatWrong = true;
    settings.KeepSideWindows = false;
    File().Load(settings);
    EXPECT_FALSE(settings.RepeatWrong);
    EXPECT_TRUE(settings.KeepSideWindows);
    EXPECT_FALSE(settings.KeysCloseInfoWindows);
    EXPECT_EQ(settings.WindowMode, 1);
}

TEST_F(SettingsFileTest, SavingFlagsOverAMissingFileLeavesOneTheNextStartReads) {
    File().Load(settings);
    std::filesystem::remove(paths.SettingsFile);
    std::filesystem::remove(paths.JournalFile);
    settings.WindowMode = 1;
    settings.KeysCloseInfoWindows = true;
    bool Settings::*const flags[] = {&Settings::KeysCloseInfoWindows};
    File().SaveFlags(settings, flags);
    File().Load(settings);
    EXPECT_THAT(JournalLines(), IsEmpty()) << "no damaged file to recreate";
    EXPECT_EQ(settings.WindowMode, 1);
    EXPECT_TRUE(settings.KeysCloseInfoWindows);
}
