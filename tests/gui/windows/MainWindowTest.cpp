#include "gui/windows/MainWindow.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/session/TestRun.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "core/storage/XmlDocument.h"
#include "support/FreshProgramState.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string kUseTheMenu = u"\rOtwórz zestaw pytań korzystając z menu programu.";

// A main window shown over settings and journal in a fresh folder.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.OpenUrl = [this](const QUrl& url, std::function<void()> failed) {
            opened.push_back(url);
            openFailed = std::move(failed);
        };
    }

    void Show() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }
    template <typename T = QWidget> T* Child(const char* name) {
        T* child = window.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char* name) { QTest::mouseClick(Child(name), Qt::LeftButton, {}, QPoint(3, 3)); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&window, static_cast<Qt::Key>(key), modifiers);
    }
    QColor TextColour(const char* name) { return Child<QLabel>(name)->palette().color(QPalette::WindowText); }
    std::vector<std::string> JournalFile() const {
        std::vector<std::string> lines;
        const std::string text = ReadFileText(state.Paths.JournalFile);
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(AnsiToUtf8(text.substr(at, end - at).substr(text.substr(at, end - at).find(" - ") + 3)));
        return lines;
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    Recorder record;
    FreshProgramState state{record};
    MainWindow window{state};
    std::vector<QUrl> opened;
    std::function<void()> openFailed; // of the last address opened
};

QRect WorkArea() {
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    return {0, 0, area.x() + area.width(), area.y() + area.height()};
}

} // namespace

TEST_F(MainWindowTest, ComponentsLieWhereTheMenuPicturesExpectThem) {
    Show();
    const std::vector<std::pair<const char*, QRect>> places = {
        {"PTlo", {0, 0, 790, 581}},
        {"ImTloGlowny", {0, 0, 790, 581}},
        {"LOpisMenu", {296, 344, 361, 137}},
        {"LClose", {744, 8, 19, 11}},
        {"LMinimize", {715, 8, 19, 11}},
        {"LBig", {666, 9, 19, 11}},
        {"LListwa", {16, 6, 617, 17}},
        {"LTest_0", {17, 139, 129, 15}},
        {"LPomoc_0", {17, 163, 129, 17}},
        {"PPodMenuPomoc", {8, 132, 240, 133}},
        {"PPodMenuTest", {8, 132, 240, 133}},
        {"LOProgramie", {15, 65, 120, 16}},
        {"LHelp", {15, 82, 114, 14}},
        {"LStronaDomowa", {15, 97, 114, 14}},
        {"LPomoc_1", {8, 78, 129, 14}},
        {"LTest_1", {8, 9, 129, 14}},
        {"LTestZNazwiskiem", {15, 35, 208, 14}},
        {"LTestAnonimowo", {15, 50, 208, 14}},
        {"LListwa2", {128, 8, 513, 16}},
        {"ImTloBig", {0, 0, 1920, 1200}},
    };
    for (const auto& [name, place] : places)
        EXPECT_EQ(Child(name)->geometry(), place) << name;
    EXPECT_EQ(Child<QLabel>("LTestZNazwiskiem")->text(), "Chcę wybrać z listy zestaw pytań");
    EXPECT_EQ(Child<QLabel>("LHelp")->text(), "Pomoc                 F1          ");
    EXPECT_FALSE(Child("PTest")->isVisible());
    EXPECT_EQ(window.windowTitle(), "Orvel - Ludra 4.0");
}

TEST_F(MainWindowTest, FirstStartCreatesSettingsAndReportsTheMissingList) {
    // A program folder without the bundled list, wherever the tests run from.
    state.Paths.ProgramFolder = dir.Path();
    Show();
    EXPECT_TRUE(std::filesystem::exists(dir / "Tarvix" / "Orvel" / "Ludra" / "Ludra.ini"));
    EXPECT_THAT(JournalFile(),
                ElementsAre("Brak pliku ini. Utworzono nowy plik.",
                            "Ścieżka do pliku listy zestawów pytań jest błędna.Brak również pliku Lista w folderze "
                            "Zestawy."));
    EXPECT_FALSE(Child("PPodMenuPomoc")->isVisible());
    EXPECT_FALSE(Child("PPodMenuTest")->isVisible());
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(MainWindowTest, WindowModeZeroCentresTheRoundedWindow) {
    Show();
    const QRect work = WorkArea();
    EXPECT_EQ(window.size(), QSize(790, 581));
    EXPECT_EQ(window.pos(), QPoint((work.width() - 790) / 2, (work.height() - 581) / 2));
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0))); // a rounded corner
    EXPECT_TRUE(window.mask().contains(QPoint(395, 290)));
    EXPECT_EQ(Child("PGlowny")->pos(), QPoint(0, 0));
    EXPECT_EQ(Child("PTest")->pos(), QPoint(0, 0));
}

