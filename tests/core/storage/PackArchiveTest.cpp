#include "core/storage/PackArchive.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/storage/PakWriter.h"
#include "support/PictureFiles.h"
#include "support/SparseEntry.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr std::int32_t kAny = EntryCap::kLargest;

void AppendInt32(Bytes& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// An archive laid out by hand: header, then the given directory records.
struct RawRecord {
    std::string Name;
    std::int64_t Offset;
    std::int64_t Size;
};

Bytes RawPak(std::int64_t directoryOffset, std::int64_t directorySize, const std::vector<RawRecord>& records,
             std::size_t padding = 0) {
    Bytes pak = {'P', 'A', 'C', 'K'};
    AppendInt32(pak, directoryOffset);
    AppendInt32(pak, directorySize);
    pak.resize(pak.size() + padding, 'x');
    for (const RawRecord& record : records) {
        Bytes name(PackArchive::kNameSize, 0);
        std::copy(record.Name.begin(), record.Name.end(), name.begin());
        pak.insert(pak.end(), name.begin(), name.end());
        AppendInt32(pak, record.Offset);
        AppendInt32(pak, record.Size);
    }
    return pak;
}

class Archive : public ::testing::Test {
protected:
    std::filesystem::path Write(const Bytes& bytes, const std::string& name = "test.skq") {
        const std::filesystem::path path = dir / name;
        WriteFileBytes(path, bytes);
        return path;
    }
    std::filesystem::path WritePak(const std::vector<PakEntry>& entries) { return Write(BuildPak(entries)); }

    TempDir dir;
    PackArchive pak;
};

} // namespace

TEST_F(Archive, WrittenArchiveOpensWithItsEntries) {
    const auto path = WritePak({{"Sezz0.xml", ToBytes("<pyt/>")}, {"obrazek.jpg", ToBytes("jpeg")}});
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_EQ(pak.EntryCount(), 2);
    EXPECT_EQ(pak.NameAt(1), "obrazek.jpg");
    EXPECT_EQ(PakExtract("SEZZ0.XML", kAny, pak), ToBytes("<pyt/>"));
    EXPECT_EQ(PakExtract("missing", kAny, pak), std::nullopt);
}

