#include "core/storage/SetListFile.h"

#include "core/base/CodePage.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/PackArchive.h"
#include "core/storage/PakWriter.h"
#include "support/Recorder.h"
#include "support/SparseEntry.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

const std::u16string kListBox = u"Problem z otwarciem pliku listy zestawów.\rBrak pliku lub plik jest uszkodzony.";
const std::u16string kOldListBox =
    u"Plik listy zestawów, to plik w werjsi 3.5.Skorzystaj z modułu Sabrel, by zapisać listę w nowej wersji.";
const std::u16string kReadFailed = u"Odczyt listy zestawów. Ver 40. Błąd odczytu.";
const std::u16string kNoCount = u"Lista jest uszkodzona. Brak informacji o ilości wpisów.";

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + text + "</" + name + ">";
}

class SetList : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& body, const std::string& document = "Selz0.xml") {
        const std::filesystem::path path = dir / ("Lista" + std::to_string(++files_) + ".skz");
        WritePakFile(path, {{document, ToBytes(Utf8ToAnsi("<?xml version=\"1.0\"?><lsz>" + body + "</lsz>"))}});
        return path;
    }

    TempDir dir;
    Recorder record;
    std::vector<std::string> lines = {"stale"};
    SetListHeader header;
    int files_ = 0;
};

} // namespace

TEST_F(SetList, DeliversTheEntryLinesInIndexOrder) {
    const auto path = File(Element("name", "Szkoła") + Element("ilw", "3") + Element("dx2", "2*0*0*0*1*0*C*\\c*") +
                           Element("dx0", "0*0*0*0*1*0*A*\\a*") + Element("dx1", "1*0*0*0*1*0*B*\\b*") +
                           Element("dx3", "extra") + Element("dtu", "12") + Element("uwg", "uwagi"));
    ASSERT_TRUE(LoadSetList(path, lines, header, record.Reports()));
    EXPECT_THAT(lines, ElementsAre("0*0*0*0*1*0*A*\\a*", "1*0*0*0*1*0*B*\\b*", "2*0*0*0*1*0*C*\\c*"));
    EXPECT_EQ(header.Name, Utf8ToAnsi("Szkoła"));
    EXPECT_EQ(header.Dtu, "12");
    EXPECT_EQ(header.Uwg, "uwagi");
    EXPECT_THAT(record.Journal, IsEmpty());
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(SetList, ZeroEntriesIsAnEmptyList) {
    ASSERT_TRUE(LoadSetList(File(Element("ilw", "0") + Element("dx0", "ignored")), lines, header, record.Reports()));
    EXPECT_THAT(lines, IsEmpty());
}

TEST_F(SetList, EncodedListDecodesTheCountAndTheLines) {
    const std::string body = Element("cd", " tr ") + Element("ilw", WideToAnsi(EncodeBase64Utf16(u"2"))) +
                             Element("name", WideToAnsi(EncodeBase64Utf16(u"Zestawy"))) +
                             Element("dx0", WideToAnsi(EncodeBase64Utf16(u"1*0*0*0*1*0*Łódź*\\Lodz*"))) +
                             Element("dx1", WideToAnsi(EncodeBase64Utf16(u"2*0*0*0*1*0*Zoo*\\zoo*")));
    ASSERT_TRUE(LoadSetList(File(body), lines, header, record.Reports()));
    EXPECT_THAT(lines, ElementsAre(Utf8ToAnsi("1*0*0*0*1*0*Łódź*\\Lodz*"), "2*0*0*0*1*0*Zoo*\\zoo*"));
    EXPECT_EQ(header.Name, "Zestawy");
}

TEST_F(SetList, EntryThatCannotBeDecodedReadsEmpty) {
    const std::string body = Element("cd", "tr") + Element("ilw", WideToAnsi(EncodeBase64Utf16(u"2"))) +
                             Element("dx0", "!!!!") + Element("dx1", WideToAnsi(EncodeBase64Utf16(u"b")));
    ASSERT_TRUE(LoadSetList(File(body), lines, header, record.Reports()));
    EXPECT_THAT(lines, ElementsAre("", "b"));
}

TEST_F(SetList, MissingOrWrongCountFailsWithBothReports) {
    for (const std::string& count : {std::string(), Element("ilw", "many"), Element("ilw", "")}) {
        Recorder local;
        EXPECT_FALSE(LoadSetList(File(count + Element("dx0", "a")), lines, header, local.Reports())) << count;
        EXPECT_THAT(local.JournalMessages(), ElementsAre(kNoCount)) << count;
        EXPECT_THAT(local.BoxTexts(), ElementsAre(kListBox)) << count;
        ASSERT_THAT(local.Boxes, SizeIs(1));
        EXPECT_EQ(local.Boxes[0].Icon, WarningIcon::Warning);
    }
}

TEST_F(SetList, MissingFileIsReportedTwice) {
    EXPECT_FALSE(LoadSetList(dir / "nothing.skz", lines, header, record.Reports()));
    EXPECT_THAT(record.JournalMessages(), ElementsAre(kReadFailed));
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kListBox));
    EXPECT_THAT(lines, ElementsAre("stale"));
}

