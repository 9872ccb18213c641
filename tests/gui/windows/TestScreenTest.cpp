#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/presentation/TestScreenRules.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Controls.h"
#include "gui/windows/MainWindow.h"
#include "support/FreshProgramState.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using enum TileLook;

const std::u16string kNoChoice = u"\rDokonaj wyboru odpowiedzi.";

QImage Tile(TileLook look, int position) {
    return ResourceImage("literyduze50")
        .copy(35 * (position - 1), 35 * static_cast<int>(look), 35, 35)
        .convertToFormat(QImage::Format_RGB32);
}

// The main window shown with its test screen, over a set written into a fresh folder.
class MainTestScreen : public ::testing::Test {
protected:
    Recorder record{WarningButton::Yes};
    FreshProgramState state{record}; // first in, last out

    void SetUp() override {
        state.Generator.Seed(11);
        state.LearnerSettings.SoundOn = false;
        window = std::make_unique<MainWindow>(state);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        state.LearnerSettings.WindowMode = 0;
    }

    void Start(const std::vector<QuestionDocument>& questions) {
        documents = questions;
        WriteQuestionSet(state.Run, dir.Path() / "set", questions);
        state.Run.StartSession();
        QApplication::processEvents();
    }

    template <typename T = QWidget> T* Child(const char* name) {
        T* child = window->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QLabel* Label(const std::string& name) { return Child<QLabel>(name.c_str()); }
    void Click(const std::string& name) { QTest::mouseClick(Child(name.c_str()), Qt::LeftButton, {}, QPoint(3, 3)); }
    bool Shown(const std::string& name) { return Child(name.c_str())->isVisible(); }
    static std::string N(const char* prefix, int position) { return prefix + std::to_string(position); }
    QImage TileShown(int position) {
        return Label(N("ImOdp", position))->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    int PositionOf(int answer) const { return state.Run.Current.Question.Answer(answer).Position; }
    void ClickAnswer(int answer) { Click(N("ImOdp", PositionOf(answer))); }
    // The texts of the shown rows by answer number, as written into the file.
    void ExpectRowsOf(const QuestionDocument& document) {
        EXPECT_EQ(Label("LPytanie")->text().toStdU16String(), AnsiToWide(document.QuestionText));
        for (int k = 1; k <= document.AnswerCount; ++k) {
            const int position = PositionOf(k);
            ASSERT_GE(position, 1);
            EXPECT_EQ(Label(N("LOdp", position))->text().toStdU16String(), AnsiToWide(document.Answers[k - 1]))
                << "answer " << k;
        }
        for (int p = 1; p <= 5; ++p) {
            EXPECT_EQ(Shown(N("LOdp", p)), p <= document.AnswerCount) << p;
            EXPECT_EQ(Shown(N("POdp", p)), p <= document.AnswerCount) << p;
        }
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    std::unique_ptr<MainWindow> window;
    std::vector<QuestionDocument> documents;

private:
};

TEST_F(MainTestScreen, EveryComponentAtItsPlace) {
    const std::vector<std::pair<const char*, QRect>> places{
        {"ImTloTest", {0, 0, 790, 581}},
        {"LPytanie", {288, 180, 441, 61}},
        {"LOdp1", {357, 320, 353, 25}},
        {"LOdp2", {357, 360, 353, 25}},
        {"LOdp3", {357, 400, 353, 25}},
        {"LOdp4", {357, 440, 353, 25}},
        {"LOdp5", {357, 474, 353, 25}},
        {"POdp1", {295, 313, 35, 35}},
        {"POdp2", {295, 353, 35, 35}},
        {"POdp3", {295, 393, 35, 35}},
        {"POdp4", {295, 433, 35, 35}},
        {"POdp5", {295, 473, 35, 35}},
        {"ImOdp1", {0, 0, 35, 35}},
        {"ImOdp5", {0, 0, 35, 35}},
        {"PKilkaOdpowiedzi", {280, 275, 401, 15}},
        {"Image1", {0, 0, 413, 15}},
        {"LStan", {46, 320, 177, 75}},
        {"PButStop", {104, 404, 51, 56}},
        {"ImButStop", {0, 0, 51, 56}},
        {"LButNastepne", {114, 414, 34, 32}},
        {"LZrezygnuj", {651, 521, 91, 24}},
        {"PPodpowiedz", {264, 511, 115, 47}},
        {"ImPodpowiedz", {0, 0, 115, 47}},
        {"LPodpowiedzKlik", {8, 8, 97, 25}},
        {"ptekstPodpowiedzi", {378, 491, 386, 67}},
        {"ImTekstPodpowiedzi", {0, 0, 386, 67}},
        {"LtrescPodpowiedzi", {16, 16, 329, 30}},
        {"lClosePodpowiedz", {356, 10, 17, 16}},
        {"LListwa2", {128, 8, 513, 16}},
    };
    for (const auto& [name, rect] : places)
        EXPECT_EQ(Child(name)->geometry(), rect) << name;
    // The window mode puts the test panel exactly over the menu screen.
    EXPECT_EQ(Child("PTest")->geometry(), QRect(Child("PGlowny")->pos(), QSize(790, 581)));
    EXPECT_EQ(Child("PTest")->parentWidget(), window.get());
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_TRUE(Child("PTest")->findChild<QWidget*>("ptekstPodpowiedzi")->isHidden());
    EXPECT_TRUE(Child("POdp5")->isHidden());
    EXPECT_TRUE(Child("LOdp5")->isHidden());
    EXPECT_TRUE(Child("PKilkaOdpowiedzi")->isHidden());
    EXPECT_EQ(Label("LStan")->text(), "LStan");
    // The background lies under the title strip, and the check button over the next button.
    EXPECT_EQ(Child("PTest")->childAt(200, 12), Child("LListwa2"));
    EXPECT_EQ(Child("PTest")->childAt(130, 430), Child("ImButStop"));
    EXPECT_TRUE(Label("ImTloTest")->pixmap().isNull()) << "the menu's first frame doesn't need it";
    for (const char* name : {"LPytanie", "LOdp1", "LOdp5", "LtrescPodpowiedzi"}) {
        EXPECT_TRUE(Label(name)->wordWrap()) << name;
        EXPECT_EQ(Label(name)->font().pixelSize(), 11) << name;
        EXPECT_EQ(Label(name)->palette().color(QPalette::WindowText), QColor(0x0F, 0x24, 0x10)) << name;
    }
    EXPECT_FALSE(Label("LStan")->wordWrap());
    EXPECT_EQ(Label("LStan")->font().pixelSize(), 11);
    EXPECT_EQ(Label("LStan")->palette().color(QPalette::WindowText), QColor(0x11, 0x28, 0x17));
    for (const char* name : {"POdp1", "ImOdp3", "PButStop", "LButNastepne", "LZrezygnuj", "LPodpowiedzKlik"})
        EXPECT_EQ(Child(name)->cursor().shape(), Qt::PointingHandCursor) << name;
}

TEST_F(MainTestScreen, StartShowsTheQuestionAndTheStatusLine) {
    Start({MakeQuestion(4, "Ile nóg ma pająk?", "0100"), MakeQuestion(3, "Drugie", "100")});
    EXPECT_TRUE(Shown("PTest"));
    EXPECT_EQ(Label("ImTloTest")->pixmap().size(), QSize(789, 582));
    EXPECT_TRUE(Shown("PButStop"));
    ExpectRowsOf(documents[0]);
    EXPECT_EQ(Label("LStan")->text(), "Pytań w zestawie: 2\nUdzielonych odpowiedzi: 0\nPoprawnych odpowiedzi: 0\n\n"
                                      "Skuteczność chwilowa: nieokreślona");
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(TileShown(p), Tile(Plain, p)) << p;
}

TEST_F(MainTestScreen, RowsFollowTheAnswerCount) {
    Start({MakeQuestion(5, "Pięć", "00100"), MakeQuestion(3, "Trzy", "010"), MakeQuestion(4, "Cztery", "0001"),
           MakeQuestion(5, "Znowu pięć", "10000")});
    for (std::size_t i = 0; i < documents.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectRowsOf(documents[i]);
        ClickAnswer(1);
        Click("ImButStop");
        if (i + 1 < documents.size()) {
            EXPECT_FALSE(Shown("PButStop"));
            Click("LButNastepne");
            EXPECT_TRUE(Shown("PButStop"));
        }
    }
}

TEST_F(MainTestScreen, ClicksMarkTilesAndTheCheckShowsTheVerdict) {
    std::vector<QuestionDocument> set{MakeQuestion(4, "Które?", "0110"), MakeQuestion(3, "Dalej", "100")};
    set[0].QuestionType = 2; // each answer chosen on its own
    Start(set);
    ClickAnswer(2);
    ClickAnswer(1);
    EXPECT_EQ(TileShown(PositionOf(1)), Tile(Chosen, PositionOf(1)));
    EXPECT_EQ(TileShown(PositionOf(2)), Tile(Chosen, PositionOf(2)));
    EXPECT_EQ(TileShown(PositionOf(3)), Tile(Plain, PositionOf(3)));
    ClickAnswer(1); // a second click takes the choice back
    EXPECT_EQ(TileShown(PositionOf(1)), Tile(Plain, PositionOf(1)));
    ClickAnswer(4);
    Click("ImButStop");
    EXPECT_EQ(TileShown(PositionOf(1)), Tile(Plain, PositionOf(1)));  // neither
    EXPECT_EQ(TileShown(PositionOf(2)), Tile(Chosen, PositionOf(2))); // right and chosen
    EXPECT_EQ(TileShown(PositionOf(3)), Tile(Missed, PositionOf(3))); // right, not chosen
    EXPECT_EQ(TileShown(PositionOf(4)), Tile(Wrong, PositionOf(4)));  // chosen, wrong
    EXPECT_EQ(Label("LStan")->text(), "Pytań w zestawie: 2\nUdzielonych odpowiedzi: 1\nPoprawnych odpowiedzi: 0\n\n"
                                      "Skuteczność chwilowa: 0%");
    EXPECT_FALSE(Shown("PButStop"));
    ClickAnswer(1); // after the check the tiles stay as judged
    EXPECT_EQ(TileShown(PositionOf(1)), Tile(Plain, PositionOf(1)));
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(MainTestScreen, FifthTileHasItsOwnLetterInEveryLook) {
    QuestionDocument five = MakeQuestion(5,
                                         "Które z tych zwierząt są ssakami? Zaznacz wszystkie właściwe odpowiedzi, "
                                         "a potem sprawdź wybór okrągłym przyciskiem.",
                                         "00011");
    five.QuestionType = 1;
    for (int k = 0; k < 5; ++k)
        five.Answers[k] = Utf8ToAnsi(std::array{"Pstrąg", "Żaba", "Wróbel", "Delfin", "Nietoperz"}[k]);
    five.Hint = Utf8ToAnsi("Ssaki karmią młode mlekiem.");
    Start({five, MakeQuestion(3, "Dalej", "100")});
    EXPECT_EQ(TileShown(5), Tile(Plain, 5));
    EXPECT_NE(Tile(Plain, 5), Tile(Plain, 4));
    Click("ImOdp5");
    EXPECT_EQ(TileShown(5), Tile(Chosen, 5));
    Click("ImOdp1");
    Click("ImButStop");
    for (int k = 1; k <= 5; ++k) {
        const int p = PositionOf(k);
        const bool correct = five.Key[k - 1] == '1';
        const bool chosen = p == 1 || p == 5;
        const TileLook look = correct ? (chosen ? Chosen : Missed) : (chosen ? Wrong : Plain);
        EXPECT_EQ(TileShown(p), Tile(look, p)) << "answer " << k;
    }
    if (const char* path = std::getenv("LUDRA_TEST_SCREEN_SHOT"))
        window->grab().save(path);
}

TEST_F(MainTestScreen, CheckWithoutAChoiceAsksForOne) {
    Start({MakeQuestion(3, "Bez wyboru", "010")});
    Click("ImButStop");
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kNoChoice));
    EXPECT_TRUE(Shown("PButStop"));
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(TileShown(p), Tile(Plain, p));
}

TEST_F(MainTestScreen, SeveralAnswersStripOnlyForTypeOne) {
    std::vector<QuestionDocument> set{MakeQuestion(3, "Typ jeden", "110"), MakeQuestion(3, "Typ dwa", "110"),
                                      MakeQuestion(3, "Typ zero", "100")};
    set[0].QuestionType = 1;
    set[1].QuestionType = 2;
    Start(set);
    EXPECT_TRUE(Shown("PKilkaOdpowiedzi"));
    for (bool strip : {false, false}) {
        ClickAnswer(1);
        Click("ImButStop");
        Click("LButNastepne");
        EXPECT_EQ(Shown("PKilkaOdpowiedzi"), strip);
    }
    EXPECT_EQ(state.Run.CurrentQuestionIndex, 2);
}

TEST_F(MainTestScreen, HintButtonAndPanel) {
    std::vector<QuestionDocument> set{MakeQuestion(3, "Z podpowiedzią", "100"), MakeQuestion(3, "Bez", "100")};
    set[0].Hint = Utf8ToAnsi("Pomyśl o żółwiu.");
    Start(set);
    EXPECT_TRUE(Shown("PPodpowiedz"));
    EXPECT_FALSE(Shown("ptekstPodpowiedzi"));
    Click("LPodpowiedzKlik");
    EXPECT_TRUE(Shown("ptekstPodpowiedzi"));
    EXPECT_EQ(Label("LtrescPodpowiedzi")->text(), "Pomyśl o żółwiu.");
    Click("lClosePodpowiedz");
    EXPECT_FALSE(Shown("ptekstPodpowiedzi"));
    Click("LPodpowiedzKlik");
    Click("ImTloTest");
    EXPECT_FALSE(Shown("ptekstPodpowiedzi"));
    Click("LPodpowiedzKlik");
    ClickAnswer(1); // an answer click folds the hint away too
    EXPECT_FALSE(Shown("ptekstPodpowiedzi"));
    Click("LPodpowiedzKlik");
    Click("ImButStop");
    Click("LButNastepne");
    EXPECT_FALSE(Shown("PPodpowiedz"));
    EXPECT_FALSE(Shown("ptekstPodpowiedzi"));
}

TEST_F(MainTestScreen, LongTextsWrapInsideTheirLabels) {
    const std::string sentence = "Zażółć gęślą jaźń, a potem źdźbło trawy niech się chwieje na wietrze. ";
    QuestionDocument document = MakeQuestion(3, sentence + sentence, "100");
    document.Answers[0] = Utf8ToAnsi(sentence + sentence);
    Start({document});
    for (const std::string& name : {std::string("LPytanie"), N("LOdp", PositionOf(1))}) {
        QLabel* label = Label(name);
        const QFontMetrics metrics(label->font());
        EXPECT_TRUE(label->wordWrap()) << name;
        EXPECT_GT(metrics.horizontalAdvance(label->text()), label->width()) << name;
        EXPECT_GT(label->heightForWidth(label->width()), metrics.height() * 3 / 2) << name;
        EXPECT_FALSE(label->text().contains(QChar(0x2026))) << name;
    }
    EXPECT_EQ(Label("LPytanie")->size(), QSize(441, 61));
    EXPECT_EQ(Label("LPytanie")->text().toStdU16String(),
              QString::fromStdString(sentence + sentence).trimmed().toStdU16String());
}

TEST_F(MainTestScreen, ScreenOfAWindowThatIsGoneIsLeftAlone) {
    window.reset();
    Start({MakeQuestion(3, "Bez okna", "100")});
    EXPECT_TRUE(state.Run.SessionRunning);
}

TEST_F(MainTestScreen, CloseSpotEndsTheRunAndHidesThePanel) {
    Start({MakeQuestion(3, "Jedno", "100"), MakeQuestion(3, "Drugie", "100")});
    Click("LZrezygnuj");
    EXPECT_EQ(record.Boxes.size(), 1u);
    EXPECT_FALSE(Shown("PTest"));
}

} // namespace

namespace {

// Generated texts of every length up to twice what a label shows, of words of every shape:
// letters wide and narrow, every Windows-1250 character, punctuation and brackets that bind
// words across spaces, dashes, tabs and line breaks.
std::string GeneratedText(std::mt19937& random, std::size_t length) {
    static const std::vector<std::string> shapes = {Utf8ToAnsi("zażółćgęśląjaźńkot"), Utf8ToAnsi("ZAŻÓŁĆGĘŚLĄJAŹŃ"),
                                                    "ijlt.,:;'!|", "mwMW@%", "0123456789"};
    static const std::vector<std::string> gaps = {" ",  " ",    " ",     " ",      " ",    "  ", " ! ", " ? ", " (",
                                                  ") ", "\x84", "\x94 ", " \x97 ", "\xA0", "-",  "\t",  "\r\n"};
    std::string text;
    while (text.size() < length) {
        const std::size_t shape = random() % (shapes.size() + 1);
        for (std::size_t letters = 1 + random() % 12; letters > 0; --letters)
            text += shape < shapes.size() ? shapes[shape][random() % shapes[shape].size()]
                                          : static_cast<char>(0x20 + random() % 0xE0);
        text += gaps[random() % gaps.size()];
    }
    return text;
}

} // namespace

// The authors' tool warns of every text the labels cut off: a line lost, or a word run
// past the edge. Texts it warns of needlessly are counted and kept few.
TEST_F(MainTestScreen, NoTextCutOffOnScreenPassesTheCheck) {
    const std::vector<std::pair<const char*, LabelSize>> labels{
        {"LPytanie", kQuestionLabel}, {"LOdp1", kAnswerLabel}, {"LtrescPodpowiedzi", kHintLabel}};
    std::mt19937 random(2026);
    for (const auto& [name, size] : labels) {
        QLabel* label = Label(name);
        ASSERT_EQ(QFontInfo(label->font()).family(), "Liberation Sans");
        const QFontMetrics metrics(label->font());
        const std::size_t longest = static_cast<std::size_t>(size.Width * size.Height) / 40;
        int cut = 0;
        int needless = 0;
        for (int n = 0; n < 3000; ++n) {
            const std::string text = GeneratedText(random, 1 + random() % longest);
            label->setText(DisplayText(AnsiToWide(text)));
            const QRect laidOut = metrics.boundingRect(QRect(0, 0, size.Width, 100000),
                                                       Qt::TextWordWrap | Qt::TextExpandTabs, label->text());
            const bool cutOff =
                label->heightForWidth(size.Width) > size.Height + 2 * kReadableEdgeLoss || laidOut.width() > size.Width;
            const bool warned = CutOffOnScreen(text, size);
            EXPECT_TRUE(warned || !cutOff) << name << ": " << AnsiToUtf8(text);
            cut += cutOff;
            needless += warned && !cutOff;
        }
        std::cout << name << ": " << cut << " of 3000 texts cut off, " << needless << " warned of needlessly\n";
        EXPECT_GT(cut, 300) << name;
        EXPECT_LT(needless, 150) << name;
    }
}

// What a screen reader finds: the tiles as radio buttons named with their state, a press
// that clicks, the verdict as an alert, and no reachable next button under the check button.
TEST_F(MainTestScreen, ScreenReadersReadTheTilesAndTheVerdict) {
    Start({MakeQuestion(3, "Miasto", "010"), MakeQuestion(3, "Dalej", "100")});
    QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(Label(N("ImOdp", PositionOf(2))));
    ASSERT_NE(tile, nullptr);
    const QString name = "Odpowiedź " + QString(QChar(u'A' + PositionOf(2) - 1)) + ": Miasto odpowiedź b";
    EXPECT_EQ(tile->role(), QAccessible::RadioButton);
    EXPECT_EQ(tile->text(QAccessible::Name), name);
    EXPECT_FALSE(tile->state().checked);
    ASSERT_NE(tile->actionInterface(), nullptr);
    tile->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_TRUE(state.Run.Current.Question.Answer(2).Selected) << "the press clicks the tile";
    EXPECT_TRUE(tile->state().checked);
    EXPECT_EQ(tile->text(QAccessible::Name), name + ", zaznaczona");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(Child("LButNastepne"))->state().invisible);

    Click("ImButStop");
    EXPECT_EQ(tile->text(QAccessible::Name), name + ", zaznaczona, poprawna");
    QAccessibleInterface* verdict = QAccessible::queryAccessibleInterface(Child("LWerdykt"));
    EXPECT_EQ(verdict->role(), QAccessible::AlertMessage);
    EXPECT_EQ(verdict->text(QAccessible::Name), "Dobrze!");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Child("LStan"))->role(), QAccessible::StatusBar);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(Child("LButNastepne"))->state().invisible);
    QAccessibleInterface* mainWindow = QAccessible::queryAccessibleInterface(window.get());
    EXPECT_EQ(mainWindow->role(), QAccessible::Window);
    EXPECT_EQ(mainWindow->text(QAccessible::Name), "Orvel - Ludra 4.0");
    // Neither the background nor the title strip reads as a button.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Child("ImTloTest"))->role(), QAccessible::Graphic);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Child("LListwa2"))->role(), QAccessible::StaticText);
}
