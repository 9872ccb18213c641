#include "core/session/ResultsHistory.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultsHistory, FieldsAreQuotedOnlyWhenTheyNeedIt) {
    EXPECT_EQ(CsvField("Ułamki zwykłe"), "Ułamki zwykłe");
    EXPECT_EQ(CsvField("a;b"), "\"a;b\"");
    EXPECT_EQ(CsvField("cytat \"x\""), "\"cytat \"\"x\"\"\"");
    EXPECT_EQ(CsvField(" odstęp"), "\" odstęp\"");
    EXPECT_EQ(CsvField(""), "");
}

TEST(ResultsHistory, FieldsHoldNoControlsNorBrokenUtf8) {
    EXPECT_EQ(CsvField("dwa\r\nwiersze\tz\x7Fkontrolą"), "dwa  wiersze z kontrolą");
    EXPECT_EQ(CsvField("zła \xC5 litera \xFF"), "zła ? litera ?");
}

TEST(ResultsHistory, FieldsThatStartLikeAFormulaStayText) {
    EXPECT_EQ(CsvField("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(CsvField("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(CsvField("-2+3"), "'-2+3");
    EXPECT_EQ(CsvField("2-3"), "2-3");
}

TEST(ResultsHistory, LineCarriesTheRunInSpreadsheetFriendlyFields) {
    const double start = 46000.5;
    const SummaryReport report = MakeSummaryReport(13, 10, 16, start, start + (3725.0 / 86400.0));
    EXPECT_EQ(ResultsLine(report, "Ułamki; część 1", "/home/uczeń/Zestawy/Ulamki"),
              "2025-12-09 13:02:05;\"Ułamki; część 1\";/home/uczeń/Zestawy/Ulamki;13;10;77%;16;1:02:05;"
              "To jest przyzwoity wynik.");
    EXPECT_EQ(ResultsDateTime(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(ResultsDateTime(1.0 / 0.0), "1899-12-30 00:00:00");
}

TEST(ResultsHistory, HeaderOnlyWhenTheFileIsNew) {
    TempDir dir;
    const auto file = dir / "wyniki.csv";
    ASSERT_TRUE(AppendResultsLine(file, "pierwszy"));
    ASSERT_TRUE(AppendResultsLine(file, "drugi"));
    EXPECT_EQ(ReadFileText(file), "\xEF\xBB\xBF" + std::string(kResultsHeader) + "\r\npierwszy\r\ndrugi\r\n");
    WriteFileText(file, "");
    ASSERT_TRUE(AppendResultsLine(file, "trzeci"));
    EXPECT_EQ(ReadFileText(file), "\xEF\xBB\xBF" + std::string(kResultsHeader) + "\r\ntrzeci\r\n");
    WriteFileText(file, "zapisany w arkuszu");
    ASSERT_TRUE(AppendResultsLine(file, "czwarty"));
    EXPECT_EQ(ReadFileText(file), "zapisany w arkuszu\r\nczwarty\r\n");
}

TEST(ResultsHistory, AFileThatCannotBeWrittenIsLeftAlone) {
    TempDir dir;
    EXPECT_FALSE(AppendResultsLine(dir / "brak" / "wyniki.csv", "x"));
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(AppendResultsLine(dir / "folder", "x"));
    WriteFileText(dir / "cudzy.txt", "nie ruszać");
    std::filesystem::create_symlink(dir / "cudzy.txt", dir / "wyniki.csv");
    EXPECT_FALSE(AppendResultsLine(dir / "wyniki.csv", "x"));
    EXPECT_EQ(ReadFileText(dir / "cudzy.txt"), "nie ruszać");
}

TEST(ResultsHistory, SetNameIsTheFolderName) {
    EXPECT_EQ(FolderSetName("/zestawy/Przyroda"), "Przyroda");
    EXPECT_EQ(FolderSetName("/zestawy/Przyroda/"), "Przyroda");
}

} // namespace