TEST_F(MainWindowTest, CtrlF4FillsTheWorkAreaAndStoresTheMode) {
    Show();
    Key(Qt::Key_F4, Qt::ControlModifier);
    const QRect work = WorkArea();
    EXPECT_EQ(state.LearnerSettings.WindowMode, 1);
    EXPECT_EQ(window.size(), work.size());
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(Child("ImTloBig")->pos(), QPoint((work.width() - 1920) / 2, (work.height() - 1200) / 2));
    const QPoint panel((work.width() - 790) / 2, (work.height() - 581) / 2);
    EXPECT_EQ(Child("PGlowny")->pos(), panel);
    EXPECT_EQ(Child("PTest")->pos(), panel);
    EXPECT_TRUE(window.mask().contains(QPoint(0, 0)));
    EXPECT_EQ(&window.PlacementAnchor(), Child("PGlowny"));

    XmlDocument settings;
    state.SettingsStore().LoadDocument(settings);
    std::int32_t stored = -1;
    ASSERT_TRUE(ReadSettingNumber(u"wo", settings, stored));
    EXPECT_EQ(stored, 1);
    Click("LBig");
    EXPECT_EQ(state.LearnerSettings.WindowMode, 0);
    EXPECT_EQ(window.size(), QSize(790, 581));
}

// The rounded window hides the whole-area background, so it is decoded only once shown.
TEST_F(MainWindowTest, TheWholeAreaBackgroundIsDecodedWhenItFirstShows) {
    Show();
    EXPECT_TRUE(static_cast<QLabel*>(Child("ImTloBig"))->pixmap().isNull());
    Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(static_cast<QLabel*>(Child("ImTloBig"))->pixmap().size(), QSize(1920, 1200));
}

