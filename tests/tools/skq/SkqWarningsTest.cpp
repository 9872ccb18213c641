#include "tools/skq/SkqWarnings.h"

#include "core/base/CodePage.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "support/QuestionSets.h"
#include "support/TempDir.h"
#include "tools/skq/SkqCommands.h"
#include "tools/skq/SkqUtf8Sources.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

class Warnings : public ::testing::Test {
protected:
    std::vector<std::string> Of(const QuestionDocument& question, std::vector<PakEntry> more = {}) {
        more.insert(more.begin(), {"Sezz0.xml", WriteQuestion40(question)});
        return OfEntries(more);
    }
    std::vector<std::string> OfXml(const std::string& xml) { return OfEntries({{"Sezz0.xml", ToBytes(xml)}}); }
    std::vector<std::string> OfEntries(const std::vector<PakEntry>& entries) {
        const std::filesystem::path path = dir / ("q" + std::to_string(++files_) + ".skq");
        WritePakFile(path, entries);
        PackArchive pak;
        PakOpen(path, pak);
        return skq::QuestionWarnings(pak);
    }
    std::vector<std::string> OfList(const std::string& xml, const std::vector<std::string>& lines) {
        const std::filesystem::path path = dir / "Lista.skz";
        WritePakFile(path, {{"Selz0.xml", ToBytes(xml)}});
        PackArchive pak;
        PakOpen(path, pak);
        return skq::SetListWarnings(pak, lines);
    }

    TempDir dir;
    int files_ = 0;
};

QuestionDocument Good() { return MakeQuestion(4, "Stolica Polski to:", "0100"); }

} // namespace

TEST_F(Warnings, SoundQuestionsGetNone) {
    EXPECT_THAT(Of(Good()), IsEmpty());
    QuestionDocument several = MakeQuestion(5, "Liczby pierwsze:", "10100");
    several.QuestionType = 1;
    several.PictureName = "obraz.gif";
    several.TextName = "opis.txt";
    several.Hint = Utf8ToAnsi("Zażółć gęślą jaźń");
    EXPECT_THAT(Of(several, {{"obraz.gif", Bytes(8)}, {"opis.txt", Bytes(8, 'x')}}), IsEmpty());
}

TEST_F(Warnings, KeysThatALearnerCantAnswer) {
    const auto with = [](int type, const std::string& key) {
        QuestionDocument question = Good();
        question.QuestionType = type;
        question.Key = key;
        return question;
    };
    EXPECT_THAT(Of(with(0, "0000")), ElementsAre(HasSubstr("no answer is marked right")));
    EXPECT_THAT(Of(with(0, "0x10")), ElementsAre(HasSubstr("marks other than 0 and 1")));
    EXPECT_THAT(Of(with(0, "010")), ElementsAre(HasSubstr("has 3 marks for 4 answers")));
    EXPECT_THAT(Of(with(0, "00001")),
                ElementsAre(HasSubstr("has 5 marks for 4 answers"), HasSubstr("marks answer 5 right"),
                            HasSubstr("no answer is marked right")));
    EXPECT_THAT(Of(with(0, "0110")), ElementsAre(HasSubstr("one answer at a time (typ 0), but the key marks 2")));
    EXPECT_THAT(Of(with(1, "0110")), IsEmpty());
}

TEST_F(Warnings, AttachmentsMissingOrOfAKindNotShown) {
    QuestionDocument question = Good();
    question.PictureName = "obraz.png";
    question.TextName = "opis.txt";
    EXPECT_THAT(Of(question), ElementsAre(AllOf(HasSubstr("\"obraz.png\""), HasSubstr("not in the file")),
                                          AllOf(HasSubstr("\"opis.txt\""), HasSubstr("not in the file"))));
    EXPECT_THAT(Of(question, {{"obraz.png", Bytes(8)}, {"opis.txt", Bytes(8)}}),
                ElementsAre(HasSubstr("of a kind the program doesn't show")));
}

TEST_F(Warnings, EmptyTextsAndUtf8InAnEightBitDocument) {
    QuestionDocument question = Good();
    question.QuestionText.clear();
    question.Answers[2].clear();
    question.Answers[4].clear(); // beyond the answer count: not shown, no warning
    EXPECT_THAT(Of(question),
                ElementsAre(HasSubstr("question text (tr) is empty"), HasSubstr("answer 3 (od3) is empty")));
    question = Good();
    question.Hint = "Le\xC5\xBC\x79 nad Wis\xC5\x82\xC4\x85"; // UTF-8 bytes taken as Windows-1250
    EXPECT_THAT(Of(question), ElementsAre(AllOf(HasSubstr("the hint (kom)"), HasSubstr("looks like UTF-8"))));
}

