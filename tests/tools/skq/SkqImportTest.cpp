#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/selection/SetFolders.h"
#include "core/storage/PackArchive.h"
#include "support/PictureFiles.h"
#include "support/PngChunks.h"
#include "support/QuestionSets.h"
#include "support/TempDir.h"
#include "support/XmlCheck.h"
#include "tools/skq/SkqCommands.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int Status = 0;
    std::string Out, Err;
};

ToolRun Skq(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunSkq(args, in, out, err);
    return {status, out.str(), err.str()};
}

QuestionDocument StoredQuestion(const fs::path& file) {
    PackArchive pak;
    EXPECT_TRUE(PakOpen(file, pak)) << file;
    if (const auto old = PakExtract("Sezz0.txp", EntryCap::kQuestionDocument, pak))
        return skq::ParseQuestionLines(*old);
    const std::optional<Bytes> document = PakExtract("Sezz0.xml", EntryCap::kQuestionDocument, pak);
    return document ? skq::ParseQuestionXml(*document) : QuestionDocument{};
}

std::optional<Bytes> StoredEntry(const fs::path& file, std::string_view name) {
    PackArchive pak;
    return PakOpen(file, pak) ? PakExtract(name, EntryCap::kLargest, pak) : std::nullopt;
}

std::vector<std::string> QuestionFilesIn(const fs::path& folder) {
    std::vector<std::string> files;
    ListQuestionFiles(folder, files);
    return files;
}

// An Aiken bank of that many questions, "Pytanie 1?" onwards.
std::string AikenBank(int count) {
    std::string aiken;
    for (int i = 1; i <= count; ++i)
        aiken += "Pytanie " + std::to_string(i) + "?\nA) a\nB) b\nC) c\nANSWER: A\n\n";
    return aiken;
}

constexpr std::string_view kGiftBank = R"($CATEGORY: $course$/top/Matematyka/Ułamki

::U1:: Ile to 1/2 + 1/4? {=3/4 ~2/6 ~1/6 ####Sprowadź do wspólnego mianownika.}

$CATEGORY: $course$/top/Matematyka

Które liczby są pierwsze? {~%50%2 ~%50%3 ~%-100%4 ~%-100%9}

Ziemia jest płaska. {F}

$CATEGORY: $course$/top/Klasa 4/Kąty: proste?

Który kąt jest prosty? {=90° ~45° ~180°}
)";

} // namespace