TEST_F(MainWindowTest, UnknownModeKeepsTheDesignTimeGeometry) {
    PrepareFolders(state.Paths);
    state.SettingsStore().Load(state.LearnerSettings);
    state.LearnerSettings.WindowMode = 2;
    state.SettingsStore().SaveWindowMode(state.LearnerSettings);
    Show();
    EXPECT_EQ(state.LearnerSettings.WindowMode, 2);
    EXPECT_EQ(window.size(), QSize(919, 606));
    EXPECT_EQ(window.pos(), QPoint(261, 125));
    EXPECT_EQ(Child("PGlowny")->pos(), QPoint(8, 0));
    EXPECT_EQ(Child("PTest")->pos(), QPoint(96, 0));
    EXPECT_TRUE(window.mask().isEmpty());
    const QPoint before = window.pos();
    QTest::mousePress(Child("LListwa"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(Child("LListwa"), QPoint(50, 9));
    QTest::mouseRelease(Child("LListwa"), Qt::LeftButton, {}, QPoint(50, 9));
    EXPECT_EQ(window.pos(), before) << "no dragging outside mode 0";
    Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(state.LearnerSettings.WindowMode, 0);
}

TEST_F(MainWindowTest, TitleStripDragsTheWindowInModeZero) {
    Show();
    const QPoint before = window.pos();
    QTest::mousePress(Child("LListwa"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(Child("LListwa"), QPoint(45, 25));
    QTest::mouseRelease(Child("LListwa"), Qt::LeftButton, {}, QPoint(45, 25));
    EXPECT_EQ(window.pos(), before + QPoint(40, 20));
}

TEST_F(MainWindowTest, MenuEntriesOpenOneSubmenuAtATime) {
    Show();
    QWidget* help = Child("PPodMenuPomoc");
    QWidget* tests = Child("PPodMenuTest");
    Click("LTest_0");
    EXPECT_TRUE(tests->isVisible());
    EXPECT_FALSE(help->isVisible());
    Click("LPomoc_1");
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(tests->isVisible());
    Click("LTest_1");
    EXPECT_TRUE(tests->isVisible());
    EXPECT_FALSE(help->isVisible());
    Click("LPomoc_0");
    EXPECT_TRUE(help->isVisible());
    QTest::mouseClick(Child("ImTloGlowny"), Qt::LeftButton, {}, QPoint(600, 200));
    EXPECT_FALSE(help->isVisible());
    EXPECT_FALSE(tests->isVisible());
}

TEST_F(MainWindowTest, HoverHighlightsTheEntryAndDescribesIt) {
    Show();
    Click("LTest_0");
    QTest::mouseMove(Child("LTestZNazwiskiem"), QPoint(10, 5));
    EXPECT_EQ(TextColour("LTestZNazwiskiem"), QColor(Qt::white));
    EXPECT_EQ(TextColour("LTestAnonimowo"), QColor(46, 46, 46));
    EXPECT_EQ(Child<QLabel>("LOpisMenu")->text(),
              "Jeśli zestaw pytań, z którym chcesz pracować\nznajduje się na liście zestawów pytań,\nwówczas możesz "
              "skorzystać z tej opcji.");
    QTest::mouseMove(Child("LTestAnonimowo"), QPoint(10, 5));
    EXPECT_EQ(TextColour("LTestZNazwiskiem"), QColor(46, 46, 46));
    EXPECT_EQ(TextColour("LTestAnonimowo"), QColor(Qt::white));
    QTest::mouseMove(Child("ImTloMenuTest"), QPoint(200, 120));
    EXPECT_EQ(TextColour("LTestAnonimowo"), QColor(46, 46, 46));
    EXPECT_EQ(Child<QLabel>("LOpisMenu")->text(), "");

    Click("LPomoc_1");
    QTest::mouseMove(Child("LStronaDomowa"), QPoint(10, 5));
    EXPECT_EQ(TextColour("LStronaDomowa"), QColor(Qt::white));
    EXPECT_TRUE(Child<QLabel>("LOpisMenu")->text().startsWith("Strona domowa programu."));
}

TEST_F(MainWindowTest, HelpAndHomePageAreOpenedOutside) {
    Show();
    Key(Qt::Key_F1);
    Click("LPomoc_0");
    Click("LHelp");
    Click("LStronaDomowa");
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(state.Paths.HelpPage().string())));
    EXPECT_TRUE(opened[0].path().endsWith("/Pomoc/index.htm"));
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[2], QUrl(QString::fromUtf8(kHomePage)));
}

TEST_F(MainWindowTest, WithoutABrowserHelpOpensInItsOwnWindowAndTheHomePageOffersItsAddress) {
    state.Paths.ProgramFolder = dir.Path();
    std::filesystem::create_directory(dir / "Pomoc");
    WriteFileText(dir / "Pomoc" / "index.htm", "<html><body><p>Spis</p></body></html>");
    Show();
    Key(Qt::Key_F1);
    ASSERT_TRUE(openFailed);
    openFailed();
    QWidget* help = nullptr;
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        if (topLevel->objectName() == "Pomoc")
            help = topLevel;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->findChild<QTextBrowser*>("StronaPomocy")->source(),
              QUrl::fromLocalFile(QString::fromStdString((dir / "Pomoc" / "index.htm").string())));

    Click("LPomoc_0");
    Click("LStronaDomowa");
    QString offered;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        offered = dialog->findChild<QLineEdit*>("Address")->selectedText();
        dialog->reject();
    });
    openFailed();
    EXPECT_EQ(offered, QString::fromUtf8(kHomePage));
}

