#include "core/base/CodePage.h"
#include "core/storage/SetListFile.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/TempDir.h"
#include "tools/skq/SkqCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

int Skq(const std::vector<std::string>& args, std::string& out) {
    std::istringstream in;
    std::ostringstream output, err;
    const int status = RunSkq(args, in, output, err);
    out = output.str() + err.str();
    return status;
}

void WriteSet(const fs::path& folder) {
    fs::create_directories(folder);
    WritePakFile(folder / "p1.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "Pytanie", "100"))}});
}

} // namespace

// Folders with question files become sets, folders above them categories, empty ones are left out;
// the list loads as the program loads it and passes check.
TEST(SkqListBuild, FolderTreeBecomesASetListThatPassesCheck) {
    TempDir dir;
    const fs::path root = dir / "Zestawy";
    WriteSet(root / "matematyka" / "Ułamki");
    WriteSet(root / "matematyka" / "geometria" / "Trójkąty");
    WriteSet(root / "Przyroda");
    fs::create_directories(root / "Puste" / "Nic");
    std::ofstream(root / "matematyka" / "tytul.txt") << "Matematyka\r\n";

    std::string out;
    ASSERT_EQ(Skq({"list", "build", root.string(), (root / "Lista.skz").string()}, out), 0) << out;
    EXPECT_THAT(out, HasSubstr("3 sets in 2 categories"));
    std::vector<std::string> lines;
    SetListHeader header;
    Recorder quiet;
    ASSERT_TRUE(LoadSetList(root / "Lista.skz", lines, header, quiet.Reports()));
    EXPECT_EQ(header.Name, "Zestawy");
    std::vector<std::string> utf8;
    for (const std::string& line : lines)
        utf8.push_back(AnsiToUtf8(line));
    EXPECT_THAT(utf8, ElementsAre("1*0*3*0*1*0*Matematyka**", "2*1*1*1*0*0*geometria**",
                                  "3*2*0*2*0*0*Trójkąty*\\matematyka\\geometria\\Trójkąty*",
                                  "4*1*0*1*0*0*Ułamki*\\matematyka\\Ułamki*", "5*0*0*0*1*0*Przyroda*\\Przyroda*"));
    EXPECT_EQ(Skq({"check", "--strict", (root / "Lista.skz").string()}, out), 0) << out;

    // An existing list is replaced only when asked.
    EXPECT_EQ(Skq({"list", "build", root.string(), (root / "Lista.skz").string()}, out), 1);
    EXPECT_EQ(Skq({"list", "build", root.string(), (root / "Lista.skz").string(), "--force"}, out), 0);
}

TEST(SkqListBuild, RefusesWhatAListCantHold) {
    TempDir dir;
    std::string out;
    WriteSet(dir / "a" / "Русский");
    EXPECT_EQ(Skq({"list", "build", (dir / "a").string(), (dir / "a" / "L.skz").string()}, out), 1);
    EXPECT_THAT(out, HasSubstr("can't store"));
    WriteSet(dir / "b" / "zestaw");
    EXPECT_EQ(Skq({"list", "build", (dir / "b").string(), (dir / "b" / "zestaw" / "L.skz").string()}, out), 1);
    EXPECT_THAT(out, HasSubstr("must lie in"));
    fs::create_directories(dir / "c" / "pusty");
    EXPECT_EQ(Skq({"list", "build", (dir / "c").string(), (dir / "c" / "L.skz").string()}, out), 1);
    EXPECT_FALSE(fs::exists(dir / "c" / "L.skz"));
}
