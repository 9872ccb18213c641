#include "tools/skq/SkqCommands.h"

#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PackArchive.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/XmlDocument.h"
#include "support/PictureFiles.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"
#include "support/Watchdog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

namespace {

struct RunResult {
    int Status = -1;
    std::string Out;
    std::string Err;

    Json Parsed() const { return Json::parse(Out); }
};

RunResult Skq(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    RunResult result;
    result.Status = RunSkq(args, in, out, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

std::vector<std::string> Keys(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items())
        keys.push_back(item.key());
    return keys;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

QuestionDocument SampleQuestion() {
    QuestionDocument question;
    question.QuestionType = 1;
    question.AnswerCount = 4;
    question.QuestionText = Utf8ToAnsi("Które zwierzę jest gadem?");
    question.Answers = {Utf8ToAnsi("żółw"), "kot", Utf8ToAnsi("jaszczurka"), Utf8ToAnsi("wróbel"), ""};
    question.Key = "1010";
    question.TextName = "opis.txt";
    question.PictureName = "obraz.jpg";
    question.Hint = Utf8ToAnsi("Ma łuski.");
    question.Date = "07.12.2026";
    return question;
}

std::vector<PakEntry> Attachments() {
    return {{"obraz.jpg", MakeTestJpeg(8, 6)}, {"opis.txt", ToBytes(Utf8ToAnsi("Gady\r\nmają łuski"))}};
}

void WriteQuestionFile(const fs::path& path, const Bytes& document, std::string name = "Sezz0.xml",
                       std::vector<PakEntry> extra = Attachments()) {
    extra.insert(extra.begin(), PakEntry{std::move(name), document});
    WritePakFile(path, extra);
}

void WriteGoodQuestion(const fs::path& path) { WriteQuestionFile(path, WriteQuestion40(SampleQuestion())); }

void WriteSetList(const fs::path& path, const std::vector<std::string>& entries) {
    std::string xml = "<lsz><cd></cd><ilw>" + std::to_string(entries.size()) + "</ilw><name>Lista</name>";
    for (std::size_t i = 0; i < entries.size(); ++i)
        xml += "<dx" + std::to_string(i) + ">" + entries[i] + "</dx" + std::to_string(i) + ">";
    WritePakFile(path, {{"Selz0.xml", ToBytes(Utf8ToAnsi(xml + "</lsz>"))}});
}

const char* const kDamagedBox = "Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony.";

} // namespace

// ---- show

TEST(SkqShow, PrintsTheLoadedQuestionWithKeysInDocumentedOrder) {
    TempDir dir;
    WriteGoodQuestion(dir / "q.skq");
    const RunResult result = Skq({"show", (dir / "q.skq").string(), "--seed", "3"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    const Json json = result.Parsed();
    EXPECT_THAT(Keys(json), ElementsAre("ok", "question", "journal", "messages"));
    const Json& question = json["question"];
    EXPECT_THAT(Keys(question),
                ElementsAre("layout", "type", "count", "text", "answers", "key", "correct", "positions", "order",
                            "text_name", "picture_name", "hint", "date", "picture", "attached_text"));
    EXPECT_TRUE(json["ok"]);
    EXPECT_EQ(question["layout"], "4.0");
    EXPECT_EQ(question["type"], 1);
    EXPECT_EQ(question["text"], "Które zwierzę jest gadem?");
    EXPECT_EQ(question["answers"], Json({"żółw", "kot", "jaszczurka", "wróbel", ""}));
    EXPECT_EQ(question["correct"], Json({true, false, true, false, false}));
    EXPECT_EQ(question["hint"], "Ma łuski.");
    EXPECT_EQ(question["date"], "07.12.2026");
    EXPECT_EQ(question["picture"], Json({{"width", 8}, {"height", 6}, {"bits", 24}}));
    EXPECT_EQ(question["attached_text"], Json({"Gady", "mają łuski"}));
    // Each stored answer sits at the display position its digit of the drawn row names.
    const std::string order = question["order"];
    ASSERT_EQ(order.size(), 4u);
    ASSERT_EQ(question["positions"].size(), 4u);
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(question["positions"][k], order[k] - '0');
    EXPECT_TRUE(json["journal"].empty());
    EXPECT_TRUE(json["messages"].empty());
}

TEST(SkqShow, SameSeedGivesSameOrder) {
    TempDir dir;
    WriteGoodQuestion(dir / "q.skq");
    const Json first = Skq({"show", (dir / "q.skq").string(), "--seed", "42"}).Parsed();
    const Json second = Skq({"show", "--seed", "42", (dir / "q.skq").string()}).Parsed();
    EXPECT_EQ(first, second);
}

TEST(SkqShow, ZeroByteFileIsReportedAndStaysEmpty) {
    TempDir dir;
    WriteFileBytes(dir / "empty.skq", {});
    const RunResult result = Skq({"show", (dir / "empty.skq").string()});
    EXPECT_EQ(result.Status, 1);
    const Json json = result.Parsed();
    EXPECT_FALSE(json["ok"]);
    EXPECT_TRUE(json["question"].is_null());
    EXPECT_EQ(json["journal"], Json({"Odczyt. Błąd wczytywania pliku Sezz0."}));
    EXPECT_TRUE(json["messages"].empty());
    EXPECT_EQ(fs::file_size(dir / "empty.skq"), 0u);
}

TEST(SkqShow, EmptyKeyIsDamagedWithJournalAndMessageBox) {
    TempDir dir;
    QuestionDocument question = SampleQuestion();
    question.Key.clear();
    WriteQuestionFile(dir / "q.skq", WriteQuestion40(question));
    const RunResult result = Skq({"show", (dir / "q.skq").string()});
    EXPECT_EQ(result.Status, 1);
    const Json json = result.Parsed();
    EXPECT_TRUE(json["question"].is_null());
    EXPECT_EQ(json["journal"], Json({"Odczyt. Ver 40. Błąd dekodowania pytaniu solo."}));
    EXPECT_EQ(json["messages"], Json({kDamagedBox}));
    EXPECT_THAT(result.Out, HasSubstr(R"(pytania.\rPrawdopodobnie)")); // the line break stays an escape
}

TEST(SkqShow, AttachmentsAreNullWhenTheLoadPutNothingThere) {
    TempDir dir;
    WriteQuestionFile(dir / "q.skq", WriteQuestion40(SampleQuestion()), "Sezz0.xml", {});
    const Json question = Skq({"show", (dir / "q.skq").string()}).Parsed()["question"];
    EXPECT_TRUE(question["picture"].is_null());
    EXPECT_TRUE(question["attached_text"].is_null());

    QuestionDocument gif = SampleQuestion();
    gif.PictureName = "obraz.gif";
    WriteQuestionFile(dir / "g.skq", WriteQuestion40(gif), "Sezz0.xml",
                      {{"obraz.gif", MakeTestGif(5, 3)}, {"opis.txt", {}}});
    const Json withGif = Skq({"show", (dir / "g.skq").string()}).Parsed()["question"];
    EXPECT_EQ(withGif["picture"], Json({{"width", 5}, {"height", 3}, {"bits", 8}}));
    EXPECT_EQ(withGif["attached_text"], Json::array()); // an empty text was loaded
}

TEST(SkqShow, OldLayoutWinsOverTheNewOne) {
    Random random;
    TempDir dir;
    WriteQuestionFile(dir / "q.skq", WriteQuestion35(SampleQuestion(), random), "Sezz0.txp",
                      {{"Sezz0.xml", WriteQuestion40(QuestionDocument{})}});
    const Json json = Skq({"show", (dir / "q.skq").string()}).Parsed();
    EXPECT_EQ(json["question"]["layout"], "3.5");
    EXPECT_EQ(json["question"]["text"], "Które zwierzę jest gadem?");
}

TEST(SkqShow, UsageErrors) {
    EXPECT_EQ(Skq({"show"}).Status, 2);
    EXPECT_EQ(Skq({"show", "a.skq", "b.skq"}).Status, 2);
    EXPECT_EQ(Skq({"show", "a.skq", "--seed"}).Status, 2);
    EXPECT_EQ(Skq({"show", "a.skq", "--seed", "-1"}).Status, 2);
    EXPECT_EQ(Skq({"show", "a.skq", "--seed", "12x"}).Status, 2);
}

// ---- ls

TEST(SkqLs, ListsNamesOffsetsAndSizes) {
    TempDir dir;
    WritePakFile(dir / "a.pak", {{"Sezz0.xml", ToBytes("abc")}, {Utf8ToAnsi("żółw.txt"), ToBytes("12345")}});
    const RunResult result = Skq({"ls", (dir / "a.pak").string()});
    EXPECT_EQ(result.Status, 0);
    const Json json = result.Parsed();
    EXPECT_THAT(Keys(json), ElementsAre("ok", "magic", "entries"));
    EXPECT_EQ(json["entries"], Json::parse(R"([{"name": "Sezz0.xml", "offset": 12, "size": 3},
                                                {"name": "żółw.txt", "offset": 15, "size": 5}])"));
}

TEST(SkqLs, FilesTheProgramCantReadFail) {
    TempDir dir;
    WriteFileText(dir / "pack.bin", std::string("pack") + std::string(8, '\0'));
    const Json badMagic = Skq({"ls", (dir / "pack.bin").string()}).Parsed();
    EXPECT_EQ(badMagic, Json::parse(R"({"ok": false, "magic": false, "entries": []})"));

    Bytes outside = BuildPak({{"a", ToBytes("x")}});
    outside[4] = 200; // directory beyond the end
    WriteFileBytes(dir / "outside.pak", outside);
    const RunResult result = Skq({"ls", (dir / "outside.pak").string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Parsed(), Json::parse(R"({"ok": false, "magic": true, "entries": []})"));

    EXPECT_EQ(Skq({"ls", (dir / "missing.pak").string()}).Status, 1);
    WriteFileBytes(dir / "empty.pak", {});
    EXPECT_EQ(Skq({"ls", (dir / "empty.pak").string()}).Status, 0);
}

// ---- list

TEST(SkqList, DeliversHeaderAndLines) {
    TempDir dir;
    WriteSetList(dir / "Lista.skz", {"0*0*1*0*1*0*Fizyka**", "1*1*0*0*0*0*Siły*\\Sily*"});
    const RunResult result = Skq({"list", (dir / "Lista.skz").string()});
    EXPECT_EQ(result.Status, 0);
    const Json json = result.Parsed();
    EXPECT_THAT(Keys(json), ElementsAre("ok", "header", "lines", "journal", "messages"));
    EXPECT_EQ(json["header"], Json::parse(R"({"name": "Lista", "dtu": "", "uwg": ""})"));
    EXPECT_EQ(json["lines"], Json({"0*0*1*0*1*0*Fizyka**", "1*1*0*0*0*0*Siły*\\Sily*"}));
}

TEST(SkqList, MissingAndOldListsAreReported) {
    TempDir dir;
    const Json missing = Skq({"list", (dir / "none.skz").string()}).Parsed();
    EXPECT_FALSE(missing["ok"]);
    EXPECT_EQ(missing["journal"], Json({"Odczyt listy zestawów. Ver 40. Błąd odczytu."}));
    EXPECT_EQ(missing["messages"],
              Json({"Problem z otwarciem pliku listy zestawów.\rBrak pliku lub plik jest uszkodzony."}));

    WritePakFile(dir / "old.skz", {{"Selz0.txp", ToBytes("x")}, {"Selz0.xml", ToBytes("<lsz/>")}});
    const RunResult old = Skq({"list", (dir / "old.skz").string()});
    EXPECT_EQ(old.Status, 1);
    EXPECT_EQ(old.Parsed()["messages"].size(), 2u);
    EXPECT_THAT(old.Parsed()["messages"][0].get<std::string>(), HasSubstr("w werjsi 3.5"));
}

// ---- check

TEST(SkqCheck, FolderGetsOneLinePerFileAndASummary) {
    TempDir dir;
    fs::create_directory(dir / "set");
    WriteGoodQuestion(dir / "set" / "b.skq");
    WriteFileBytes(dir / "set" / "A.SKQ", {});
    WriteFileText(dir / "set" / "notes.txt", "not a question");
    const RunResult result = Skq({"check", (dir / "set").string(), (dir / "gone.skq").string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_THAT(Lines(result.Out),
                ElementsAre((dir / "set" / "A.SKQ").string() + ": damaged: Odczyt. Błąd wczytywania pliku Sezz0.",
                            (dir / "set" / "b.skq").string() + ": ok", (dir / "gone.skq").string() + ": missing",
                            "3 checked: 1 ok, 1 damaged, 1 missing"));
}

TEST(SkqCheck, ListLeadsToItsSetFolders) {
    TempDir dir;
    fs::create_directories(dir / "Zestawy" / "Sily");
    fs::create_directories(dir / "Zestawy" / "Puste");
    WriteGoodQuestion(dir / "Zestawy" / "Sily" / "p1.skq");
    WriteSetList(dir / "Zestawy" / "Lista.skz", {"0*0*3*0*1*0*Fizyka**", "1*1*0*0*0*0*Siły*\\SILY*",
                                                 "2*1*0*0*0*0*Puste*\\Puste*", "3*1*0*0*0*0*Brak*\\Brak*"});
    const RunResult result = Skq({"check", (dir / "Zestawy" / "Lista.skz").string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_THAT(
        Lines(result.Out),
        ElementsAre((dir / "Zestawy" / "Lista.skz").string() + ": ok",
                    (dir / "Zestawy" / "Sily" / "p1.skq").string() + ": ok",
                    (dir / "Zestawy" / "Puste").string() + ": damaged: Wskazany zestaw nie zawiera plików pytań.",
                    (dir / "Zestawy" / "Brak").string() + ": missing", "4 checked: 2 ok, 1 damaged, 1 missing"));
}

TEST(SkqCheck, AllGoodExitsZeroAndEachFileCountsOnce) {
    TempDir dir;
    WriteGoodQuestion(dir / "q.skq");
    const RunResult result = Skq({"check", (dir / "q.skq").string(), dir.Path().string(), (dir / "q.skq").string()});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(Lines(result.Out).back(), "1 checked: 1 ok, 0 damaged, 0 missing");
}

TEST(SkqCheck, EmptyFolderBrokenEntryLineAndNoArguments) {
    TempDir dir;
    fs::create_directory(dir / "empty");
    const RunResult empty = Skq({"check", (dir / "empty").string()});
    EXPECT_EQ(empty.Status, 1);
    EXPECT_THAT(empty.Out, HasSubstr("empty: damaged: Wskazany folder nie zawiera plików pytań.\n"));

    WriteSetList(dir / "bad.skz", {"0*x*0*0*1*0*Zła**"});
    EXPECT_THAT(Skq({"check", (dir / "bad.skz").string()}).Out, HasSubstr("bad.skz: damaged: entry 0 "));
    EXPECT_EQ(Skq({"check"}).Status, 2);
}

// ---- pack and unpack

class SkqPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir_ / "src");
        WriteFileBytes(dir_ / "src" / "Sezz0.xml", WriteQuestion40(SampleQuestion()));
        for (const PakEntry& entry : Attachments())
            WriteFileBytes(dir_ / "src" / entry.Name, entry.Data);
    }

    fs::path At(std::string_view name) const { return dir_ / name; }
    Json Show(const fs::path& file) const { return Skq({"show", file.string(), "--seed", "9"}).Parsed(); }

    TempDir dir_;
};

TEST_F(SkqPackTest, EveryFormShowsTheSameQuestion) {
    ASSERT_EQ(Skq({"pack", At("src").string(), At("plain.skq").string()}).Status, 0);
    const Json plain = Show(At("plain.skq"));
    ASSERT_TRUE(plain["ok"]);
    const std::vector<std::vector<std::string>> forms = {
        {"--encoded"}, {"--utf16"}, {"--encoded", "--utf16"}, {"--legacy"}};
    for (const std::vector<std::string>& options : forms) {
        SCOPED_TRACE(options.front() + std::to_string(options.size()));
        const fs::path packed = At("packed.skq"), unpacked = At("unpacked");
        std::vector<std::string> args = {"pack", At("src").string(), packed.string(), "--force"};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_EQ(Skq(args).Status, 0);
        Json shown = Show(packed);
        if (options.front() == "--legacy") {
            EXPECT_EQ(shown["question"]["layout"], "3.5");
            EXPECT_EQ(shown["question"]["date"], ""); // the old layout's date line is never read
            shown["question"]["layout"] = "4.0";
            shown["question"]["date"] = plain["question"]["date"];
        }
        EXPECT_EQ(shown, plain);

        // Decoded, the document is plain 8-bit XML again, and packs to the same question.
        ASSERT_EQ(Skq({"unpack", packed.string(), unpacked.string(), "--decode", "--force"}).Status, 0);
        EXPECT_FALSE(fs::exists(unpacked / "Sezz0.txp"));
        const Bytes decoded = ReadFileBytes(unpacked / "Sezz0.xml");
        EXPECT_EQ(decoded, WriteQuestion40(SampleQuestion()));
        ASSERT_EQ(Skq({"pack", unpacked.string(), At("again.skq").string(), "--force"}).Status, 0);
        EXPECT_EQ(Show(At("again.skq")), plain);
    }
}

TEST_F(SkqPackTest, StoredFormsAreWhatTheOptionsSay) {
    ASSERT_EQ(Skq({"pack", At("src").string(), At("e.skq").string(), "--encoded", "--utf16"}).Status, 0);
    PackArchive pak;
    ASSERT_TRUE(pak.Open(At("e.skq")));
    EXPECT_EQ(pak.NameAt(0), "Sezz0.xml");
    const Bytes document = *pak.Extract("Sezz0.xml", EntryCap::kQuestionDocument);
    EXPECT_EQ(document[0], 0xFF);
    EXPECT_EQ(document[1], 0xFE);
    XmlDocument xml;
    xml.LoadFromStream(document);
    EXPECT_EQ(FindOrAddChild(xml.FindOrAddNode(u"pyt"), u"cd").Text, u"tr");

    ASSERT_EQ(Skq({"pack", At("src").string(), At("l.skq").string(), "--legacy"}).Status, 0);
    const Json listed = Skq({"ls", At("l.skq").string()}).Parsed();
    std::vector<std::string> names;
    for (const Json& entry : listed["entries"])
        names.push_back(entry["name"]);
    EXPECT_THAT(names, ElementsAre("Sezz0.txp", "obraz.jpg", "opis.txt"));
}

TEST_F(SkqPackTest, ExistingOutputIsReplacedOnlyWithForce) {
    WriteFileText(At("out.skq"), "keep me");
    const RunResult refused = Skq({"pack", At("src").string(), At("out.skq").string()});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_THAT(refused.Err, HasSubstr("--force"));
    EXPECT_EQ(ReadFileText(At("out.skq")), "keep me");
    EXPECT_EQ(Skq({"pack", At("src").string(), At("out.skq").string(), "--force"}).Status, 0);
    EXPECT_TRUE(Show(At("out.skq"))["ok"]);
    EXPECT_FALSE(fs::exists(At("out.skq.tmp")));
}

TEST_F(SkqPackTest, RefusesWhatItCantStore) {
    EXPECT_EQ(Skq({"pack", At("src").string(), At("x.skq").string(), "--legacy", "--encoded"}).Status, 2);
    EXPECT_EQ(Skq({"pack", At("nowhere").string(), At("x.skq").string()}).Status, 1);
    QuestionDocument five = SampleQuestion();
    five.Answers[4] = "piąta";
    WriteFileBytes(At("src") / "Sezz0.xml", WriteQuestion40(five));
    EXPECT_EQ(Skq({"pack", At("src").string(), At("x.skq").string(), "--legacy"}).Status, 1);
    fs::remove(At("src") / "Sezz0.xml");
    EXPECT_EQ(Skq({"pack", At("src").string(), At("x.skq").string(), "--encoded"}).Status, 1);
    EXPECT_FALSE(fs::exists(At("x.skq")));
}

TEST_F(SkqPackTest, UnpackWritesEntriesAsStored) {
    ASSERT_EQ(Skq({"pack", At("src").string(), At("q.skq").string(), "--encoded"}).Status, 0);
    ASSERT_EQ(Skq({"unpack", At("q.skq").string(), At("out").string()}).Status, 0);
    EXPECT_EQ(ReadFileBytes(At("out") / "obraz.jpg"), Attachments()[0].Data);
    EXPECT_EQ(
        ReadFileBytes(At("out") / "Sezz0.xml"), *[&] {
            PackArchive pak;
            pak.Open(At("q.skq"));
            return pak.Extract("Sezz0.xml", EntryCap::kQuestionDocument);
        }());
    const RunResult again = Skq({"unpack", At("q.skq").string(), At("out").string()});
    EXPECT_EQ(again.Status, 1);
    EXPECT_THAT(again.Err, HasSubstr("--force"));
}

TEST(SkqUnpack, EntryNamesCantLeaveTheFolder) {
    for (const char* name : {"../escape.txt", "sub/file.txt", "..", "a\\b"}) {
        TempDir dir;
        WritePakFile(dir / "evil.pak", {{"fine.txt", ToBytes("ok")}, {name, ToBytes("bad")}});
        const RunResult result = Skq({"unpack", (dir / "evil.pak").string(), (dir / "out").string()});
        EXPECT_EQ(result.Status, 1) << name;
        EXPECT_FALSE(fs::exists(dir / "out" / "fine.txt")) << name;
        EXPECT_FALSE(fs::exists(dir / "escape.txt"));
    }
}

TEST(SkqUnpack, OnlyTheFirstOfEqualNamesAndNoArchiveNoOutput) {
    TempDir dir;
    WritePakFile(dir / "dup.pak", {{"a.txt", ToBytes("first")}, {"A.TXT", ToBytes("second")}});
    const RunResult result = Skq({"unpack", (dir / "dup.pak").string(), (dir / "out").string()});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(ReadFileText(dir / "out" / "a.txt"), "first");
    EXPECT_FALSE(fs::exists(dir / "out" / "A.TXT"));

    WriteFileText(dir / "plain.txt", "no archive here");
    EXPECT_EQ(Skq({"unpack", (dir / "plain.txt").string(), (dir / "out2").string()}).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "out2"));
    EXPECT_EQ(Skq({"unpack", (dir / "dup.pak").string()}).Status, 2);
}

TEST(SkqUnpack, EntryNamedLikeAnotherEntrysTemporaryFileSurvives) {
    TempDir dir;
    WritePakFile(dir / "a.pak", {{"x.tmp", ToBytes("entry one")}, {"x", ToBytes("entry two")}});
    ASSERT_EQ(Skq({"unpack", (dir / "a.pak").string(), (dir / "out").string()}).Status, 0);
    EXPECT_EQ(ReadFileText(dir / "out" / "x.tmp"), "entry one");
    EXPECT_EQ(ReadFileText(dir / "out" / "x"), "entry two");
}

TEST(SkqUnpack, DamagedOldDocumentIsNotDecoded) {
    TempDir dir;
    WritePakFile(dir / "old.skq", {{"Sezz0.txp", ToBytes("\xA0xx\r\n")}});
    const RunResult result = Skq({"unpack", (dir / "old.skq").string(), (dir / "out").string(), "--decode"});
    EXPECT_EQ(result.Status, 1);
    EXPECT_THAT(result.Err, HasSubstr("13"));
}

// ---- scrambler

TEST(SkqScrambler, LinesRoundTrip) {
    const std::string plain = "Zażółć gęślą jaźń\r\n\rdrugi\nostatni";
    const RunResult scrambled = Skq({"scramble"}, plain);
    ASSERT_EQ(scrambled.Status, 0);
    const std::vector<std::string> lines = Lines(scrambled.Out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(lines[1][0]), 0xFE); // the empty line
    EXPECT_EQ(scrambled.Out.find("drugi"), std::string::npos);
    const RunResult unscrambled = Skq({"unscramble"}, scrambled.Out);
    EXPECT_EQ(unscrambled.Status, 0);
    EXPECT_EQ(unscrambled.Out, "Zażółć gęślą jaźń\n\ndrugi\nostatni\n");
}

TEST(SkqScrambler, BadLinesAreReportedAndKeepTheirPlace) {
    const RunResult unscrambled = Skq({"unscramble"}, "\n" +
                                                          std::string("\xFE"
                                                                      "abc") +
                                                          "\n");
    EXPECT_EQ(unscrambled.Status, 1);
    EXPECT_EQ(unscrambled.Out, "\n\n");
    EXPECT_THAT(unscrambled.Err, HasSubstr("line 1 "));

    const RunResult scrambled = Skq({"scramble"}, "emoji \U0001F600\n");
    EXPECT_EQ(scrambled.Status, 1);
    EXPECT_EQ(Skq({"unscramble"}, scrambled.Out).Out, "emoji ?\n");
    EXPECT_EQ(Skq({"scramble", "extra"}).Status, 2);
}

// ---- config

class SkqConfigTest : public ::testing::Test {
protected:
    RunResult Config(std::vector<std::string> args) const {
        args.insert(args.begin(), "config");
        args.insert(args.end(), {"--file", file_.string()});
        return Skq(args);
    }

    TempDir dir_;
    fs::path file_ = dir_ / "Ludra.ini";
};

TEST_F(SkqConfigTest, SetCreatesDefaultsAndRoundTrips) {
    EXPECT_EQ(Config({"set", "rq", "yes"}).Status, 0);
    EXPECT_EQ(Config({"get", "rq"}).Out, "1\n");
    EXPECT_EQ(Config({"set", "sct", "/home/uczeń/Zestawy/Lista.skz"}).Status, 0);
    EXPECT_EQ(Config({"set", "dfpz", "4"}).Status, 0);
    EXPECT_EQ(Config({"set", "voi", "NO"}).Status, 0);
    const RunResult shown = Config({"show"});
    EXPECT_EQ(shown.Status, 0) << shown.Err;
    // The optional keys of the settings window read as off until they are set.
    EXPECT_THAT(Lines(shown.Out), ElementsAre("ed=Ludra", "sct=/home/uczeń/Zestawy/Lista.skz", "al=1", "rq=1", "rr=1",
                                              "voi=0", "wo=0", "dfpz=4", "zpo=0", "kzp=0"));
    EXPECT_EQ(Config({"set", "kzp", "yes"}).Status, 0);
    EXPECT_EQ(Config({"get", "kzp"}).Out, "1\n");
    // Values are stored scrambled, never in plain form.
    EXPECT_EQ(ReadFileText(file_).find("Ludra"), std::string::npos);
}

TEST_F(SkqConfigTest, BadValuesAreUsageErrorsAndChangeNothing) {
    ASSERT_EQ(Config({"set", "al", "0"}).Status, 0);
    const std::string before = ReadFileText(file_);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"set", "al", "maybe"},
                                                                                      {"set", "wo", "2"},
                                                                                      {"set", "dfpz", "-1"},
                                                                                      {"set", "dfpz", "3x"},
                                                                                      {"set", "ed", "Ludra"},
                                                                                      {"set", "colour", "1"},
                                                                                      {"set", "sct", "\U0001F600"},
                                                                                      {"get", "colour"},
                                                                                      {"set", "rq"},
                                                                                      {"frob"}}) {
        EXPECT_EQ(Config(args).Status, 2) << args.front() << ' ' << args.back();
    }
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST_F(SkqConfigTest, ProblemsOfTheFileAreReported) {
    EXPECT_EQ(Config({"show"}).Status, 1); // no file yet
    XmlDocument document;
    FindOrAddChild(document.FindOrAddNode(u"Ini"), u"ed").Text = u"Ludra"; // not scrambled: a wrong header
    document.SaveToFile(file_);
    const std::string before = ReadFileText(file_);
    const RunResult shown = Config({"show"});
    EXPECT_EQ(shown.Status, 1);
    EXPECT_THAT(shown.Err, HasSubstr("replace this file with defaults"));
    EXPECT_EQ(Config({"set", "rq", "1"}).Status, 1);
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST_F(SkqConfigTest, UnreadableNumberShowsWhatTheProgramTakes) {
    ASSERT_EQ(Config({"set", "wo", "1"}).Status, 0);
    XmlDocument document;
    document.LoadFromFile(file_);
    FindOrAddChild(document.FindOrAddNode(u"Ini"), u"dfpz").Text.clear();
    document.SaveToFile(file_);
    const RunResult got = Config({"get", "dfpz"});
    EXPECT_EQ(got.Out, "1\n");
    EXPECT_EQ(got.Status, 1);
    EXPECT_EQ(Config({"get", "wo"}).Out, "1\n");
    // Setting it mends the file; the other values stay.
    EXPECT_EQ(Config({"set", "dfpz", "2"}).Status, 0);
    EXPECT_EQ(Config({"show"}).Status, 0);
    EXPECT_EQ(Config({"get", "wo"}).Out, "1\n");
}

TEST(SkqConfig, DefaultFileIsTheLearnersOwn) {
    TempDir dir;
    const ScopedEnvironment config("XDG_CONFIG_HOME", dir.Path().string());
    EXPECT_EQ(Skq({"config", "set", "rq", "1"}).Status, 0);
    EXPECT_TRUE(fs::exists(dir / "Tarvix" / "Orvel" / "Ludra" / "Ludra.ini"));
}

// ---- special files

// A command line with FILE standing for a named pipe and OUT for a path to write to.
class SkqNamedPipe : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SkqNamedPipe, IsRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.skq").c_str(), 0600), 0);
    std::vector<std::string> args = GetParam();
    std::replace(args.begin(), args.end(), std::string("FILE"), (dir / "pipe.skq").string());
    std::replace(args.begin(), args.end(), std::string("OUT"), (dir / "out").string());
    const Watchdog watchdog(10); // no writer ever comes: a plain open would wait for ever
    EXPECT_EQ(Skq(args).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "out"));
}

INSTANTIATE_TEST_SUITE_P(EveryCommandThatOpensFiles, SkqNamedPipe,
                         ::testing::Values(std::vector<std::string>{"show", "FILE"},
                                           std::vector<std::string>{"ls", "FILE"},
                                           std::vector<std::string>{"list", "FILE"},
                                           std::vector<std::string>{"check", "FILE"},
                                           std::vector<std::string>{"unpack", "FILE", "OUT"},
                                           std::vector<std::string>{"pack", "FILE", "OUT"},
                                           std::vector<std::string>{"config", "show", "--file", "FILE"}),
                         [](const auto& testCase) { return testCase.param.front(); });

// ---- usage and help

TEST(SkqUsage, HelpForEveryCommandHasAnExample) {
    const RunResult overview = Skq({"--help"});
    EXPECT_EQ(overview.Status, 0);
    for (const char* command :
         {"show", "ls", "list", "check", "pack", "unpack", "scramble", "unscramble", "config", "help"}) {
        EXPECT_THAT(overview.Out, HasSubstr(std::string("  ") + command + " ")) << command;
        const RunResult help = Skq({"help", command});
        EXPECT_EQ(help.Status, 0) << command;
        const std::string example = help.Out.substr(std::min(help.Out.find("Example:\n  "), help.Out.size()));
        EXPECT_THAT(example, HasSubstr(std::string("ludra-skq ") + command)) << command;
        EXPECT_EQ(Skq({command, "--help"}).Out, help.Out) << command;
    }
}

TEST(SkqUsage, VersionIsTheProgramsVersion) {
    const RunResult version = Skq({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "ludra-skq " + std::string(kVersion) + "\n");
}

TEST(SkqUsage, BadCommandLinesExitTwo) {
    EXPECT_EQ(Skq({}).Status, 2);
    EXPECT_EQ(Skq({"frobnicate"}).Status, 2);
    EXPECT_EQ(Skq({"help", "frobnicate"}).Status, 2);
    const RunResult unknownOption = Skq({"ls", "--verbose", "a.pak"});
    EXPECT_EQ(unknownOption.Status, 2);
    EXPECT_THAT(unknownOption.Err, HasSubstr("--verbose"));
    EXPECT_TRUE(unknownOption.Out.empty());
}

// Every line a command writes about its work starts with the command's name, in one form.
TEST(SkqUsage, EveryMessageLineNamesItsCommand) {
    TempDir dir;
    WriteFileText(dir / "bank.gift", "Dwie? {=a ~b}\n\nTrzy? {=a ~b ~c}\n");
    const RunResult run = Skq({"import", (dir / "bank.gift").string(), (dir / "out").string()});
    ASSERT_EQ(run.Status, 0);
    std::istringstream lines(run.Err);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_TRUE(line.starts_with("ludra-skq import: ")) << line;
    EXPECT_GT(count, 0);
    WritePakFile(dir / "a.skq", {{"x.txt", ToBytes("x")}});
    EXPECT_EQ(Skq({"unpack", (dir / "a.skq").string(), (dir / "a").string(), "--decode"}).Err,
              "ludra-skq unpack: no question document to decode; the entries are written as stored\n");
}