TEST_F(MainWindowTest, KeysChangeTheJournalLevelOnlyWithExactlyCtrlAlt) {
    Show();
    Key(Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(state.EventJournal.Level(), 3);
    Key(Qt::Key_5, Qt::ControlModifier | Qt::AltModifier);
    Key(Qt::Key_1, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_2, Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier);
    Key(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(state.EventJournal.Level(), 3);
    Key(Qt::Key_2, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(state.EventJournal.Level(), 2);
    EXPECT_EQ(JournalFile().back(), "Zmieniono poziom zdarzen. Aktualny poziom, to: 2");
    Key(Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(state.LearnerSettings.WindowMode, 0);
}

TEST_F(MainWindowTest, DroppedFilesAreAnsweredByTheFirstName) {
    Show();
    const auto drop = [this](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &dropped);
    };
    drop({QUrl::fromLocalFile("/tmp/a.txt"), QUrl::fromLocalFile("/tmp/b.skq"), QUrl::fromLocalFile("/tmp/c.skq")});
    drop({QUrl::fromLocalFile("/tmp/Zestaw.SKQ")});
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rModuł Ludra nie obsługuje plików tego typu.", kUseTheMenu));
    ASSERT_FALSE(record.Boxes.empty());
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
}

TEST_F(MainWindowTest, CommandLineIsAnsweredOnceShown) {
    window.SetCommandLine({"Zestaw.SKQ"});
    window.CheckCommandLine();
    EXPECT_THAT(record.Boxes, IsEmpty());
    window.SetCommandLine({"notatki.txt", "a.skq"});
    Show();
    QTest::qWait(10);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kUseTheMenu));
}

TEST_F(MainWindowTest, ReadOnlySettingsKeepTheirLevelButTheRunUsesTheNewOne) {
    Show();
    const std::string before = ReadFileText(state.Paths.SettingsFile);
    std::filesystem::permissions(state.Paths.SettingsFile, std::filesystem::perms::owner_read);
    Key(Qt::Key_4, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(state.EventJournal.Level(), 4);
    EXPECT_EQ(ReadFileText(state.Paths.SettingsFile), before);
    EXPECT_EQ(JournalFile().back(), "Problem z zapisem zmiany ustawień do ini.");
    Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(state.LearnerSettings.WindowMode, 1) << "the switch applies for the run";
    EXPECT_EQ(ReadFileText(state.Paths.SettingsFile), before);
}

TEST_F(MainWindowTest, PointingAtAFolderStartsItsSetOrSaysItIsEmpty) {
    Show();
    std::vector<QString> asked;
    QString answer;
    window.ChooseFolder = [&](const QString& start) {
        asked.push_back(start);
        return answer;
    };
    Click("LTest_0");
    Click("LTestAnonimowo"); // cancelled: nothing changes
    EXPECT_FALSE(Child("PPodMenuTest")->isVisible());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QString::fromStdString(state.Paths.DocumentsFolder.string()));
    EXPECT_THAT(record.Boxes, IsEmpty());

    std::filesystem::create_directory(dir / "pusty");
    answer = QString::fromStdString((dir / "pusty").string());
    Click("LTest_0");
    Click("LTestAnonimowo");
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany folder nie zawiera plików pytań."));
    Click("LTest_0");
    Click("LTestAnonimowo");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2], answer) << "the dialog opens at the folder chosen last";
    EXPECT_FALSE(Child("PTest")->isVisible());
}

TEST_F(MainWindowTest, CancellingTheDialogAfterARunChangesNothing) {
    Show();
    const auto set = dir / "zestaw";
    std::filesystem::create_directory(set);
    QuestionDocument question;
    question.AnswerCount = 3;
    question.QuestionText = "Ile to 2 + 2?";
    question.Answers = {"4", "5", "3", "", ""};
    question.Key = "100";
    WritePakFile(set / "p1.skq", {{"Sezz0.xml", WriteQuestion40(question)}});

    QString answer = QString::fromStdString(set.string());
    window.ChooseFolder = [&answer](const QString&) { return answer; };
    Click("LTest_0");
    Click("LTestAnonimowo");
    EXPECT_TRUE(Child("PTest")->isVisible());
    state.LearnerSettings.ConfirmResign = false;
    Click("LZrezygnuj");
    EXPECT_FALSE(Child("PTest")->isVisible());

    answer.clear();
    Click("LTest_0");
    Click("LTestAnonimowo");
    EXPECT_FALSE(Child("PTest")->isVisible());
    EXPECT_EQ(state.Run.SetFolder, set);
    EXPECT_THAT(state.Run.QuestionFiles, ElementsAre("p1.skq"));
    EXPECT_THAT(record.Boxes, IsEmpty());
    state.LearnerSettings.ConfirmResign = true;
}