// A document in UTF-16, plain or encoded, may hold what the program shows as "?".
TEST_F(Warnings, CharactersTheCodePageLacksAreNamedWithTheirField) {
    const std::string xml =
        "<pyt><typ>0</typ><ilo>3</ilo><tr>Ile to cm²?</tr><od1>a</od1><od2>→</od2><od3>ñ</od3><odp>100</odp></pyt>";
    for (const bool encoded : {false, true}) {
        skq::StoredForm form;
        form.Form40.Encoded = encoded;
        std::ostringstream packing;
        EXPECT_THAT(OfEntries({{"Sezz0.xml", skq::PackUtf8Question(ToBytes(xml), "q", form, packing).Stored}}),
                    ElementsAre(HasSubstr("the question text (tr) holds U+00B2 (²), which Windows-1250 lacks"),
                                HasSubstr("answer 2 (od2) holds U+2192 (→)"), HasSubstr("answer 3 (od3) holds U+00F1")))
            << encoded;
    }
}

TEST_F(Warnings, TextsLongerThanTheirLabels) {
    QuestionDocument question = Good();
    question.Answers[1] = "Warszawa, stolica i najwieksze miasto Polski, lezy nad Wisla w centrum kraju na Mazowszu; "
                          "tu obraduja Sejm i Senat, a Zamek Krolewski stoi nad Starym Miastem, "
                          "skad widac Praske brzegi rzeki i mosty laczace obie czesci miasta.";
    question.Hint = "Krotka podpowiedz.";
    EXPECT_THAT(Of(question), ElementsAre(HasSubstr("answer 2 (od2) is longer than the screen shows")));
}

TEST(Utf8Look, OnlyValidUtf8BeyondAsciiLooksLikeIt) {
    EXPECT_TRUE(skq::LooksLikeUtf8("Wis\xC5\x82\x61"));
    EXPECT_TRUE(skq::LooksLikeUtf8("\xE2\x86\x92"));
    EXPECT_FALSE(skq::LooksLikeUtf8("plain ASCII"));
    EXPECT_FALSE(skq::LooksLikeUtf8(Utf8ToAnsi("Zażółć gęślą jaźń"))); // Windows-1250 Polish
    EXPECT_FALSE(skq::LooksLikeUtf8("\xC5"));                          // cut short
    EXPECT_FALSE(skq::LooksLikeUtf8("\xC0\x80"));                      // overlong
}

TEST_F(Warnings, UnknownElementsInQuestionAndListDocuments) {
    EXPECT_THAT(OfXml("<pyt><ilo>3</ilo><odp>100</odp><tr>P</tr><OD1>a</OD1><od2>b</od2><odd3>c</odd3></pyt>"),
                ElementsAre(HasSubstr("answer 3 (od3) is empty"), HasSubstr("unknown element <odd3> in pyt")));
    EXPECT_THAT(OfList("<lsz><ilw>1</ilw><DX0>x</DX0><nazwa>y</nazwa></lsz>", {}),
                ElementsAre(HasSubstr("unknown element <nazwa> in lsz")));
}

TEST_F(Warnings, CategoriesWithoutSets) {
    const std::string xml = "<lsz><ilw>0</ilw></lsz>";
    EXPECT_THAT(OfList(xml, {"1*0*2*0*1*0*Fizyka**", "2*1*1*1*0*0*Ruch**", "3*2*0*2*0*0*Siły*\\Sily*"}), IsEmpty());
    EXPECT_THAT(OfList(xml, {"1*0*1*0*1*0*Fizyka**", "2*1*0*1*0*0*Ruch**", "3*0*0*0*1*0*Chemia*\\Chemia*"}),
                ElementsAre(HasSubstr("\"Fizyka\" holds no sets"), HasSubstr("\"Ruch\" holds no sets")));
    // A parent loop in a damaged list ends.
    EXPECT_THAT(OfList(xml, {"1*0*0*2*1*0*A**", "2*0*0*1*1*0*B**", "3*1*0*1*0*0*S*\\S*"}), IsEmpty());
}

TEST(SkqCheckWarnings, WarningsAreListedAndFailOnlyWhenStrict) {
    TempDir dir;
    WritePakFile(dir / "q.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "Pytanie", "000"))}});
    for (const bool strict : {false, true}) {
        std::vector<std::string> args = {"check", (dir / "q.skq").string()};
        if (strict)
            args.push_back("--strict");
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(RunSkq(args, in, out, err), strict ? 1 : 0);
        EXPECT_THAT(out.str(), HasSubstr((dir / "q.skq").string() + ": warning: no answer is marked right"));
        EXPECT_THAT(out.str(), HasSubstr("1 checked: 1 ok, 0 damaged, 0 missing; 1 warning\n"));
    }
}
