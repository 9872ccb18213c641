#include "core/storage/QuestionWriter.h"

#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/PackArchive.h"
#include "core/storage/QuestionDocument.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

QuestionDocument Sample() {
    QuestionDocument question;
    question.QuestionType = 1;
    question.AnswerCount = 5;
    question.QuestionText = Utf8ToAnsi("Które liczby są pierwsze? <a & b>");
    question.Answers = {"2", "4", "5", "9", Utf8ToAnsi("żadna")};
    question.Key = "10100";
    question.TextName = "tekst.txt";
    question.PictureName = "obraz.gif";
    question.Hint = Utf8ToAnsi("Dzielą się tylko przez 1 i przez siebie.");
    question.Date = "07.12.2026";
    return question;
}

std::string Field(XmlDocument& document, std::u16string_view name) {
    return WideToAnsi(FindOrAddChild(document.FindOrAddNode(u"pyt"), name).Text);
}

} // namespace

TEST(QuestionWriter, PlainDocumentHoldsEveryField) {
    for (bool wide : {false, true}) {
        const Bytes bytes = WriteQuestion40(Sample(), {.Encoded = false, .WideText = wide});
        EXPECT_EQ(bytes[0] == 0xFF && bytes[1] == 0xFE, wide);
        XmlDocument document;
        ASSERT_TRUE(document.LoadFromStream(bytes));
        EXPECT_EQ(document.WideText, wide);
        EXPECT_EQ(Field(document, u"cd"), "");
        EXPECT_EQ(Field(document, u"typ"), "1");
        EXPECT_EQ(Field(document, u"ilo"), "5");
        EXPECT_EQ(Field(document, u"tr"), Sample().QuestionText);
        EXPECT_EQ(Field(document, u"od5"), Sample().Answers[4]);
        EXPECT_EQ(Field(document, u"odp"), "10100");
        EXPECT_EQ(Field(document, u"plr"), "tekst.txt");
        EXPECT_EQ(Field(document, u"plimg"), "obraz.gif");
        EXPECT_EQ(Field(document, u"kom"), Sample().Hint);
        EXPECT_EQ(Field(document, u"dtu"), "07.12.2026");
    }
}

TEST(QuestionWriter, EncodedDocumentMarksItsEncoding) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(WriteQuestion40(Sample(), {.Encoded = true})));
    EXPECT_EQ(Field(document, u"cd"), "tr");
    EXPECT_EQ(WideToAnsi(DecodeBase64Utf16(AnsiToWide(Field(document, u"ilo")))), "5");
}

// What the writers store, the program's reader gives back, in every form; only
// the encoded form keeps blanks around a text.
TEST(QuestionWriter, EveryStoredFormReadsBackAsWritten) {
    Random random;
    QuestionDocument question = Sample();
    for (bool encoded : {false, true}) {
        question.QuestionText = encoded ? "  padded  " : Sample().QuestionText;
        for (bool wide : {false, true}) {
            XmlDocument document;
            ASSERT_TRUE(document.LoadFromStream(WriteQuestion40(question, {.Encoded = encoded, .WideText = wide})));
            EXPECT_EQ(ReadQuestionXml(document), question) << encoded << wide;
        }
    }
    question.Answers[4].clear(); // the old layout holds four answers
    EXPECT_EQ(ReadQuestionLines(SplitLines(WriteQuestion35(question, random))), question);
}

TEST(QuestionWriter, OldLayoutIsThirteenScrambledLines) {
    Random random(4);
    const TextLines lines = SplitLines(WriteQuestion35(Sample(), random));
    ASSERT_EQ(lines.size(), 13u);
    std::vector<std::string> fields;
    for (std::size_t i = 2; i < lines.size(); ++i)
        fields.push_back(UnscrambleText(lines[i]));
    const QuestionDocument sample = Sample();
    EXPECT_THAT(fields, ElementsAre("1", "5", sample.QuestionText, "2", "4", "5", "9", "10100", "tekst.txt",
                                    "obraz.gif", sample.Hint));
}

TEST(QuestionWriter, OldLayoutRefusesLineBreaksInFields) {
    Random random;
    QuestionDocument question = Sample();
    question.Hint = "two\r\nlines";
    EXPECT_THROW(WriteQuestion35(question, random), StorageError);
}
