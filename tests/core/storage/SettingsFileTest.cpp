#include "core/storage/SettingsFile.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"
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
        if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
            previous_ = previous;
        setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
        JournalLevel = 0;
        PrepareFolders();
    }
    void TearDown() override {
        if (previous_)
            setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        JournalPath.clear();
        JournalLevel = 0;
    }

    // Journal messages without their dates.
    std::vector<std::string> Journal() const {
        std::vector<std::string> messages;
        std::string text = ReadFileText(JournalPath);
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
            WriteSettingText(key, value, document);
        SaveSettingsDocument(document);
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

    TempDir dir;
    std::optional<std::string> previous_;
};

} // namespace

TEST_F(SettingsFileTest, FoldersAndPathsLieUnderTheApplicationDataFolder) {
    const auto folder = dir / "Tarvix" / "Orvel" / "Ludra";
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(SettingsPath, folder / "Ludra.ini");
    EXPECT_EQ(JournalPath, folder / "Dziennik.txt");
}

TEST_F(SettingsFileTest, FirstRunWritesDefaultsInTableOrder) {
    RepeatWrong = true;
    WindowMode = 1;
    LoadSettings();
    EXPECT_EQ(ListFilePath, "");
    EXPECT_TRUE(ConfirmResign);
    EXPECT_FALSE(RepeatWrong);
    EXPECT_TRUE(ReloadAttachments);
    EXPECT_TRUE(SoundOn);
    EXPECT_EQ(WindowMode, 0);
    EXPECT_EQ(JournalLevel, 0);
    EXPECT_THAT(Journal(), ElementsAre("Brak pliku ini. Utworzono nowy plik."));

    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(SettingsPath));
    EXPECT_FALSE(document.WideText);
    const XmlNode& ini = document.FindOrAddNode(u"Ini");
    std::vector<std::string> keys, values;
    for (int i = 0; i < ini.ChildCount(); ++i) {
        keys.push_back(WideToUtf8(ini.Child(i)->Name));
        values.push_back(UnscrambleText(WideToAnsi(ini.Child(i)->Text)));
    }
    EXPECT_THAT(keys, ElementsAre("ed", "sct", "al", "rq", "rr", "voi", "wo", "dfpz"));
    EXPECT_THAT(values, ElementsAre("Ludra", "", "1", "0", "1", "1", "0", "0"));
    EXPECT_EQ(ReadFileText(SettingsPath).find("Ludra"), std::string::npos) << "values are never plain";
}

TEST_F(SettingsFileTest, ReadsEverySettingBack) {
    WriteSettings(Complete());
    LoadSettings();
    EXPECT_EQ(ListFilePath, "/sets/Lista.skz");
    EXPECT_FALSE(ConfirmResign);
    EXPECT_TRUE(RepeatWrong);
    EXPECT_FALSE(ReloadAttachments);
    EXPECT_FALSE(SoundOn);
    EXPECT_EQ(WindowMode, 1);
    EXPECT_EQ(JournalLevel, 3);
    EXPECT_THAT(Journal(), ElementsAre("Poprawnie wczytano plik Ludra.ini."));
}

TEST_F(SettingsFileTest, ListPathWithPolishLettersIsStoredInTheCodePage) {
    auto values = Complete();
    values[1].second = Utf8ToAnsi("/home/uczeń/Zestawy/Lista.skz");
    WriteSettings(values);
    LoadSettings();
    EXPECT_EQ(ListFilePath, "/home/uczeń/Zestawy/Lista.skz");
}

TEST_F(SettingsFileTest, WrongHeaderIsReplacedWithoutAJournalEntry) {
    auto values = Complete();
    values[0].second = "ludra";
    WriteSettings(values);
    LoadSettings();
    EXPECT_EQ(WindowMode, 0);
    EXPECT_THAT(Journal(), IsEmpty());
    XmlDocument document;
    document.LoadFromFile(SettingsPath);
    EXPECT_EQ(ReadSettingText(u"ed", document), "Ludra");
}