TEST_F(SetList, ArchiveWithoutTheDocumentFails) {
    EXPECT_FALSE(LoadSetList(File(Element("ilw", "1"), "Inny.xml"), lines, header, record.Reports()));
    EXPECT_THAT(record.JournalMessages(), ElementsAre(kReadFailed));
}

TEST_F(SetList, DocumentOverItsCapFails) {
    const auto path = File(Element("ilw", "0"));
    ClaimEntrySize(path, "Selz0.xml", EntryCap::kSetListDocument + 1);
    EXPECT_FALSE(LoadSetList(path, lines, header, record.Reports()));
    EXPECT_THAT(record.JournalMessages(), ElementsAre(kReadFailed));
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kListBox));
}

TEST_F(SetList, OldLayoutIsRefusedWithTwoBoxesInOrder) {
    const auto path = dir / "Stara.skz";
    WritePakFile(path, {{"Selz0.xml", ToBytes("<lsz><ilw>0</ilw></lsz>")}, {"Selz0.txp", ToBytes("old")}});
    EXPECT_FALSE(LoadSetList(path, lines, header, record.Reports()));
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kOldListBox, kListBox));
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Information);
    EXPECT_THAT(record.Journal, IsEmpty());
}

TEST_F(SetList, HeaderIsResetBeforeEachLoad) {
    ASSERT_TRUE(LoadSetList(File(Element("ilw", "0") + Element("name", "Pierwsza") + Element("dtu", "5")), lines,
                            header, record.Reports()));
    ASSERT_TRUE(LoadSetList(File(Element("ilw", "0")), lines, header, record.Reports()));
    EXPECT_EQ(header.Name, "");
    EXPECT_EQ(header.Dtu, ""); // read from the document: a missing element reads empty
    EXPECT_FALSE(LoadSetList(dir / "missing.skz", lines, header, record.Reports()));
    EXPECT_EQ(header.Dtu, "0");
}

TEST_F(SetList, SeveralHundredEntriesLoadCompletely) {
    std::string body = Element("ilw", "700");
    for (int i = 699; i >= 0; --i)
        body += Element("DX" + std::to_string(i), std::to_string(i) + "*0*0*0*1*0*Zestaw*\\z*");
    ASSERT_TRUE(LoadSetList(File(body), lines, header, record.Reports()));
    ASSERT_THAT(lines, SizeIs(700));
    EXPECT_EQ(lines[0], "0*0*0*0*1*0*Zestaw*\\z*");
    EXPECT_EQ(lines[699], "699*0*0*0*1*0*Zestaw*\\z*");
}

TEST_F(SetList, LinesEndBeforeTheFirstMissingEntry) {
    // A huge count in a tiny file allocates nothing it does not hold.
    const auto path = File(Element("ilw", "2000000000") + Element("dx0", "a") + Element("dx1", "b") +
                           Element("dx3", "after a gap") + Element("dx1999999999", "far"));
    ASSERT_TRUE(LoadSetList(path, lines, header, record.Reports()));
    EXPECT_THAT(lines, ElementsAre("a", "b"));
}

TEST_F(SetList, EntryNamesMatchInAnyCaseAsTheNumberIsSpelledAndTheFirstWins) {
    // "dx01" is not entry 1 although it comes before it; a second "dx0" is not read.
    const auto path = File(Element("ilw", "3") + Element("dX0", "a") + Element("dx0", "again") +
                           Element("dx01", "zero first") + Element("dx2", "c") + Element("Dx1", "b"));
    ASSERT_TRUE(LoadSetList(path, lines, header, record.Reports()));
    EXPECT_THAT(lines, ElementsAre("a", "b", "c"));
}
