#include "core/session/QuestionLoader.h"

#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/XmlDocument.h"
#include "support/PictureFiles.h"
#include "support/Recorder.h"
#include "support/SparseEntry.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string kNotLoaded = u"Odczyt. Błąd wczytywania pliku Sezz0.";
const std::u16string kDamaged40 = u"Odczyt. Ver 40. Błąd dekodowania pytaniu solo.";
const std::u16string kDamaged35 = u"Odczyt. Ver 35. Błąd dekodowania pytaniu solo.";
const std::u16string kDamagedBox = u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony.";

QuestionDocument Sample(int answerCount = 4) {
    QuestionDocument question;
    question.QuestionType = 0;
    question.AnswerCount = answerCount;
    question.QuestionText = Utf8ToAnsi("Stolica Polski to:");
    question.Answers = {"Warszawa", Utf8ToAnsi("Kraków"), Utf8ToAnsi("Gdańsk"), Utf8ToAnsi("Poznań"), "Lublin"};
    question.Key = "10000";
    question.Hint = Utf8ToAnsi("Leży nad Wisłą.");
    question.Date = "2026-12-07";
    return question;
}

class QuestionLoader : public ::testing::Test {
protected:
    void SetUp() override { random.Seed(42); }

    std::filesystem::path File(const std::vector<PakEntry>& entries) {
        const std::filesystem::path path = dir / ("q" + std::to_string(++files_) + ".skq");
        WritePakFile(path, entries);
        return path;
    }
    std::filesystem::path Xml(const std::string& document, std::vector<PakEntry> more = {}) {
        more.insert(more.begin(), {"Sezz0.xml", ToBytes(document)});
        return File(more);
    }

    void ExpectDamaged(const std::filesystem::path& path, const std::u16string& journal) {
        EXPECT_FALSE(OpenQuestionFile(path, loaded, record.Reports(), random));
        EXPECT_THAT(record.JournalMessages(), ElementsAre(journal));
        EXPECT_THAT(record.BoxTexts(), ElementsAre(kDamagedBox));
        ASSERT_EQ(record.Boxes.size(), 1u);
        EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::Close);
        EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Information);
        EXPECT_EQ(record.Journal[0].first, 0);
    }
    void ExpectNotLoaded(const std::filesystem::path& path) {
        EXPECT_FALSE(OpenQuestionFile(path, loaded, record.Reports(), random));
        EXPECT_THAT(record.JournalMessages(), ElementsAre(kNotLoaded));
        EXPECT_THAT(record.Boxes, IsEmpty());
    }

    TempDir dir;
    Recorder record;
    LoadedQuestion loaded;
    Random random;
    int files_ = 0;
};

void ExpectSample(const QuestionRecord& question, int answerCount = 4) {
    const QuestionDocument sample = Sample(answerCount);
    EXPECT_EQ(question.QuestionText, sample.QuestionText);
    EXPECT_EQ(question.AnswerCount, answerCount);
    for (int k = 1; k <= answerCount; ++k)
        EXPECT_EQ(question.Answer(k).Text, sample.Answers[k - 1]) << k;
    EXPECT_EQ(question.Key, "10000");
    EXPECT_TRUE(question.Answer(1).Correct);
    EXPECT_FALSE(question.Answer(2).Correct);
    EXPECT_EQ(question.Hint, sample.Hint);
    EXPECT_EQ(question.OrderRow.size(), static_cast<std::size_t>(answerCount));
}

} // namespace

TEST_F(QuestionLoader, LoadsEveryStoredFormOfTheCurrentLayout) {
    for (Question40Form form : {Question40Form{false, false}, {true, false}, {false, true}, {true, true}}) {
        ASSERT_TRUE(
            OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(Sample(), form)}}), loaded, record.Reports(), random))
            << form.Encoded << form.WideText;
        ExpectSample(loaded.Question);
        EXPECT_EQ(loaded.Question.Date, "2026-12-07");
    }
    EXPECT_THAT(record.Journal, IsEmpty());
}

TEST_F(QuestionLoader, LoadsFiveAnswersAndTheAnswerOrder) {
    ASSERT_TRUE(OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(Sample(5))}}), loaded, record.Reports(), random));
    ExpectSample(loaded.Question, 5);
    for (int p = 1; p <= 5; ++p)
        EXPECT_NE(AnswerAtPosition(loaded.Question, p), -1) << p;
}