TEST_F(SettingsFileTest, MissingTextOrFlagMakesTheFileDamaged) {
    for (const std::u16string key : {u"sct", u"al", u"voi"}) {
        WriteSettings(Without(key));
        LoadSettings();
        EXPECT_EQ(WindowMode, 0);
        EXPECT_TRUE(SoundOn);
        EXPECT_THAT(Journal(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik.")) << WideToUtf8(key);
        std::filesystem::remove(JournalPath);
    }
}

TEST_F(SettingsFileTest, UnreadableNumbersFallBack) {
    WriteSettings(Without(u"dfpz"));
    LoadSettings();
    EXPECT_EQ(JournalLevel, 1);
    EXPECT_EQ(WindowMode, 1);

    auto values = Without(u"wo");
    values.back().second = "x"; // dfpz
    WriteSettings(values);
    LoadSettings();
    EXPECT_EQ(WindowMode, 0);
    EXPECT_EQ(JournalLevel, 1);
    EXPECT_TRUE(RepeatWrong);
}

TEST_F(SettingsFileTest, GarbageFileIsReplacedByDefaults) {
    WriteFileText(SettingsPath, "\x01\x02 not a settings file");
    LoadSettings();
    EXPECT_THAT(Journal(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
    XmlDocument document;
    document.LoadFromFile(SettingsPath);
    EXPECT_EQ(ReadSettingText(u"ed", document), "Ludra");
}

TEST_F(SettingsFileTest, JournalLevelChangeIsStoredAndGatedByTheNewLevel) {
    LoadSettings();
    std::filesystem::remove(JournalPath);
    SetJournalLevel(2);
    EXPECT_THAT(Journal(), ElementsAre("Zmieniono poziom zdarzen. Aktualny poziom, to: 2"));
    SetJournalLevel(1);
    EXPECT_EQ(Journal().size(), 1u);
    LoadSettings();
    EXPECT_EQ(JournalLevel, 1);
}

TEST_F(SettingsFileTest, SingleKeySaveKeepsTheOtherKeys) {
    WriteSettings(Complete());
    LoadSettings();
    WindowMode = 0;
    SaveWindowMode();
    EXPECT_THAT(Journal(), ElementsAre("Poprawnie wczytano plik Ludra.ini.", "Zmieniono w ini wielkość okna."));
    LoadSettings();
    EXPECT_EQ(WindowMode, 0);
    EXPECT_EQ(ListFilePath, "/sets/Lista.skz");
    EXPECT_TRUE(RepeatWrong);
}

TEST_F(SettingsFileTest, FileDeletedBeforeASaveIsRebuiltAtTheNextStart) {
    LoadSettings();
    std::filesystem::remove(SettingsPath);
    WindowMode = 1;
    SaveWindowMode();
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(SettingsPath));
    ASSERT_EQ(document.FindOrAddNode(u"Ini").ChildCount(), 1);
    std::filesystem::remove(JournalPath);
    LoadSettings();
    EXPECT_EQ(WindowMode, 0);
    EXPECT_THAT(Journal(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
}

TEST_F(SettingsFileTest, NothingStopsWhenTheFileCannotBeWritten) {
    SettingsPath = dir / "no-such-folder" / "Ludra.ini";
    JournalLevel = 4;
    CreateDefaultSettings(); // sets the level to 0 before it reports
    EXPECT_EQ(JournalLevel, 0);
    EXPECT_TRUE(SoundOn);
    JournalLevel = 2;
    SetJournalLevel(4);
    EXPECT_EQ(JournalLevel, 4);
    WindowMode = 1;
    SaveWindowMode();
    // The first failure is at level 1, under the level 0 the defaults have just set.
    EXPECT_THAT(Journal(),
                ElementsAre("Problem z zapisem zmiany ustawień do ini.", "Problem z zapisem zmiany ustawień do ini."));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(SettingsFileTest, ReadOnlyFileIsNeverReplaced) {
    LoadSettings();
    const std::string before = ReadFileText(SettingsPath);
    std::filesystem::permissions(SettingsPath, std::filesystem::perms::owner_read);
    SetJournalLevel(4);
    EXPECT_EQ(JournalLevel, 4);
    EXPECT_EQ(ReadFileText(SettingsPath), before);
    EXPECT_THAT(Journal(), testing::Contains("Problem z zapisem zmiany ustawień do ini."));
}

TEST_F(SettingsFileTest, NestingDeeperThanEightLevelsIsADamagedFile) {
    // Ini and its keys are two levels; keys wrapped to eight levels in all still load.
    WriteSettings(Complete());
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(SettingsPath));
    XmlNode* node = &document.FindOrAddNode(u"Ini");
    for (int depth = 2; depth <= 8; ++depth)
        node = &node->AddChild(u"x");
    node->Text = u"leaf"; // an empty element is not written
    SaveSettingsDocument(document);
    LoadSettings();
    EXPECT_THAT(Journal(), ElementsAre("Poprawnie wczytano plik Ludra.ini."));

    node->AddChild(u"x").Text = u"leaf";
    SaveSettingsDocument(document);
    std::filesystem::remove(JournalPath);
    LoadSettings();
    EXPECT_THAT(Journal(), ElementsAre("Uszkodzony plik ini. Utworzono nowy plik."));
    EXPECT_EQ(WindowMode, 0);
}

TEST_F(SettingsFileTest, LinkInTheFilesPlaceIsReadButNeverReplaced) {
    WriteSettings(Complete());
    const auto elsewhere = dir / "elsewhere.ini";
    std::filesystem::rename(SettingsPath, elsewhere);
    std::filesystem::create_symlink(elsewhere, SettingsPath);
    const std::string before = ReadFileText(elsewhere);
    LoadSettings();
    EXPECT_EQ(WindowMode, 1);
    WindowMode = 0;
    SaveWindowMode();
    EXPECT_THAT(Journal(),
                ElementsAre("Poprawnie wczytano plik Ludra.ini.", "Problem z zapisem zmiany ustawień do ini."));
    EXPECT_TRUE(std::filesystem::is_symlink(SettingsPath));
    EXPECT_EQ(ReadFileText(elsewhere), before);
}

TEST_F(SettingsFileTest, SaveClearsAwayWhatKilledSavesLeft) {
    const auto leftOver = SettingsPath.parent_path() / ".Ludra.ini.tmp-k1LLed";
    WriteFileText(leftOver, std::string(4096, '<'));
    const timespec hourAgo{time(nullptr) - 3600, 0};
    const timespec times[2] = {hourAgo, hourAgo};
    ASSERT_EQ(utimensat(AT_FDCWD, leftOver.c_str(), times, 0), 0);
    LoadSettings();
    EXPECT_FALSE(std::filesystem::exists(leftOver));
}

TEST_F(SettingsFileTest, NumbersAndFlagsReadBackAsWritten) {
    XmlDocument document;
    WriteSettingNumber(u"n", -17, document);
    WriteSettingFlag(u"f", true, document);
    WriteSettingText(u"t", "", document);
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
    const char* home = std::getenv("HOME");
    const std::string previousHome = home ? home : "";
    setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
    setenv("HOME", "/home/uczen", 1);
    WriteFileText(dir / "user-dirs.dirs",
                  "# comment\nXDG_DESKTOP_DIR=\"$HOME/Pulpit\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents), "/home/uczen/Dokumenty");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::AppData), dir.Path());
    std::filesystem::remove(dir / "user-dirs.dirs");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::Documents), "/home/uczen");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::AppData), "/home/uczen/.config");
    setenv("HOME", previousHome.c_str(), 1);
}

TEST_F(SettingsFileTest, OlderFileWithoutTheOptionalKeysKeepsItsValuesAndReadsThemAsOff) {
    WriteSettings(Complete());
    const std::string before = ReadFileText(SettingsPath);
    KeepSideWindows = KeysCloseInfoWindows = true;
    LoadSettings();
    EXPECT_FALSE(KeepSideWindows);
    EXPECT_FALSE(KeysCloseInfoWindows);
    EXPECT_TRUE(RepeatWrong);
    EXPECT_EQ(WindowMode, 1);
    EXPECT_EQ(ReadFileText(SettingsPath), before) << "not recreated";

    auto values = Complete();
    values.emplace_back(u"zpo", "yes"); // unreadable: off, and still no reason to recreate
    WriteSettings(values);
    LoadSettings();
    EXPECT_FALSE(KeepSideWindows);
    EXPECT_EQ(WindowMode, 1);
}

TEST_F(SettingsFileTest, FlagsSavedTogetherReadBackAndLeaveTheOtherKeysAlone) {
    WriteSettings(Complete());
    LoadSettings();
    RepeatWrong = false;
    KeepSideWindows = true;
    bool* const flags[] = {&RepeatWrong, &KeepSideWindows, &KeysCloseInfoWindows};
    SaveSettingFlags(flags);

    XmlDocument document;
    ASSERT_TRUE(document.LoadFromFile(SettingsPath));
    const XmlNode& ini = document.FindOrAddNode(u"Ini");
    std::vector<std::string> keys;
    for (int i = 0; i < ini.ChildCount(); ++i)
        keys.push_back(WideToUtf8(ini.Child(i)->Name));
    EXPECT_THAT(keys, ElementsAre("ed", "sct", "al", "rq", "rr", "voi", "wo", "dfpz", "zpo", "kzp"));
    EXPECT_EQ(ReadSettingText(u"sct", document), "/sets/Lista.skz");

    RepeatWrong = true;
    KeepSideWindows = false;
    LoadSettings();
    EXPECT_FALSE(RepeatWrong);
    EXPECT_TRUE(KeepSideWindows);
    EXPECT_FALSE(KeysCloseInfoWindows);
    EXPECT_EQ(WindowMode, 1);
}

TEST_F(SettingsFileTest, SavingFlagsOverAMissingFileLeavesOneTheNextStartReads) {
    LoadSettings();
    std::filesystem::remove(SettingsPath);
    std::filesystem::remove(JournalPath);
    WindowMode = 1;
    KeysCloseInfoWindows = true;
    bool* const flags[] = {&KeysCloseInfoWindows};
    SaveSettingFlags(flags);
    LoadSettings();
    EXPECT_THAT(Journal(), IsEmpty()) << "no damaged file to recreate";
    EXPECT_EQ(WindowMode, 1);
    EXPECT_TRUE(KeysCloseInfoWindows);
}
