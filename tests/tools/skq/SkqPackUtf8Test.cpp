#include "core/base/CodePage.h"
#include "core/session/QuestionLoader.h"
#include "core/storage/PackArchive.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/XmlDocument.h"
#include "support/Recorder.h"
#include "support/TempDir.h"
#include "tools/skq/SkqCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPlainDeclaration = "<?xml version=\"1.0\"?>";
constexpr std::string_view kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// A question document as a UTF-8 editor saves it.
std::string Utf8Document(std::string_view text, std::string_view declaration = kPlainDeclaration) {
    return std::string(declaration) + "\n<pyt>\n  <cd></cd>\n  <typ>0</typ>\n  <ilo>3</ilo>\n  <tr>" +
           std::string(text) +
           "</tr>\n  <od1>tak</od1>\n  <od2>nie</od2>\n  <od3>może</od3>\n  <odp>100</odp>\n  <plr>opis.txt</plr>\n"
           "  <kom>Podpowiedź</kom>\n</pyt>\n";
}

// The fields of Utf8Document as the program holds them.
QuestionDocument Fields(std::string_view text) {
    QuestionDocument question;
    question.AnswerCount = 3;
    question.QuestionText = Utf8ToAnsi(text);
    question.Answers = {"tak", "nie", Utf8ToAnsi("może"), "", ""};
    question.Key = "100";
    question.TextName = "opis.txt";
    question.Hint = Utf8ToAnsi("Podpowiedź");
    return question;
}

class SkqPackUtf8 : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir_ / "src");
        WriteText(Utf8ToAnsi("Gady\r\nmają łuski"));
    }

    void WriteDocument(ByteView document) { WriteFileBytes(dir_ / "src" / "Sezz0.xml", document); }
    void WriteDocument(std::string_view document) { WriteDocument(ToBytes(document)); }
    void WriteText(std::string_view text) { WriteFileText(dir_ / "src" / "opis.txt", text); }

    int Pack(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"pack", (dir_ / "src").string(), Out().string()};
        args.insert(args.end(), options.begin(), options.end());
        std::istringstream in;
        std::ostringstream out, err;
        const int status = RunSkq(args, in, out, err);
        err_ = err.str();
        return status;
    }

    fs::path Out() const { return dir_ / "out.skq"; }
    Bytes Stored(std::string_view name) const {
        PackArchive pak;
        EXPECT_TRUE(pak.Open(Out()));
        return pak.Extract(name, EntryCap::kLargest).value_or(Bytes{});
    }
    bool Load() {
        Recorder quiet;
        return OpenQuestionFile(Out(), loaded, quiet.Reports(), random);
    }

    TempDir dir_;
    LoadedQuestion loaded;
    Random random;
    std::string err_;
};

} // namespace

TEST_F(SkqPackUtf8, PolishDocumentIsStoredAsWindows1250AndLoads) {
    for (const std::string_view declaration : {kPlainDeclaration, kUtf8Declaration}) {
        SCOPED_TRACE(declaration);
        WriteDocument(Utf8Document("Zażółć gęślą jaźń €", declaration));
        ASSERT_EQ(Pack({"--force"}), 0) << err_;
        EXPECT_EQ(Stored("Sezz0.xml"), WriteQuestion40(Fields("Zażółć gęślą jaźń €")));
        ASSERT_TRUE(Load());
        EXPECT_EQ(loaded.Question.QuestionText, Utf8ToAnsi("Zażółć gęślą jaźń €"));
        EXPECT_EQ(loaded.Question.Hint, Utf8ToAnsi("Podpowiedź"));
        EXPECT_EQ(err_, "");
    }
}

TEST_F(SkqPackUtf8, ByteOrderMarkIsReadAndTheOptionsStillApply) {
    WriteDocument("\xEF\xBB\xBF" + Utf8Document("Pszczoła"));
    ASSERT_EQ(Pack({"--encoded"}), 0) << err_;
    EXPECT_EQ(Stored("Sezz0.xml"), WriteQuestion40(Fields("Pszczoła"), {.Encoded = true}));
    ASSERT_TRUE(Load());
    EXPECT_EQ(loaded.Question.QuestionText, Utf8ToAnsi("Pszczoła"));
}

