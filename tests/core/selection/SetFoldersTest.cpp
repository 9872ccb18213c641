#include "core/selection/SetFolders.h"

#include "core/base/CodePage.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

TEST(SetFolders, QuestionFilesAreNamesContainingSkqInNameOrder) {
    TempDir dir;
    for (const char* name : {"c.skq.bak", "B.SKQ", "a.skq", "d.skqx", "notes.txt", "skq"})
        WriteFileText(dir / name, "x");
    std::filesystem::create_directory(dir / "x.skq");
    std::vector<std::string> files;
    ListQuestionFiles(dir.Path(), files);
    EXPECT_THAT(files, ElementsAre("a.skq", "B.SKQ", "c.skq.bak", "d.skqx"));
}

TEST(SetFolders, FolderTextFollowsTheListFolderDirectly) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Zestawy" / "Matematyka" / "Ułamki");
    const auto list = dir / "Zestawy" / "Lista.skz";
    EXPECT_EQ(ResolveSetFolder(list, Utf8ToAnsi("\\Matematyka\\Ułamki")), dir / "Zestawy" / "Matematyka" / "Ułamki");
    EXPECT_EQ(ResolveSetFolder(list, "/Matematyka"), dir / "Zestawy" / "Matematyka");
    EXPECT_EQ(ResolveSetFolder("Lista.skz", "\\Zestaw"), "Zestaw"); // beside a bare list name, not at the root
}

TEST(SetFolders, ComponentsAreMatchedIgnoringCaseWhenTheExactPathIsMissing) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Zestawy" / "Język polski" / "Ortografia");
    const auto list = dir / "Zestawy" / "Lista.skz";
    EXPECT_EQ(ResolveSetFolder(list, Utf8ToAnsi("\\JĘZYK POLSKI\\ortografia")),
              dir / "Zestawy" / "Język polski" / "Ortografia");
    EXPECT_EQ(ResolveSetFolder(list, "\\brak\\Ortografia"), dir / "Zestawy" / "brak" / "Ortografia");
}