TEST_F(QuestionLoader, EncodingMarkerMustBeExactlyLowerCaseTr) {
    // "TR" means plain fields; "tr" between blanks is trimmed and means encoded.
    ASSERT_TRUE(OpenQuestionFile(Xml("<pyt><cd>TR</cd><ilo>3</ilo><tr>Plain</tr><odp>001</odp></pyt>"), loaded,
                                 record.Reports(), random));
    EXPECT_EQ(loaded.Question.QuestionText, "Plain");
    const std::string encoded = "<pyt><cd>\r\n tr \t</cd><ilo>MwA=</ilo><tr>SwBvAGQA</tr><odp>MQA=</odp></pyt>";
    ASSERT_TRUE(OpenQuestionFile(Xml(encoded), loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Question.QuestionText, "Kod");
    EXPECT_EQ(loaded.Question.AnswerCount, 3);
}

TEST_F(QuestionLoader, MissingTypeReadsAsSingleAnswer) {
    ASSERT_TRUE(OpenQuestionFile(Xml("<pyt><ilo>3</ilo><odp>010</odp></pyt>"), loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Question.QuestionType, 0);
    EXPECT_TRUE(loaded.Question.Answer(2).Correct);
}

TEST_F(QuestionLoader, AnswerCountOtherThanThreeToFiveIsDamaged) {
    for (const char* count : {"", "<ilo>0</ilo>", "<ilo>2</ilo>", "<ilo>6</ilo>", "<ilo>x</ilo>"}) {
        Recorder local;
        EXPECT_FALSE(
            OpenQuestionFile(Xml(std::string("<pyt>") + count + "<odp>1</odp></pyt>"), loaded, local.Reports(), random))
            << count;
        EXPECT_THAT(local.JournalMessages(), ElementsAre(kDamaged40)) << count;
        EXPECT_THAT(local.BoxTexts(), ElementsAre(kDamagedBox)) << count;
    }
}

TEST_F(QuestionLoader, MissingOrEmptyKeyIsDamaged) {
    QuestionDocument noKey = Sample();
    noKey.Key.clear();
    ExpectDamaged(File({{"Sezz0.xml", WriteQuestion40(noKey)}}), kDamaged40);
    Recorder local;
    EXPECT_FALSE(OpenQuestionFile(Xml("<pyt><ilo>3</ilo><odp>  </odp></pyt>"), loaded, local.Reports(), random));
    EXPECT_THAT(local.JournalMessages(), ElementsAre(kDamaged40));
}

TEST_F(QuestionLoader, ZeroByteFileIsNotLoadedAndStaysEmpty) {
    const auto path = dir / "empty.skq";
    WriteFileBytes(path, {});
    ExpectNotLoaded(path);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(QuestionLoader, FileWithoutADocumentIsNotLoaded) { ExpectNotLoaded(dir / "missing.skq"); }

TEST_F(QuestionLoader, ArchiveWithNeitherDocumentIsNotLoaded) {
    ExpectNotLoaded(File({{"other.xml", ToBytes("<pyt/>")}}));
}

TEST_F(QuestionLoader, FileWithBothDocumentsIsReadInTheOldLayout) {
    QuestionDocument old = Sample();
    old.QuestionText = "Old layout";
    ASSERT_TRUE(
        OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(Sample())}, {"Sezz0.txp", WriteQuestion35(old, random)}}),
                         loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Question.QuestionText, "Old layout");
}

TEST_F(QuestionLoader, OldLayoutLoadsFourAnswersAtMost) {
    loaded.Question.Date = "earlier";
    ASSERT_TRUE(
        OpenQuestionFile(File({{"Sezz0.txp", WriteQuestion35(Sample(), random)}}), loaded, record.Reports(), random));
    ExpectSample(loaded.Question);
    EXPECT_EQ(loaded.Question.Answer(5).Text, ""); // not read from the old layout
    EXPECT_EQ(loaded.Question.Date, "earlier") << "neither the reset nor the old layout touches the date";
}

TEST_F(QuestionLoader, OldLayoutWithTwelveLinesIsDamaged) {
    const TextLines lines = SplitLines(WriteQuestion35(Sample(), random));
    Bytes twelve;
    for (std::size_t i = 0; i < 12; ++i) {
        twelve.insert(twelve.end(), lines[i].begin(), lines[i].end());
        twelve.insert(twelve.end(), {'\r', '\n'});
    }
    ExpectDamaged(File({{"Sezz0.txp", twelve}}), kDamaged35);
}

