#include "core/storage/ApplicationSetup.h"

#include "core/base/Journal.h"
#include "core/base/Random.h"
#include "core/storage/SettingsFile.h"
#include "support/Recorder.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string kDefaultUsed =
    u"Ścieżka do pliku listy zestawów pytań zawarta w ini jest błędna.Wczytano domyślną listę zestawów z folderu "
    u"Zestawy.";
const std::u16string kNoList =
    u"Ścieżka do pliku listy zestawów pytań jest błędna.Brak również pliku Lista w folderze Zestawy.";

class ListPath : public ::testing::Test {
protected:
    void SetUp() override { paths.ProgramFolder = dir.Path(); }
    void MakeDefaultList() {
        std::filesystem::create_directory(dir / "Zestawy");
        WriteFileText(dir / "Zestawy" / "Lista.skz", "");
    }

    TempDir dir;
    Recorder record;
    ProgramPaths paths;
    Settings settings;
};

} // namespace

TEST_F(ListPath, ExistingListFromTheSettingsStays) {
    WriteFileText(dir / "Moja.skz", "");
    settings.ListFilePath = (dir / "Moja.skz").string();
    CheckListFilePath(settings, paths, record.Log);
    EXPECT_EQ(settings.ListFilePath, (dir / "Moja.skz").string());
    EXPECT_THAT(record.Journal, IsEmpty());
}

TEST_F(ListPath, MissingListFallsBackToTheDefault) {
    MakeDefaultList();
    for (const std::string& setting : {std::string(), (dir / "gone.skz").string(), dir.Path().string()}) {
        Recorder local;
        settings.ListFilePath = setting;
        CheckListFilePath(settings, paths, local.Log);
        EXPECT_EQ(settings.ListFilePath, (dir / "Zestawy" / "Lista.skz").string());
        EXPECT_THAT(local.JournalMessages(), ElementsAre(kDefaultUsed)) << setting;
        EXPECT_EQ(local.Journal[0].first, 0);
    }
}

TEST_F(ListPath, MissingDefaultIsReportedToo) {
    settings.ListFilePath.clear();
    CheckListFilePath(settings, paths, record.Log);
    EXPECT_EQ(settings.ListFilePath, (dir / "Zestawy" / "Lista.skz").string());
    EXPECT_THAT(record.JournalMessages(), ElementsAre(kNoList));
}

TEST_F(ListPath, AnInstalledProgramFindsItsDataInTheSharedFolder) {
    // <prefix>/bin/ludra with <prefix>/share/ludra/{Zestawy,Pomoc}
    paths.ProgramFolder = dir / "bin";
    std::filesystem::create_directories(paths.ProgramFolder);
    std::filesystem::create_directories(dir / "share" / "ludra" / "Pomoc");
    EXPECT_EQ(paths.HelpPage(), dir / "share" / "ludra" / "Pomoc" / "index.htm");
    EXPECT_EQ(paths.DefaultListFile(), dir / "share" / "ludra" / "Zestawy" / "Lista.skz");
    // Data beside the program comes first, as in a build tree.
    std::filesystem::create_directories(paths.ProgramFolder / "Zestawy");
    EXPECT_EQ(paths.DefaultListFile(), paths.ProgramFolder / "Zestawy" / "Lista.skz");
    EXPECT_EQ(paths.HelpPage(), paths.ProgramFolder / "Pomoc" / "index.htm");
}

TEST_F(ListPath, WithoutDataAnywhereThePathsStayBesideTheProgram) {
    paths.ProgramFolder = dir / "bin";
    EXPECT_EQ(paths.DefaultListFile(), paths.ProgramFolder / "Zestawy" / "Lista.skz");
    EXPECT_EQ(paths.HelpPage(), paths.ProgramFolder / "Pomoc" / "index.htm");
}

TEST(CommandLine, VersionAndHelpAloneArePrintedInsteadOfStarting) {
    EXPECT_EQ(CommandLineInformation({"--version"}), "ludra " + std::string(kVersion) + "\n");
    EXPECT_THAT(CommandLineInformation({"--help"}).value_or(""), ::testing::StartsWith("Użycie: ludra"));
    for (const std::vector<std::string>& others :
         {std::vector<std::string>{}, {"zestaw.skq"}, {"--version", "x"}, {"-v"}, {"--VERSION"}})
        EXPECT_EQ(CommandLineInformation(others), std::nullopt) << others.size();
}

TEST(ClockSeed, SeedIsTheMillisecondsSinceMidnightInUniversalTime) {
    using namespace std::chrono;
    const auto before = system_clock::now();
    const std::uint32_t seed = ClockSeed();
    const auto after = system_clock::now();
    const auto sinceMidnight = [](auto time) {
        return static_cast<std::uint32_t>(duration_cast<milliseconds>(time - floor<days>(time)).count());
    };
    if (sinceMidnight(before) <= sinceMidnight(after)) { // not across midnight
        EXPECT_GE(seed, sinceMidnight(before));
        EXPECT_LE(seed, sinceMidnight(after));
    }
    EXPECT_LT(seed, 86'400'000u);
}