TEST_F(SkqPackUtf8, CharacterOutsideTheCodePageIsKeptInUtf16) {
    WriteDocument(Utf8Document("Siła → przyspieszenie"));
    ASSERT_EQ(Pack(), 0) << err_;
    EXPECT_THAT(err_, HasSubstr("<tr> holds U+2192 (→)"));
    const Bytes stored = Stored("Sezz0.xml");
    ASSERT_GE(stored.size(), 2u);
    EXPECT_EQ(stored[0], 0xFF);
    EXPECT_EQ(stored[1], 0xFE);
    XmlDocument xml;
    ASSERT_TRUE(xml.LoadFromStream(stored));
    EXPECT_EQ(FindOrAddChild(xml.FindOrAddNode(u"pyt"), u"tr").Text, u"Siła → przyspieszenie");
    ASSERT_TRUE(Load());
    EXPECT_EQ(loaded.Question.QuestionText, Utf8ToAnsi("Siła ? przyspieszenie")); // as the program shows it
    EXPECT_EQ(loaded.Question.Hint, Utf8ToAnsi("Podpowiedź"));

    EXPECT_EQ(Pack({"--legacy", "--force"}), 1); // the old layout is 8-bit only
    EXPECT_THAT(err_, HasSubstr("U+2192 (→)"));
}

TEST_F(SkqPackUtf8, Windows1250AndAsciiSourcesAreStoredByteForByte) {
    const Bytes document = WriteQuestion40(Fields("Zażółć gęślą jaźń"));
    WriteDocument(document);
    ASSERT_EQ(Pack(), 0) << err_;
    EXPECT_EQ(Stored("Sezz0.xml"), document);
    EXPECT_EQ(Stored("opis.txt"), ToBytes(Utf8ToAnsi("Gady\r\nmają łuski")));

    const std::string ascii = std::string(kUtf8Declaration) + "<pyt><tr>Ala</tr></pyt>"; // the same in either code
    WriteDocument(ascii);
    ASSERT_EQ(Pack({"--force"}), 0) << err_;
    EXPECT_EQ(Stored("Sezz0.xml"), ToBytes(ascii));
}

TEST_F(SkqPackUtf8, Utf8AttachedTextIsConvertedToWindows1250) {
    WriteDocument(WriteQuestion40(Fields("Pytanie")));
    WriteText("\xEF\xBB\xBFGady\r\nmają łuski");
    ASSERT_EQ(Pack(), 0) << err_;
    EXPECT_EQ(Stored("opis.txt"), ToBytes(Utf8ToAnsi("Gady\r\nmają łuski")));
    ASSERT_TRUE(Load());
    EXPECT_THAT(loaded.AttachedText, ElementsAre("Gady", Utf8ToAnsi("mają łuski")));
}

TEST_F(SkqPackUtf8, TextCharacterOutsideTheCodePageIsAnErrorNamingItsLine) {
    WriteDocument(Utf8Document("Pytanie"));
    WriteText("Gady\nmają\nŻółwie i Жаба\n");
    EXPECT_EQ(Pack(), 1);
    EXPECT_THAT(err_, HasSubstr("opis.txt: line 3 holds U+0416 (Ж)"));
    EXPECT_FALSE(fs::exists(Out()));
    // A character that would act on the terminal (here a C1 control introducing a sequence) is named by number only.
    WriteText("Gady\n\u009B31m\n");
    EXPECT_EQ(Pack(), 1);
    EXPECT_THAT(err_, HasSubstr("opis.txt: line 2 holds U+009B,"));
}

TEST_F(SkqPackUtf8, DocumentDeclaredUtf8ButInvalidIsAnErrorNamingTheByte) {
    const std::string document = Utf8Document(Utf8ToAnsi("Zażółć"), kUtf8Declaration); // saved in Windows-1250
    WriteDocument(document);
    EXPECT_EQ(Pack(), 1);
    EXPECT_THAT(err_,
                HasSubstr("Sezz0.xml: byte " + std::to_string(document.find('\xBF')) + " (line 6) is not valid UTF-8"));
    EXPECT_FALSE(fs::exists(Out()));
}