TEST_F(QuestionLoader, OldLayoutWithAnEmptyLineOrAWrongNumberIsDamaged) {
    TextLines lines = SplitLines(WriteQuestion35(Sample(), random));
    lines[7].clear();
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\n";
    ExpectDamaged(File({{"Sezz0.txp", ToBytes(joined)}}), kDamaged35);

    QuestionDocument wrongType = Sample();
    wrongType.QuestionType = 1;
    Bytes bytes = WriteQuestion35(wrongType, random);
    Recorder local;
    TextLines typed = SplitLines(bytes);
    typed[2] = "\xA0zz"
               "x"; // unscrambles to a letter, not a number
    joined.clear();
    for (const std::string& line : typed)
        joined += line + "\r";
    EXPECT_FALSE(OpenQuestionFile(File({{"Sezz0.txp", ToBytes(joined)}}), loaded, local.Reports(), random));
    EXPECT_THAT(local.JournalMessages(), ElementsAre(kDamaged35));
}

TEST_F(QuestionLoader, LoadsThePictureAndTheAttachedText) {
    QuestionDocument question = Sample();
    question.PictureName = "mapa.JPG";
    question.TextName = "opis.txt";
    ASSERT_TRUE(OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(question)},
                                       {"mapa.jpg", MakeTestJpeg(64, 48)},
                                       {"opis.txt", ToBytes("Pierwsza linia\r\nDruga linia")}}),
                                 loaded, record.Reports(), random));
    EXPECT_EQ(std::tuple(loaded.Picture.Width, loaded.Picture.Height, loaded.Picture.Format),
              std::tuple(64, 48, PixelFormat::Bits24));
    EXPECT_THAT(loaded.AttachedText, ElementsAre("Pierwsza linia", "Druga linia"));
}

TEST_F(QuestionLoader, MissingOrUnknownAttachmentsKeepWhatWasShownBefore) {
    loaded.Picture.Width = 7;
    loaded.AttachedText = {"before"};
    QuestionDocument question = Sample();
    question.PictureName = "obraz.png";
    question.TextName = "brak.txt";
    ASSERT_TRUE(OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(question)}, {"obraz.png", ToBytes("png")}}),
                                 loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Picture.Width, 7);
    EXPECT_THAT(loaded.AttachedText, ElementsAre("before"));
    question.PictureName = "brak.gif";
    ASSERT_TRUE(OpenQuestionFile(File({{"Sezz0.xml", WriteQuestion40(question)}}), loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Picture.Width, 7);
}

TEST_F(QuestionLoader, BrokenPictureMakesTheQuestionDamaged) {
    QuestionDocument question = Sample();
    question.PictureName = "zly.jpg";
    ExpectDamaged(File({{"Sezz0.xml", WriteQuestion40(question)}, {"zly.jpg", ToBytes("\xFF\xD8 broken")}}),
                  kDamaged40);
}

TEST_F(QuestionLoader, EntriesOverTheirCapsFailLikeDamagedFiles) {
    const auto document = File({{"Sezz0.xml", WriteQuestion40(Sample())}});
    ClaimEntrySize(document, "Sezz0.xml", EntryCap::kQuestionDocument + 1);
    ExpectNotLoaded(document);

    QuestionDocument question = Sample();
    question.PictureName = "mapa.jpg";
    question.TextName = "opis.txt";
    const std::vector<PakEntry> entries = {
        {"Sezz0.xml", WriteQuestion40(question)}, {"mapa.jpg", MakeTestJpeg(8, 8)}, {"opis.txt", ToBytes("tekst")}};
    for (const auto& [entry, cap] :
         {std::pair("mapa.jpg", EntryCap::kPicture), {"opis.txt", EntryCap::kAttachedText}}) {
        Recorder local;
        const auto path = File(entries);
        ClaimEntrySize(path, entry, cap + 1);
        EXPECT_FALSE(OpenQuestionFile(path, loaded, local.Reports(), random)) << entry;
        EXPECT_THAT(local.BoxTexts(), ElementsAre(kDamagedBox)) << entry;
    }
}

TEST_F(QuestionLoader, DocumentThatStopsParsingKeepsWhatWasRead) {
    ASSERT_TRUE(OpenQuestionFile(Xml("<pyt><ilo>3</ilo><odp>100</odp><tr>Pytanie</tr><x a='1'/><kom>lost</kom>"),
                                 loaded, record.Reports(), random));
    EXPECT_EQ(loaded.Question.QuestionText, "Pytanie");
    EXPECT_EQ(loaded.Question.Hint, "");
}
