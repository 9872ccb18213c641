#include "storage/AtomicFile.h"
#include "storage/StorageError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // nothing left behind
}
