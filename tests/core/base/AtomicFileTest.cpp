#include "core/base/AtomicFile.h"

#include "core/base/StorageError.h"
#include "core/selection/SetFolders.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Sets the time of the file itself (a link is not followed) an hour back.
void MakeOld(const fs::path& path) {
    const timespec hourAgo{time(nullptr) - 3600, 0};
    const timespec times[2] = {hourAgo, hourAgo};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::ptrdiff_t CountFiles(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); }

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    TempDir dir;
    const auto path = dir / "Ludra.ini";
    WriteFileText(path, "old and longer");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    WriteFileAtomically(path, ToBytes("new"));
    EXPECT_EQ(ReadFileText(path), "new");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(AtomicFile, LeavesOtherFilesBesideTheTargetAlone) {
    TempDir dir;
    WriteFileText(dir / "notes.txt.tmp", "mine");
    WriteFileAtomically(dir / "notes.txt", ToBytes("new"));
    EXPECT_EQ(ReadFileText(dir / "notes.txt.tmp"), "mine");
    EXPECT_EQ(ReadFileText(dir / "notes.txt"), "new");
}

TEST(AtomicFile, FailureLeavesTheOldFileWhole) {
    TempDir dir;
    const auto readOnly = dir / "read-only.ini";
    WriteFileText(readOnly, "kept");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    EXPECT_THROW(WriteFileAtomically(readOnly, ToBytes("lost")), StorageError);
    EXPECT_EQ(ReadFileText(readOnly), "kept");

    EXPECT_THROW(WriteFileAtomically(dir / "missing" / "x.ini", ToBytes("lost")), StorageError);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_THROW(WriteFileAtomically(dir / "folder", ToBytes("lost")), StorageError);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2); // nothing left behind
}

TEST(AtomicFile, ALinkInTheTargetsPlaceIsNeitherFollowedNorReplaced) {
    TempDir dir;
    WriteFileText(dir / "elsewhere.ini", "kept");
    fs::create_symlink(dir / "elsewhere.ini", dir / "Ludra.ini");
    EXPECT_THROW(WriteFileAtomically(dir / "Ludra.ini", ToBytes("lost")), StorageError);
    EXPECT_TRUE(fs::is_symlink(dir / "Ludra.ini"));
    EXPECT_EQ(ReadFileText(dir / "elsewhere.ini"), "kept");

    fs::create_symlink(dir / "created.ini", dir / "dangling.ini");
    EXPECT_THROW(WriteFileAtomically(dir / "dangling.ini", ToBytes("lost")), StorageError);
    EXPECT_FALSE(fs::exists(dir / "created.ini"));
    EXPECT_EQ(CountFiles(dir.Path()), 3); // nothing left behind
}

TEST(AtomicFile, OnlyStaleTemporariesOfOursAreRemoved) {
    TempDir dir;
    const fs::path target = dir / "Ludra.ini";
    WriteFileText(target, "settings");
    const char* const kept[] = {
        ".Ludra.ini.tmp-AbC12",  ".Ludra.ini.tmp-AbC1234", ".Ludra.ini.tmp-AbC-12", "Ludra.ini.AbC123",
        ".Other.ini.tmp-AbC123", ".Ludra.ini.tmp-Lnk123",  ".Ludra.ini.tmp-Dir123",
    };
    for (const char* name : kept) {
        if (std::string_view(name).ends_with("Lnk123"))
            fs::create_symlink(target, dir / name);
        else if (std::string_view(name).ends_with("Dir123"))
            fs::create_directory(dir / name);
        else
            WriteFileText(dir / name, "not a temporary file of ours");
        MakeOld(dir / name);
    }
    WriteFileText(dir / ".Ludra.ini.tmp-Live99", "another program is still writing this");
    WriteFileText(dir / ".Ludra.ini.tmp-Old123", "left by a killed save");
    MakeOld(dir / ".Ludra.ini.tmp-Old123");

    RemoveStaleTemporaries(target);
    EXPECT_FALSE(fs::exists(dir / ".Ludra.ini.tmp-Old123"));
    EXPECT_TRUE(fs::exists(dir / ".Ludra.ini.tmp-Live99"));
    for (const char* name : kept)
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir / name))) << name;
    EXPECT_EQ(ReadFileText(target), "settings");
}

// A batch's files appear only when it is committed; until then they lie under temporary
// names that no question file pattern takes. An unfinished batch changes nothing, and a later
// batch writing the same files clears away what killed ones left of them, of any age and
// either form, while another writer's temporary file in the folder stays.
TEST(FileBatch, TemporariesNeverLookLikeQuestionFilesAndWhatAKilledBatchLeftIsCleared) {
    TempDir dir;
    WriteFileText(dir / ".pytanie01.skq.tmp-Old123", "left by an older writer");
    WriteFileText(dir / ".~Pytanie02~SKQ~tmp-New123", "left by a killed batch");
    WriteFileText(dir / ".~pytanie09~skq~tmp-Liv123", "another writer's");
    const auto questionFiles = [&] {
        std::vector<std::string> files;
        ListQuestionFiles(dir.Path(), files);
        return files;
    };
    {
        FileBatch batch;
        batch.Write(dir / "pytanie03.skq", ToBytes("3"));
        EXPECT_EQ(questionFiles(), std::vector<std::string>{".pytanie01.skq.tmp-Old123"});
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            EXPECT_TRUE(IsTemporaryFileName(entry.path().filename().string())) << entry.path();
    }
    EXPECT_EQ(CountFiles(dir.Path()), 3);

    FileBatch batch;
    batch.Write(dir / "pytanie01.skq", ToBytes("1"));
    batch.Write(dir / "Pytanie02.SKQ", ToBytes("2"));
    batch.Commit();
    EXPECT_EQ(batch.Committed(), 2u);
    EXPECT_EQ(questionFiles(), (std::vector<std::string>{"pytanie01.skq", "Pytanie02.SKQ"}));
    EXPECT_EQ(ReadFileText(dir / "Pytanie02.SKQ"), "2");
    EXPECT_TRUE(fs::exists(dir / ".~pytanie09~skq~tmp-Liv123"));
    EXPECT_EQ(CountFiles(dir.Path()), 3);
}