// Categories become nested set folders (a category with questions and subcategories keeps
// its own questions in a set beside them), fields come through, and the list passes check.
TEST(SkqImport, CategoriesBecomeNestedSetsWithTheirFieldsAndAListThatPassesCheck) {
    TempDir dir;
    WriteFileText(dir / "bank.gift", kGiftBank);
    const fs::path out = dir / "Zestawy";
    const ToolRun run = Skq({"import", (dir / "bank.gift").string(), out.string(), "--list"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Out, HasSubstr("3 questions imported into 3 sets"));
    EXPECT_THAT(run.Out, HasSubstr("1 skipped"));
    EXPECT_THAT(run.Err, HasSubstr("true/false"));

    const QuestionDocument fractions = StoredQuestion(out / "Matematyka" / "Ułamki" / "pytanie01.skq");
    EXPECT_EQ(AnsiToUtf8(fractions.QuestionText), "Ile to 1/2 + 1/4?");
    EXPECT_EQ(fractions.QuestionType, 0);
    EXPECT_EQ(fractions.AnswerCount, 3);
    EXPECT_EQ(fractions.Key, "100");
    EXPECT_EQ(AnsiToUtf8(fractions.Hint), "Sprowadź do wspólnego mianownika.");
    const QuestionDocument primes = StoredQuestion(out / "Matematyka" / "Matematyka" / "pytanie01.skq");
    EXPECT_EQ(primes.QuestionType, 1);
    EXPECT_EQ(primes.Key, "1100");
    // Windows can't have ":" or "?" in a folder's name: the title file keeps the category's.
    EXPECT_EQ(ReadFileText(out / "Klasa 4" / "Kąty_ proste_" / "tytul.txt"), "Kąty: proste?\n");
    EXPECT_EQ(AnsiToUtf8(StoredQuestion(out / "Klasa 4" / "Kąty_ proste_" / "pytanie01.skq").Answers[0]), "90°");
    EXPECT_EQ(Skq({"check", "--strict", (out / "Lista.skz").string()}).Status, 0);
}

TEST(SkqImport, QuestionsTheProgramCantHoldAreSkippedWithTheirReasons) {
    TempDir dir;
    WriteFileText(dir / "bank.gift", "Dwie? {=a ~b}\n\nSześć? {=a ~b ~c ~d ~e ~f}\n\nDwie dobre? {=a =b ~c}\n\n"
                                     "Żadna? {~%-50%a ~%-50%b ~%-50%c}\n\nDobre. {=a ~b ~c}\n\n"
                                     "[html]Posłuchaj: <audio src=\"a.mp3\"></audio> {=a ~b ~c}\n");
    const ToolRun run = Skq({"import", (dir / "bank.gift").string(), (dir / "out").string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Err, HasSubstr("2 answers; a question here has 3 to 5"));
    EXPECT_THAT(run.Err, HasSubstr("6 answers; a question here has 3 to 5"));
    EXPECT_THAT(run.Err, HasSubstr("several right answers, but only one answer can be chosen"));
    EXPECT_THAT(run.Err, HasSubstr("no right answer"));
    EXPECT_THAT(run.Err, HasSubstr("needs sound or video the program can't play"));
    EXPECT_THAT(run.Out, HasSubstr("1 question imported into 1 set"));
    EXPECT_EQ(QuestionFilesIn(dir / "out").size(), 1u);

    WriteFileText(dir / "none.gift", "Prawda? {T}\n");
    EXPECT_EQ(Skq({"import", (dir / "none.gift").string(), (dir / "empty").string()}).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "empty"));
}

// A picture beside the source or embedded in it is stored with its question, a PNG as BMP;
// one outside the source's folder is never read, so a crafted file can't carry it away.
TEST(SkqImport, PicturesComeFromBesideTheSourceButNeverFromOutsideIt) {
    TempDir dir;
    fs::create_directories(dir / "zrodla");
    WriteFileBytes(dir / "zrodla" / "mapa.jpg", MakeTestJpeg(40, 30));
    WriteFileBytes(dir / "sekret.jpg", MakeTestJpeg(40, 30));
    WriteFileText(dir / "zrodla" / "bank.gift",
                  "[html]Gdzie leży Kraków? <img src=\"mapa.jpg\"> {=Nad Wisłą ~Nad Odrą ~Nad Bugiem}\n\n"
                  "[html]Co to? <img src=\"../sekret.jpg\"> {=a ~b ~c}\n\n"
                  "[html]A to? <img src=\"" +
                      (dir / "sekret.jpg").string() +
                      "\"> {=a ~b ~c}\n\n[html]I to? <img src=\"link.jpg\"> {=a ~b ~c}\n");
    fs::create_symlink(dir / "sekret.jpg", dir / "zrodla" / "link.jpg");
    const ToolRun run = Skq({"import", (dir / "zrodla" / "bank.gift").string(), (dir / "out").string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const QuestionDocument map = StoredQuestion(dir / "out" / "pytanie01.skq");
    EXPECT_EQ(AnsiToUtf8(map.QuestionText), "Gdzie leży Kraków?");
    EXPECT_EQ(map.PictureName, "mapa.jpg");
    EXPECT_EQ(StoredEntry(dir / "out" / "pytanie01.skq", "mapa.jpg"), MakeTestJpeg(40, 30));
    for (const char* file : {"pytanie02.skq", "pytanie03.skq", "pytanie04.skq"}) {
        EXPECT_EQ(StoredQuestion(dir / "out" / file).PictureName, "") << file;
        EXPECT_EQ(StoredEntry(dir / "out" / file, "sekret.jpg"), std::nullopt) << file;
        EXPECT_EQ(StoredEntry(dir / "out" / file, "link.jpg"), std::nullopt) << file;
    }
    EXPECT_THAT(run.Err, HasSubstr("outside the source's folder"));
}

// A source named without a folder lies in the current folder, and so do its pictures.
TEST(SkqImport, PicturesBesideASourceNamedWithoutAFolderAreFound) {
    TempDir dir;
    WriteFileBytes(dir / "mapa.jpg", MakeTestJpeg(8, 8));
    WriteFileText(dir / "bank.gift", "[html]Gdzie? <img src=\"mapa.jpg\"> {=a ~b ~c}\n");
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    const ToolRun run = Skq({"import", "bank.gift", "out"});
    fs::current_path(before);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(StoredQuestion(dir / "out" / "pytanie01.skq").PictureName, "mapa.jpg");
}

// A source without categories gives one set and a list that holds it; importing the edited
// source again with --force replaces the set, fewer questions included, and keeps the list
// it replaces beside the new one.
TEST(SkqImport, ASetWithoutCategoriesGetsItsListAndIsReplacedWholeWithForce) {
    TempDir dir;
    const fs::path out = dir / "Ulamki";
    const std::vector<std::string> import = {"import", (dir / "bank.txt").string(), out.string(), "--list", "--force"};
    WriteFileText(dir / "bank.txt", AikenBank(3));
    ASSERT_EQ(Skq(import).Status, 0);
    EXPECT_EQ(Skq({"check", (out / "Lista.skz").string()}).Status, 0);
    const Bytes firstList = ReadFileBytes(out / "Lista.skz");
    WritePakFile(out / "notatki.dat", {});

    WriteFileText(dir / "bank.txt", AikenBank(2));
    const ToolRun again = Skq(import);
    ASSERT_EQ(again.Status, 0) << again.Err;
    EXPECT_EQ(QuestionFilesIn(out), (std::vector<std::string>{"pytanie01.skq", "pytanie02.skq"}));
    EXPECT_TRUE(fs::exists(out / "notatki.dat"));
    EXPECT_EQ(ReadFileBytes(out / "Lista.skz~"), firstList);
    EXPECT_EQ(Skq({"list", (out / "Lista.skz").string()}).Status, 0);
}

// An import never mixes into an earlier set: its own files are replaced only with --force,
// and a folder holding other question files is refused.
TEST(SkqImport, EarlierFilesAreReplacedOnlyWithForceAndOthersNeverJoinTheSet) {
    TempDir dir;
    WriteFileText(dir / "bank.gift", "Pytanie? {=a ~b ~c}\n");
    const std::vector<std::string> import = {"import", (dir / "bank.gift").string(), (dir / "out").string()};
    ASSERT_EQ(Skq(import).Status, 0);
    EXPECT_THAT(Skq(import).Err, HasSubstr("exists"));
    std::vector<std::string> forced = import;
    forced.push_back("--force");
    EXPECT_EQ(Skq(forced).Status, 0);

    WritePakFile(dir / "out" / "inne.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "Inne", "100"))}});
    const ToolRun run = Skq(forced);
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, HasSubstr("already holds other question files (inne.skq)"));
}

TEST(SkqImport, SourcesInUtf16OrWindows1250AreReadAsTheirTextsSay) {
    TempDir dir;
    const std::string aiken = "Która rzeka płynie przez Kraków?\nA) Wisła\nB) Odra\nC) Warta\nANSWER: A\n";
    const std::u16string wide = Utf8ToWide(aiken);
    Bytes utf16 = {0xFF, 0xFE};
    for (const char16_t unit : wide)
        utf16.insert(utf16.end(), {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
    WriteFileBytes(dir / "utf16.txt", utf16);
    WriteFileText(dir / "ansi.txt", Utf8ToAnsi(aiken));
    // Marks upon marks are text after the first, and never read one by one in depth.
    std::string marks;
    for (int i = 0; i < 200'000; ++i)
        marks += "\xEF\xBB\xBF";
    WriteFileText(dir / "marks.txt", marks + aiken);
    EXPECT_EQ(Skq({"import", (dir / "marks.txt").string(), (dir / "marks").string(), "--format", "aiken"}).Status, 0);
    for (const char* name : {"utf16.txt", "ansi.txt"}) {
        const ToolRun run = Skq({"import", (dir / name).string(), (dir / name).string() + ".set"});
        ASSERT_EQ(run.Status, 0) << run.Err;
        const QuestionDocument question = StoredQuestion(dir / (std::string(name) + ".set") / "pytanie01.skq");
        EXPECT_EQ(AnsiToUtf8(question.QuestionText), "Która rzeka płynie przez Kraków?") << name;
        EXPECT_EQ(AnsiToUtf8(question.Answers[0]), "Wisła") << name;
    }
}

// A question whose document would pass its cap is skipped before it is stored: one whose texts
// alone are too long, and one whose text grows past it as XML ("&" is stored as "&amp;").
TEST(SkqImport, QuestionTooLargeForItsDocumentIsSkippedWithThatReason) {
    TempDir dir;
    for (const std::string& text : {std::string(5 << 20, 'x'), std::string(1 << 20, '&')}) {
        WriteFileText(dir / "bank.txt", text + "\nA) a\nB) b\nC) c\nANSWER: A\n\n" + AikenBank(1));
        const ToolRun run = Skq({"import", (dir / "bank.txt").string(), (dir / "out").string(), "--force"});
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_THAT(run.Out, HasSubstr("1 question imported into 1 set in"));
        EXPECT_THAT(run.Err, HasSubstr("skipped line 1: too large: a question document holds at most 4 MB"));
        EXPECT_EQ(QuestionFilesIn(dir / "out"), std::vector<std::string>{"pytanie01.skq"});
    }
}

// A learner is shown a question that has only a picture, so its export comes back as one.
TEST(SkqImport, QuestionWithAPictureAndNoTextComesBackFromItsExport) {
    TempDir dir;
    fs::create_directories(dir / "set");
    WritePakFile(dir / "set" / "p1.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "", "100", "mapa.jpg"))},
                                          {"mapa.jpg", MakeTestJpeg(8, 8)}});
    ASSERT_EQ(Skq({"export", (dir / "set").string(), (dir / "set.gift").string(), "--format", "gift"}).Status, 0);
    const ToolRun run = Skq({"import", (dir / "set.gift").string(), (dir / "back").string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const QuestionDocument back = StoredQuestion(dir / "back" / "pytanie01.skq");
    EXPECT_EQ(back.QuestionText, "");
    EXPECT_EQ(back.PictureName, "mapa.jpg");
    EXPECT_EQ(StoredEntry(dir / "back" / "pytanie01.skq", "mapa.jpg"), MakeTestJpeg(8, 8));
}

// Killed at any point, an import leaves only whole question files that the folder scan counts
// exactly, and the next import with --force clears what it left and succeeds.
TEST(SkqImport, AKilledImportLeavesOnlyWholeQuestionFilesAndTheNextOneSucceeds) {
    TempDir dir;
    constexpr int kQuestions = 600;
    WriteFileText(dir / "bank.txt", AikenBank(kQuestions));
    const fs::path out = dir / "out";
    const std::vector<std::string> import = {"import", (dir / "bank.txt").string(), out.string(), "--force"};
    std::mt19937 random(22);
    for (int round = 0; round < 8; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Skq(import);
            _exit(0);
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 150'000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::vector<std::string> files = QuestionFilesIn(out);
        for (const std::string& file : files)
            EXPECT_THAT(AnsiToUtf8(StoredQuestion(out / file).QuestionText), HasSubstr("Pytanie ")) << file;
        std::error_code noFolderYet;
        for (const auto& entry : fs::directory_iterator(out, noFolderYet)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(IsTemporaryFileName(name) || std::find(files.begin(), files.end(), name) != files.end())
                << name;
        }
    }
    const ToolRun run = Skq(import);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(QuestionFilesIn(out).size(), static_cast<std::size_t>(kQuestions));
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), kQuestions); // no temporary file left
}

// A write that fails names the system's reason and says the sets are incomplete.
TEST(SkqImport, AFailedWriteSaysWhyAndThatTheSetsAreIncomplete) {
    TempDir dir;
    WriteFileBytes(dir / "duzy.bmp", MakeTestBmp24(200, 200));
    WriteFileText(dir / "bank.gift", "Mały? {=a ~b ~c}\n\n[html]Duży? <img src=\"duzy.bmp\"> {=a ~b ~c}\n");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{64 << 10, previous.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const ToolRun run = Skq({"import", (dir / "bank.gift").string(), (dir / "out").string()});
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, HasSubstr("pytanie02.skq: " + std::string(strerror(EFBIG))));
    EXPECT_THAT(run.Err,
                HasSubstr("the sets in " + (dir / "out").string() + " are incomplete: 0 of 2 questions written"));
    EXPECT_TRUE(QuestionFilesIn(dir / "out").empty());
}

#ifdef LUDRA_BUNDLED_SETS
// Every bundled set through GIFT and Moodle XML and back: the same questions, pictures
// included; attached texts have no place in either format.
TEST(SkqExport, BundledSetsComeBackEqualThroughGiftAndMoodleXml) {
    TempDir dir;
    int sets = 0;
    for (const auto& entry : fs::recursive_directory_iterator(LUDRA_BUNDLED_SETS)) {
        const std::vector<std::string> files = QuestionFilesIn(entry.path());
        if (!entry.is_directory() || files.empty())
            continue;
        ++sets;
        for (const std::string format : {"gift", "moodle"}) {
            const fs::path exported = dir / (std::to_string(sets) + format) / "set.txt";
            fs::create_directories(exported.parent_path());
            ASSERT_EQ(Skq({"export", entry.path().string(), exported.string(), "--format", format}).Status, 0);
            if (format == "moodle") {
                EXPECT_EQ(XmllintProblem(ReadFileText(exported)), "");
            }
            const fs::path back = dir / (std::to_string(sets) + format) / "back";
            const ToolRun run = Skq({"import", exported.string(), back.string(), "--format", format});
            ASSERT_EQ(run.Status, 0) << run.Err;
            EXPECT_THAT(run.Out, HasSubstr(" 0 skipped"));
            const std::vector<std::string> imported = QuestionFilesIn(back);
            ASSERT_EQ(imported.size(), files.size()) << entry.path();
            for (std::size_t i = 0; i < files.size(); ++i) {
                QuestionDocument original = StoredQuestion(entry.path() / AnsiToUtf8(files[i]));
                original.TextName.clear();
                original.Date.clear();
                EXPECT_EQ(StoredQuestion(back / imported[i]), original) << entry.path() / files[i] << ' ' << format;
                if (!original.PictureName.empty()) {
                    EXPECT_EQ(StoredEntry(back / imported[i], original.PictureName),
                              StoredEntry(entry.path() / AnsiToUtf8(files[i]), original.PictureName));
                }
            }
        }
    }
    EXPECT_GE(sets, 6);
}
#endif

// A set list, or a folder of sets, goes out whole with its categories and comes back as the same tree.
TEST(SkqExport, AListOrAFolderOfSetsComesBackAsTheSameTree) {
    TempDir dir;
    const fs::path sets = dir / "Zestawy";
    for (const char* folder : {"Matematyka/Ułamki", "Matematyka/Kąty", "Przyroda"}) {
        fs::create_directories(sets / folder);
        WritePakFile(sets / folder / "p1.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, folder, "010"))}});
    }
    ASSERT_EQ(Skq({"list", "build", sets.string(), (sets / "Lista.skz").string()}).Status, 0);
    const auto tree = [](const fs::path& root) {
        std::vector<std::pair<std::vector<std::string>, std::string>> found;
        for (const skq::TreeSet& set : skq::SetsInTree(root))
            found.emplace_back(set.Titles,
                               AnsiToUtf8(StoredQuestion(set.Folder / QuestionFilesIn(set.Folder)[0]).QuestionText));
        return found;
    };
    ASSERT_EQ(tree(sets).size(), 3u);
    for (const fs::path& source : {sets / "Lista.skz", sets}) {
        for (const std::string format : {"gift", "moodle"}) {
            const fs::path back = dir / ("back-" + format + "-" + source.filename().string());
            ASSERT_EQ(
                Skq({"export", source.string(), (dir / "all.txt").string(), "--format", format, "--force"}).Status, 0);
            const ToolRun run = Skq({"import", (dir / "all.txt").string(), back.string(), "--format", format});
            ASSERT_EQ(run.Status, 0) << run.Err;
            EXPECT_EQ(tree(back), tree(sets)) << source << ' ' << format;
        }
    }
}

// A picture the import made a BMP of goes out as a PNG again, a fraction of the BMP's size, and
// comes back as the same BMP.
TEST(SkqExport, APictureImportedFromPngGoesOutAsPngAndComesBackTheSame) {
    TempDir dir;
    WriteFileBytes(dir / "wykres.png", GradientPng(120, 80));
    WriteFileText(dir / "bank.gift", "[html]Wykres: <img src=\"wykres.png\"> {=a ~b ~c}\n");
    ASSERT_EQ(Skq({"import", (dir / "bank.gift").string(), (dir / "set").string()}).Status, 0);
    const std::optional<Bytes> bmp = StoredEntry(dir / "set" / "pytanie01.skq", "wykres.bmp");
    ASSERT_TRUE(bmp);
    fs::create_directories(dir / "out");
    ASSERT_EQ(Skq({"export", (dir / "set").string(), (dir / "out" / "set.gift").string(), "--format", "gift"}).Status,
              0);
    const Bytes png = ReadFileBytes(dir / "out" / "wykres.png");
    EXPECT_TRUE(std::equal(png.begin(), png.begin() + 4, Bytes{0x89, 'P', 'N', 'G'}.begin()));
    EXPECT_LT(png.size() * 4, bmp->size());
    ASSERT_EQ(Skq({"import", (dir / "out" / "set.gift").string(), (dir / "back").string()}).Status, 0);
    EXPECT_EQ(StoredEntry(dir / "back" / "pytanie01.skq", "wykres.bmp"), bmp);
}

// A picture entry named as a path is never written outside the folder of the GIFT document.
TEST(SkqExport, PictureNamedAsAPathStaysOutOfTheExport) {
    TempDir dir;
    fs::create_directories(dir / "set" / "out");
    WritePakFile(dir / "set" / "p1.skq", {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "Pytanie", "100", "../x.jpg"))},
                                          {"../x.jpg", MakeTestJpeg(8, 8)}});
    const ToolRun run =
        Skq({"export", (dir / "set").string(), (dir / "set" / "out" / "set.gift").string(), "--format", "gift"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_FALSE(fs::exists(dir / "set" / "x.jpg"));
    EXPECT_THAT(ReadFileText(dir / "set" / "out" / "set.gift"), Not(HasSubstr("x.jpg")));
}

// Pictures are written under names of ours: never a dotfile a shell would run, never a device
// name, never the document's own name in any letter case; each change is noted.
TEST(SkqExport, PictureFilesGetSafeNamesThatStillComeBack) {
    TempDir dir;
    const char* const names[] = {".bash_login", "Zestaw", "CON.jpg", "pytanie01.skq"};
    fs::create_directories(dir / "set");
    for (int i = 0; i < 4; ++i)
        WritePakFile(dir / "set" / ("p" + std::to_string(i) + ".skq"),
                     {{"Sezz0.xml", WriteQuestion40(MakeQuestion(3, "Pytanie", "100", names[i]))},
                      {names[i], MakeTestJpeg(8 + i, 8)}});
    const fs::path out = dir / "zestaw";
    const ToolRun run = Skq({"export", (dir / "set").string(), out.string(), "--format", "gift", "--force"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Err, HasSubstr("p0.skq: the picture .bash_login is written as bash_login"));
    const std::vector<std::string> expected = {"bash_login", "Zestaw-2", "CON_.jpg", "pytanie01_skq"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ReadFileBytes(dir / expected[i]), MakeTestJpeg(8 + i, 8)) << expected[i];
    EXPECT_FALSE(fs::exists(dir / ".bash_login"));
    const ToolRun back = Skq({"import", out.string(), (dir / "back").string(), "--format", "gift"});
    ASSERT_EQ(back.Status, 0) << back.Err;
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(StoredQuestion(dir / "back" / ("pytanie0" + std::to_string(i + 1) + ".skq")).PictureName, "") << i;
}

// Question folders and lone documents with the files they name become question files; a
// failing question is named and the others are still packed.
TEST(SkqPackSet, FoldersAndDocumentsBecomeQuestionFilesAndAFailureSparesTheRest) {
    TempDir dir;
    const fs::path source = dir / "zrodla";
    fs::create_directories(source / "p01");
    WriteFileBytes(source / "p01" / "Sezz0.xml", WriteQuestion40(MakeQuestion(3, "W folderze", "100")));
    WriteFileBytes(source / "p02.xml", WriteQuestion40(MakeQuestion(4, "Z obrazkiem", "0100", "mapa.jpg")));
    WriteFileBytes(source / "mapa.jpg", MakeTestJpeg(8, 8));
    WriteFileBytes(source / "p03.xml", WriteQuestion40(MakeQuestion(3, "Bez obrazka", "100", "brak.jpg")));
    const ToolRun run = Skq({"pack-set", source.string(), (dir / "zestaw").string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Out, HasSubstr("2 of 3 questions packed, 1 failed"));
    EXPECT_THAT(run.Err, HasSubstr("p03.xml"));
    EXPECT_EQ(QuestionFilesIn(dir / "zestaw"), (std::vector<std::string>{"p01.skq", "p02.skq"}));
    EXPECT_EQ(AnsiToUtf8(StoredQuestion(dir / "zestaw" / "p01.skq").QuestionText), "W folderze");
    EXPECT_EQ(StoredEntry(dir / "zestaw" / "p02.skq", "mapa.jpg"), MakeTestJpeg(8, 8));
    EXPECT_THAT(Skq({"pack-set", (source / "p01").string(), (dir / "x").string()}).Err, HasSubstr("ludra-skq pack"));
}

// The depfile makes the question files depend on each file read once (a question folder's files,
// a document and what it names, not an unnamed file beside it), a space escaped as Make reads it.
TEST(SkqPackSet, DepfileNamesEveryFileReadOnce) {
    TempDir dir;
    const fs::path source = dir / "moje zrodla";
    fs::create_directories(source / "p01");
    WriteFileBytes(source / "p01" / "Sezz0.xml", WriteQuestion40(MakeQuestion(3, "W folderze", "100")));
    WriteFileBytes(source / "p02.xml", WriteQuestion40(MakeQuestion(3, "Z plikami", "100", "mapa.jpg", "opis.txt")));
    WriteFileBytes(source / "p03.xml", WriteQuestion40(MakeQuestion(3, "Ten sam tekst", "100", "", "opis.txt")));
    WriteFileBytes(source / "mapa.jpg", MakeTestJpeg(8, 8));
    WriteFileText(source / "opis.txt", "Opis");
    WriteFileText(source / "inny.txt", "Nikt go nie wskazuje");
    const ToolRun run =
        Skq({"pack-set", source.string(), (dir / "zestaw").string(), "--depfile", (dir / "d").string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string in = dir.Path().string() + "/moje\\ zrodla/", out = (dir / "zestaw/").string();
    EXPECT_EQ(ReadFileText(dir / "d"), out + "p01.skq " + out + "p02.skq " + out + "p03.skq: \\\n  " + in +
                                           "p01/Sezz0.xml \\\n  " + in + "p02.xml \\\n  " + in + "mapa.jpg \\\n  " +
                                           in + "opis.txt \\\n  " + in + "p03.xml\n");
}
