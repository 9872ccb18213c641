#include "tools/skq/SkqFolderPlan.h"

#include "tools/skq/SkqFileNames.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace skq {
namespace {

TEST(SkqFileNames, DeviceNamesOfAnyCaseAndExtensionAreAvoided) {
    const std::pair<const char*, const char*> cases[] = {
        {"CON", "CON_"},       {"nul", "nul_"},  {"Aux.jpg", "Aux_.jpg"}, {"LPT1.txt", "LPT1_.txt"}, {"com9", "com9_"},
        {"PRN .x", "PRN_ .x"}, {"COM0", "COM0"}, {"CONSOLE", "CONSOLE"},  {"LPT10", "LPT10"},        {"kon", "kon"},
    };
    for (const auto& [name, avoided] : cases)
        EXPECT_EQ(WithoutReservedName(name), avoided) << name;
}

TEST(SkqFileNames, PictureNamesKeepOnlySafeCharactersAndADotOnlyBeforeTheirExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"mapa.jpg", "mapa.jpg"},
        {"żółw-1_b.gif", "żółw-1_b.gif"},
        {".bashrc", "bashrc"},
        {"..", "obrazek"},
        {"a b/c\\d:e%41\x01.bmp", "a_b_c_d_e_41_.bmp"},
        {"CON.jpg", "CON_.jpg"},
        {"pytanie01.skq", "pytanie01_skq"},
        {"a.b.JPG", "a_b.JPG"},
        {".gif", "gif"},
        {"×÷→.jpg", "___.jpg"},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(SafePictureFileName(name), safe) << name;
}

// Categories become folders every system takes: reserved names avoided, and names that differ
// only in letter case numbered, since some systems can't hold both; titles keep the real names.
TEST(SkqFolderPlan, ReservedNamesAndNamesDifferingInCaseGetFoldersOfTheirOwn) {
    const std::vector<std::vector<std::string>> categories = {
        {"CON"}, {"con"}, {"Ułamki"}, {"ułamki"}, {"LPT1.txt"}, {"CON"}, {"Ułamki", "aux"},
    };
    FolderPlan plan("out");
    const std::vector<PlannedSet> sets = PlanSets(categories, plan, "bank");
    ASSERT_EQ(sets.size(), 6u);
    EXPECT_EQ(sets[0].Folder, fs::path("out/CON_"));
    EXPECT_EQ(sets[0].Questions, (std::vector<std::size_t>{0, 5}));
    EXPECT_EQ(sets[1].Folder, fs::path("out/con_ 2"));
    EXPECT_EQ(sets[2].Folder, fs::path("out/Ułamki/Ułamki"));
    EXPECT_EQ(sets[3].Folder, fs::path("out/ułamki 2"));
    EXPECT_EQ(sets[4].Folder, fs::path("out/LPT1_.txt"));
    EXPECT_EQ(sets[5].Folder, fs::path("out/Ułamki/aux_"));
    const std::vector<std::pair<fs::path, std::string>> titles = {
        {"out/CON_", "CON"},           {"out/con_ 2", "con"},      {"out/ułamki 2", "ułamki"},
        {"out/LPT1_.txt", "LPT1.txt"}, {"out/Ułamki/aux_", "aux"},
    };
    EXPECT_EQ(plan.Titles, titles);
}

} // namespace
} // namespace skq
