#include "core/selection/SetFolders.h"

#include "core/base/CodePage.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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

TEST(Wildcard, StarQuestionMarkAndTrailingDotStar) {
    for (const char* name : {"a.skq", "B.SKQ", "c.skq.bak", "d.skqx", ".skq", "Żółw.Skq"})
        EXPECT_TRUE(MatchesWildcard(Utf8ToWide(name), u"*.skq*.*")) << name;
    for (const char* name : {"askq", "a.sk", "a.txt", "skq"})
        EXPECT_FALSE(MatchesWildcard(Utf8ToWide(name), u"*.skq*.*")) << name;
    EXPECT_TRUE(MatchesWildcard(u"abc", u"abc.*"));
    EXPECT_TRUE(MatchesWildcard(u"abc.d", u"abc.*"));
    EXPECT_FALSE(MatchesWildcard(u"abcd", u"abc.*"));
    EXPECT_TRUE(MatchesWildcard(u"x1.txt", u"x?.TXT"));
    EXPECT_FALSE(MatchesWildcard(u"x.txt", u"x?.txt"));
    EXPECT_TRUE(MatchesWildcard(u"anything", u"*.*"));
    EXPECT_TRUE(MatchesWildcard(u"", u"*"));
}

TEST(ListFiles, ListsMatchingFilesSortedAndLeavesOutFolders) {
    TempDir dir;
    for (const char* name : {"c.skq.bak", "B.SKQ", "a.skq", "notes.txt", ".hidden.skq"})
        WriteFileText(dir / name, "x");
    std::filesystem::create_directory(dir / "folder.skq");
    std::filesystem::create_symlink(dir / "a.skq", dir / "link.skq");
    std::filesystem::create_directory_symlink(dir / "folder.skq", dir / "dirlink.skq");
    std::filesystem::create_symlink(dir / "gone", dir / "broken.skq");
    ASSERT_EQ(mkfifo((dir / "pipe.skq").c_str(), 0600), 0);

    std::vector<std::string> names = {"earlier"};
    ListFiles(dir.Path().string() + "/*.skq", "*.*", names);
    EXPECT_THAT(names, ElementsAre("earlier", ".hidden.skq", "a.skq", "B.SKQ", "c.skq.bak", "link.skq"));
}

TEST(ListFiles, OrderIsUpperCaseCodeUnitsThenBytes) {
    // "_" sorts after the upper-case letters, not before the lower-case ones; Polish letters after
    // ASCII by their code; names equal but for case in byte order; bytes that are no UTF-8 last.
    TempDir dir;
    for (const std::string name :
         {"\xFF.skq", "Żółw.skq", "żaba.skq", "Ąb.skq", "_x.skq", "zebra.skq", "ZEBRA.skq", "ab.skq", "AĄ.skq"})
        WriteFileText(dir / name, "x");
    std::vector<std::string> names;
    ListFiles(dir.Path().string() + "/*.skq", "*.*", names);
    EXPECT_THAT(names, ElementsAre("ab.skq", "AĄ.skq", "ZEBRA.skq", "zebra.skq", "_x.skq", "Ąb.skq", "żaba.skq",
                                   "Żółw.skq", "\xFF.skq"));
}

TEST(ListFiles, MissingFolderListsNothing) {
    TempDir dir;
    std::vector<std::string> names;
    ListFiles((dir / "missing").string() + "/*.skq", "*.*", names);
    EXPECT_THAT(names, IsEmpty());
}