TEST_F(Archive, ZeroByteFileIsAnEmptyArchiveAndStaysUntouched) {
    const auto path = Write({});
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_EQ(pak.EntryCount(), 0);
    EXPECT_FALSE(PakExists("Sezz0.xml", pak));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(Archive, OpeningNeverWritesAndWorksOnReadOnlyFiles) {
    const Bytes bytes = BuildPak({{"a.txt", ToBytes("abc")}});
    const auto path = Write(bytes);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_EQ(PakExtract("a.txt", kAny, pak), ToBytes("abc"));
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST_F(Archive, BadMagicOpensWithoutEntries) {
    Bytes bytes = BuildPak({{"Sezz0.xml", ToBytes("x")}});
    std::copy_n("pack", 4, bytes.begin());
    const auto path = Write(bytes);
    EXPECT_FALSE(pak.Open(path));
    EXPECT_TRUE(PakOpen(path, pak));
    EXPECT_FALSE(PakExists("Sezz0.xml", pak));
    EXPECT_EQ(PakExtract("Sezz0.xml", kAny, pak), std::nullopt);
}

TEST_F(Archive, FilesThatAreNoArchiveFailToOpen) {
    EXPECT_FALSE(PakOpen(dir / "missing.skq", pak));
    EXPECT_FALSE(PakOpen(dir.Path(), pak));
    EXPECT_FALSE(PakOpen(Write(ToBytes("PACK\x0C")), pak)); // shorter than a header
    const auto pipe = dir / "pipe.skq";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(PakOpen(pipe, pak)); // and does not wait for a writer
    EXPECT_EQ(pak.EntryCount(), 0);
}

TEST_F(Archive, DuplicateNamesDifferingInCaseFindTheFirst) {
    const auto path = WritePak({{"Pytanie.TXT", ToBytes("first")}, {"pytanie.txt", ToBytes("second")}});
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_EQ(PakExtract("pytanie.txt", kAny, pak), ToBytes("first"));
    EXPECT_EQ(PakExtract("PYTANIE.TXT", kAny, pak), ToBytes("first"));
}

TEST_F(Archive, LookupIgnoresPolishLetterCaseButNotBlanks) {
    const auto path = WritePak({{"\xA3\xF3"
                                 "d\x9F.txt",
                                 ToBytes("x")}}); // Łódź.txt
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_TRUE(PakExists("\xB3\xD3"
                          "D\x8F.TXT",
                          pak)); // łÓDŹ.TXT
    EXPECT_FALSE(PakExists(" \xA3\xF3"
                           "d\x9F.txt",
                           pak));
    EXPECT_FALSE(PakExists("", pak));
}

TEST_F(Archive, NameFillingAll120BytesIsKeptWhole) {
    const std::string name(120, 'n');
    const auto path = Write(RawPak(12, 128, {{name, 0, 4}}));
    ASSERT_TRUE(PakOpen(path, pak));
    EXPECT_EQ(pak.NameAt(0), name);
    EXPECT_EQ(PakExtract(name, kAny, pak), ToBytes("PACK"));
}

TEST_F(Archive, DirectorySizeIsCountedInWholeRecords) {
    Bytes bytes = RawPak(12, 200, {{"a", 0, 1}});
    bytes.resize(bytes.size() + 72, 0);
    ASSERT_TRUE(PakOpen(Write(bytes), pak));
    EXPECT_EQ(pak.EntryCount(), 1);

    ASSERT_TRUE(PakOpen(Write(RawPak(12, 127, {{"a", 0, 1}})), pak));
    EXPECT_EQ(pak.EntryCount(), 0);
    ASSERT_TRUE(PakOpen(Write(RawPak(12, -128, {{"a", 0, 1}})), pak));
    EXPECT_EQ(pak.EntryCount(), 0);
}

TEST_F(Archive, DirectoryOutsideTheFileFailsWithoutAllocating) {
    // 2 GB of directory claimed by a 140-byte file.
    EXPECT_FALSE(PakOpen(Write(RawPak(12, 0x7FFFFF80, {{"a", 0, 1}})), pak));
    EXPECT_EQ(pak.EntryCount(), 0);
    EXPECT_FALSE(PakOpen(Write(RawPak(0x7FFFFFFF, 128, {{"a", 0, 1}})), pak));
    EXPECT_FALSE(PakOpen(Write(RawPak(-1, 128, {{"a", 0, 1}})), pak));
    EXPECT_FALSE(PakOpen(Write(RawPak(12, 256, {{"a", 0, 1}})), pak)); // second record cut off
    EXPECT_EQ(pak.EntryCount(), 0);
}

TEST_F(Archive, FailedOpenForgetsTheEarlierArchive) {
    ASSERT_TRUE(PakOpen(WritePak({{"a", ToBytes("1")}}), pak));
    EXPECT_FALSE(PakOpen(dir / "missing.skq", pak));
    EXPECT_FALSE(PakExists("a", pak));
}

TEST_F(Archive, EntriesOutsideTheFileRaiseWhenExtracted) {
    const auto path = Write(RawPak(12, 6 * 128,
                                   {{"past-end", 100, 1000},
                                    {"huge", 0, 0x7FFFFFFF},
                                    {"far", 0x7FFFFFFF, 1},
                                    {"negative-size", 0, -1},
                                    {"negative-offset", -5, 2},
                                    {"empty", 3, 0}}));
    ASSERT_TRUE(PakOpen(path, pak));
    for (const char* name : {"past-end", "huge", "far", "negative-size", "negative-offset"}) {
        EXPECT_THROW(PakExtract(name, kAny, pak), StorageError) << name;
        TextLines lines = {"kept"};
        EXPECT_THROW(PakLoadText(name, lines, pak), StorageError) << name;
    }
    EXPECT_THAT(*PakExtract("empty", kAny, pak), IsEmpty());
    EXPECT_THROW(pak.ExtractAt(6, kAny), StorageError);
    EXPECT_THROW(pak.ExtractAt(-1, kAny), StorageError);
}

TEST_F(Archive, EntryOverItsCapIsRefusedBeforeItIsRead) {
    ASSERT_TRUE(PakOpen(WritePak({{"a.txt", ToBytes("12345")}}), pak));
    EXPECT_EQ(PakExtract("a.txt", 5, pak), ToBytes("12345"));
    EXPECT_THROW(PakExtract("a.txt", 4, pak), StorageError);

    // 2 GB claimed by a sparse file of a few bytes on disk.
    const auto sparse = WritePak({{"Sezz0.xml", ToBytes("<pyt/>")}});
    ClaimEntrySize(sparse, "Sezz0.xml", 0x7FFFFFF0);
    ASSERT_TRUE(PakOpen(sparse, pak));
    EXPECT_THROW(PakExtract("Sezz0.xml", EntryCap::kLargest, pak), StorageError);
}

TEST_F(Archive, WriterRefusesNamesLongerThanARecordHolds) {
    EXPECT_THROW(BuildPak({{std::string(121, 'n'), {}}}), StorageError);
    EXPECT_NO_THROW(BuildPak({{std::string(120, 'n'), {}}}));
}

TEST(SplitLines, BreaksAtEveryKindOfLineEnd) {
    EXPECT_THAT(SplitLines(ToBytes("a\r\nb\rc\nd")), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(SplitLines(ToBytes("a\n\nb\r\r\nc\r\n")), ElementsAre("a", "", "b", "", "c"));
    EXPECT_THAT(SplitLines(ToBytes("\r\n")), ElementsAre(""));
    EXPECT_THAT(SplitLines(ToBytes("\n\r")), ElementsAre("", ""));
    EXPECT_THAT(SplitLines(ToBytes("")), IsEmpty());
}

TEST(SplitLines, StopsAtTheFirstNul) {
    EXPECT_THAT(SplitLines(ToBytes(std::string("one\r\ntwo\0three\r\n", 17))), ElementsAre("one", "two"));
    EXPECT_THAT(SplitLines(ToBytes(std::string("\0x", 2))), IsEmpty());
}

TEST_F(Archive, TextEntryReplacesTheLinesOrLeavesThemAlone) {
    ASSERT_TRUE(PakOpen(WritePak({{"tekst.txt", ToBytes("Pierwsza\r\nDruga")}}), pak));
    TextLines lines = {"old"};
    EXPECT_FALSE(PakLoadText("missing.txt", lines, pak));
    EXPECT_THAT(lines, ElementsAre("old"));
    EXPECT_TRUE(PakLoadText("TEKST.TXT", lines, pak));
    EXPECT_THAT(lines, ElementsAre("Pierwsza", "Druga"));
}

TEST_F(Archive, PictureLoaderIsChosenByTheExtension) {
    ASSERT_TRUE(PakOpen(WritePak({{"a.JpG", MakeTestJpeg(30, 20)},
                                  {"b.gif", MakeTestGif(7, 5)},
                                  {"c.Bmp", MakeTestBmp24(4, 3)},
                                  {"d.jpeg", MakeTestJpeg(8, 8)},
                                  {"noextension", MakeTestJpeg(8, 8)}}),
                        pak));
    Bitmap bitmap;
    ASSERT_TRUE(PakLoadPicture("a.JpG", bitmap, pak));
    EXPECT_EQ(std::tuple(bitmap.Width, bitmap.Height, bitmap.Format), std::tuple(30, 20, PixelFormat::Bits24));
    ASSERT_TRUE(PakLoadPicture("B.GIF", bitmap, pak));
    EXPECT_EQ(std::tuple(bitmap.Width, bitmap.Height, bitmap.Format), std::tuple(7, 5, PixelFormat::Bits8));
    ASSERT_TRUE(PakLoadPicture("c.bmp", bitmap, pak));
    EXPECT_EQ(std::tuple(bitmap.Width, bitmap.Height, bitmap.Format), std::tuple(4, 3, PixelFormat::Bits24));

    for (const char* ignored : {"d.jpeg", "noextension", "missing.jpg"})
        EXPECT_FALSE(PakLoadPicture(ignored, bitmap, pak)) << ignored;
    EXPECT_EQ(std::tuple(bitmap.Width, bitmap.Height), std::tuple(4, 3));
    EXPECT_EQ(bitmap.Pixels.size(), 4u * 3 * 3);
}

TEST_F(Archive, DamagedPictureRaisesAndKeepsTheBitmap) {
    ASSERT_TRUE(PakOpen(WritePak({{"ok.gif", MakeTestGif(3, 2)}, {"bad.jpg", ToBytes("not a jpeg at all")}}), pak));
    Bitmap bitmap;
    ASSERT_TRUE(PakLoadGif("ok.gif", bitmap, pak));
    EXPECT_THROW(PakLoadPicture("bad.jpg", bitmap, pak), StorageError);
    EXPECT_EQ(std::tuple(bitmap.Width, bitmap.Height, bitmap.Format), std::tuple(3, 2, PixelFormat::Bits8));
}
