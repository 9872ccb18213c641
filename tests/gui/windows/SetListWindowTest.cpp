#include "gui/windows/SetListWindow.h"

#include "core/base/CodePage.h"
#include "core/session/TestRun.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/ScrollBar.h"
#include "gui/windows/MainWindow.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string kNoChoiceBox = u"Podaj poprawnie konieczne dane.\rWybierz zestaw z podanej listy.";
const std::u16string kEmptySetBox = u"\rWskazany zestaw nie zawiera plików pytań.";
const std::u16string kListBox = u"Problem z otwarciem pliku listy zestawów.\rBrak pliku lub plik jest uszkodzony.";

// Writes a set list file of the lines (UTF-8 here, Windows-1250 in the file).
void WriteSetList(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string body = "<ilw>" + std::to_string(lines.size()) + "</ilw>";
    for (std::size_t i = 0; i < lines.size(); ++i)
        body += "<dx" + std::to_string(i) + ">" + lines[i] + "</dx" + std::to_string(i) + ">";
    WritePakFile(path, {{"Selz0.xml", ToBytes(Utf8ToAnsi("<?xml version=\"1.0\"?><lsz>" + body + "</lsz>"))}});
}

QuestionDocument Question(const std::string& text) {
    QuestionDocument question;
    question.AnswerCount = 3;
    question.QuestionText = Utf8ToAnsi(text);
    question.Answers = {"tak", "nie", "nie wiem", "", ""};
    question.Key = "100";
    return question;
}

// A category open on a double click, a set in it, a grey set, and a set whose folder is gone.
const std::vector<std::string> kSchool = {
    "1*0*2*0*1*0*Matematyka**",
    "2*1*0*1*1*0*Ułamki*\\MATEMATYKA\\ułamki*",
    "3*1*0*1*1*3*Geometria*\\Matematyka\\Geometria*",
    "4*0*0*0*1*0*Pusty zestaw*\\Brak*",
};

std::vector<std::string> TopLevelSets(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(std::to_string(i) + "*0*0*0*1*0*Zestaw " + std::to_string(i) + "*\\z*");
    return lines;
}

// Runs the action once the window is the modal one: the caller's exec() is under way.
// Events processed before that (the menu lets pending ones run) only postpone it.
void WhenModal(QWidget& expected, std::function<void()> action, int postponements = 20) {
    QTimer::singleShot(0, [&expected, action = std::move(action), postponements]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == &expected) {
            action();
        } else if (!modal && postponements > 0) {
            WhenModal(expected, std::move(action), postponements - 1);
        } else {
            ADD_FAILURE() << "the set list window is not the modal window";
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(-1);
        }
    });
}

class SetListWindowTest : public ::testing::Test {
protected:
    Recorder record;
    FreshProgramState state{record}; // first in, last out

    SetListWindowTest() {
        state.LearnerSettings.ConfirmResign = false;
        WriteQuestionSet(state.Run, dir / "Matematyka" / "Ułamki",
                         {Question("Ile to jest 1/2 + 1/2?"), Question("Czy 2/4 = 1/2?")});
        state.Run.QuestionFiles.clear();
        state.Run.SetFolder.clear();
        UseList(kSchool);
    }
    ~SetListWindowTest() override { state.Run.Resign(); }

    void UseList(const std::vector<std::string>& lines) {
        WriteSetList(dir / "Lista.skz", lines);
        state.LearnerSettings.ListFilePath = (dir / "Lista.skz").string();
    }
    void Open() {
        ASSERT_TRUE(window.Prepare(stand_in.top));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T = QWidget> T& Child(const char* name) {
        T* child = window.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }
    QString Choice() { return Child<QLabel>("LTest").text(); }
    static QPoint RowPoint(int row) { return {60, kTreeFirstRowTop + kTreeRowHeight * row + 6}; }
    void ClickRow(int row) { QTest::mouseClick(&Child("ImDrzewo"), Qt::LeftButton, {}, RowPoint(row)); }
    void DoubleClickRow(int row) { QTest::mouseDClick(&Child("ImDrzewo"), Qt::LeftButton, {}, RowPoint(row)); }
    void Click(const char* name) { QTest::mouseClick(&Child(name), Qt::LeftButton, {}, QPoint(10, 10)); }
    bool ScrollBarShown() { return Child("PPodListweTestow").isVisibleTo(&window); }

    TempDir dir;
    MainWindowStandIn stand_in;
    SetListWindow window{state};

private:
};

} // namespace

TEST_F(SetListWindowTest, ComponentsKeepTheirPlacesAndLooks) {
    EXPECT_EQ(window.objectName(), "FOknoLTestow");
    EXPECT_EQ(window.size(), QSize(310, 487));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isHidden());
    const std::vector<std::pair<const char*, QRect>> places = {
        {"ImTlo", {0, 0, 310, 487}},       {"PPodListeTestow", {33, 95, 245, 260}},
        {"ImDrzewo", {0, 0, 220, 2000}},   {"PPodListweTestow", {226, 0, 16, 255}},
        {"LWprowadz", {181, 384, 89, 24}}, {"LAnuluj", {181, 420, 89, 24}},
        {"LTest", {29, 451, 249, 13}},
    };
    for (const auto& [name, place] : places)
        EXPECT_EQ(Child(name).geometry(), place) << name;
    EXPECT_EQ(Child("ImDrzewo").parent(), &Child("PPodListeTestow"));
    EXPECT_EQ(Child("PPodListweTestow").parent(), &Child("PPodListeTestow"));
    auto& bar = Child<ScrollBar>("ListwaV");
    EXPECT_EQ(bar.parent(), &Child("PPodListweTestow"));
    EXPECT_EQ(bar.geometry(), QRect(0, 0, 16, 255));
    EXPECT_EQ(Child("LWprowadz").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Child("LAnuluj").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(Child("LTest").font().bold());
    EXPECT_EQ(Child<QLabel>("LTest").palette().color(QPalette::WindowText), QColor(46, 46, 46));
    EXPECT_EQ(Child("PPodListeTestow").palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(Child<QLabel>("ImTlo").pixmap().size(), QSize(310, 487));
}

TEST_F(SetListWindowTest, PlacedBesideTheMainWindowOrItsPanelWithoutAChoiceShown) {
    window.Chosen().Name = "Ułamki";
    ASSERT_TRUE(window.Prepare(stand_in.top));
    EXPECT_EQ(window.pos(), QPoint(380, 111));
    EXPECT_EQ(Choice(), "Wybór zestawu: brak wyboru. ");
    EXPECT_EQ(window.Chosen().Name, "Ułamki") << "showing keeps the choice";
    ASSERT_TRUE(window.Prepare(stand_in.panel));
    EXPECT_EQ(window.pos(), QPoint(410, 151));
}

TEST_F(SetListWindowTest, DoubleClickOpensACategoryAndAClickChoosesASet) {
    Open();
    EXPECT_THAT(window.Tree().VisibleCount, 2);
    DoubleClickRow(0);
    EXPECT_EQ(window.Tree().VisibleCount, 4);
    ClickRow(1);
    EXPECT_EQ(Choice(), "Wybór zestawu: Ułamki");
    EXPECT_EQ(window.Chosen().Name, Utf8ToAnsi("Ułamki"));
    EXPECT_EQ(window.Chosen().Folder, dir / "Matematyka" / "Ułamki") << "found ignoring letter case";
    ClickRow(0);
    EXPECT_EQ(Choice(), "Wybór zestawu: Ułamki") << "a category leaves the choice";
    QTest::mouseClick(&Child("ImDrzewo"), Qt::RightButton, {}, RowPoint(2));
    EXPECT_EQ(Choice(), "Wybór zestawu: Geometria") << "any button chooses";
    DoubleClickRow(0);
    EXPECT_EQ(window.Tree().VisibleCount, 2);
}

TEST_F(SetListWindowTest, RowsAreDrawnInTheLookOfTheirState) {
    Open();
    DoubleClickRow(0);
    const QImage picture = Child("ImDrzewo").grab().toImage();
    // Pixels of each row's band that are not white, by what they look like.
    const auto count = [&picture](int row, const std::function<bool(QColor)>& looks) {
        int found = 0;
        for (int y = kTreeFirstRowTop + kTreeRowHeight * row; y < kTreeFirstRowTop + kTreeRowHeight * (row + 1); ++y)
            for (int x = 0; x < kTreePictureWidth; ++x)
                found += looks(picture.pixelColor(x, y)) ? 1 : 0;
        return found;
    };
    const auto green = [](QColor c) { return c.green() > c.red() + 60 && c.green() > c.blue() + 60; };
    const auto grey = [](QColor c) { return c.red() == c.green() && c.green() == c.blue() && c.red() < 200; };
    EXPECT_GT(count(0, green), 20) << "the selected category";
    EXPECT_EQ(count(1, green), 0);
    EXPECT_GT(count(2, grey), 20) << "the grey set";
    EXPECT_EQ(count(4, [](QColor c) { return c != Qt::white; }), 0) << "below the last row";
    // The longest horizontal run of ink in a row's band: an underline spans the text.
    const auto longestRun = [&picture](int row, int fromX) {
        int longest = 0;
        for (int y = kTreeFirstRowTop + kTreeRowHeight * row; y < kTreeFirstRowTop + kTreeRowHeight * (row + 1); ++y)
            for (int x = fromX, run = 0; x < kTreePictureWidth; ++x) {
                run = picture.pixelColor(x, y).lightness() < 200 ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        return longest;
    };
    EXPECT_GT(longestRun(1, 38), 25) << "a set is underlined";
    EXPECT_LT(longestRun(0, 18), 12) << "a category is not";
    // The mark in front of a category, in the 17 px before its text.
    const auto markInk = [&picture](int row) {
        int ink = 0;
        for (int y = kTreeFirstRowTop + kTreeRowHeight * row; y < kTreeFirstRowTop + kTreeRowHeight * (row + 1); ++y)
            for (int x = 1; x < 18; ++x)
                ink += picture.pixelColor(x, y) != Qt::white ? 1 : 0;
        return ink;
    };
    EXPECT_GT(markInk(0), 10);
    EXPECT_EQ(markInk(3), 0) << "a set has no mark";
}

TEST_F(SetListWindowTest, SeventeenRowsBringTheScrollBarAndTheWheelScrollsToo) {
    UseList(TopLevelSets(16));
    Open();
    EXPECT_FALSE(ScrollBarShown());
    UseList(TopLevelSets(17));
    Open();
    ASSERT_TRUE(ScrollBarShown());
    auto& bar = Child<ScrollBar>("ListwaV");
    EXPECT_EQ(bar.Max(), 1);
    EXPECT_EQ(bar.LargeChange(), 15);
    EXPECT_EQ(bar.SmallChange(), 14);
    EXPECT_EQ(bar.SmallChangeMax(), 5);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(1);
    EXPECT_EQ(Child("ImDrzewo").y(), -16);
    ClickRow(15); // the picture's row under the click, whatever the scroll
    EXPECT_EQ(Choice(), "Wybór zestawu: Zestaw 16");
    bar.SetPosition(0);
    QWheelEvent down(QPointF(50, 50), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Child("ImDrzewo"), &down);
    EXPECT_EQ(bar.Position(), 1);
    EXPECT_EQ(Child("ImDrzewo").y(), -16);
    Open();
    EXPECT_EQ(Child("ImDrzewo").y(), 0) << "a new showing starts at the top";
    EXPECT_EQ(bar.Position(), 0);
}

TEST_F(SetListWindowTest, AnEmptyListShowsAWhiteTreeWithoutAScrollBar) {
    UseList({});
    Open();
    ClickRow(0);
    EXPECT_EQ(Choice(), "Wybór zestawu: brak wyboru. ");
    EXPECT_FALSE(ScrollBarShown());
    const QImage picture = Child("ImDrzewo").grab(QRect(0, 0, 220, 300)).toImage();
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), [] {
        QImage white(220, 300, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }());
}

TEST_F(SetListWindowTest, ConfirmWithoutAChoiceTellsAndStaysOpen) {
    bool stillOpen = false;
    WhenModal(window, [&] {
        Click("LWprowadz");
        stillOpen = window.isVisible();
        Click("LAnuluj");
    });
    window.ShowSetList(stand_in.top);
    EXPECT_TRUE(stillOpen);
    EXPECT_THAT(record.Boxes,
                ElementsAre(::testing::FieldsAre(WarningButtonSet::Close, WarningIcon::Warning, kNoChoiceBox)));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(state.Run.SessionRunning);
}

TEST_F(SetListWindowTest, CancelClosesAndForgetsTheChoice) {
    WhenModal(window, [&] {
        DoubleClickRow(0);
        ClickRow(1);
        Click("LAnuluj");
    });
    window.ShowSetList(stand_in.top);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.Chosen().Name, "");
    EXPECT_FALSE(state.Run.SessionRunning);
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(SetListWindowTest, AListThatCannotBeReadShowsNoWindow) {
    state.LearnerSettings.ListFilePath = (dir / "brak.skz").string();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (window.isVisible()) {
            shown = true;
            window.done(-1);
        }
    });
    window.ShowSetList(stand_in.top);
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kListBox));
}

TEST_F(SetListWindowTest, ASetWhoseFolderIsMissingIsReportedAfterClosing) {
    WhenModal(window, [&] {
        ClickRow(1);
        Click("LWprowadz");
    });
    window.ShowSetList(stand_in.top);
    EXPECT_FALSE(window.isVisible());
    EXPECT_THAT(record.Boxes,
                ElementsAre(::testing::FieldsAre(WarningButtonSet::Close, WarningIcon::Warning, kEmptySetBox)));
    EXPECT_EQ(state.Run.SetFolder, dir / "Brak");
    EXPECT_FALSE(state.Run.SessionRunning);
}

TEST_F(SetListWindowTest, TheChoiceOfAnEarlierShowingIsConfirmedWithoutAClick) {
    WhenModal(window, [&] {
        DoubleClickRow(0);
        ClickRow(1);
        Click("LWprowadz");
    });
    window.ShowSetList(stand_in.top);
    ASSERT_TRUE(state.Run.SessionRunning);
    state.Run.Resign();
    WhenModal(window, [&] {
        EXPECT_EQ(Choice(), "Wybór zestawu: brak wyboru. ");
        EXPECT_EQ(window.Tree().VisibleCount, 2) << "categories come back closed";
        Click("LWprowadz");
    });
    window.ShowSetList(stand_in.top);
    EXPECT_TRUE(state.Run.SessionRunning);
    EXPECT_EQ(state.Run.SetFolder, dir / "Matematyka" / "Ułamki");
    EXPECT_THAT(record.Boxes, IsEmpty());
}

// The whole road from the main window's menu into the first question of the chosen set.
TEST_F(SetListWindowTest, FromTheTestsMenuToTheFirstQuestion) {
    // The main window reads its settings from the test's folder.
    const ScopedEnvironment config("XDG_CONFIG_HOME", dir.Path().string());
    MainWindow mainWindow{state};
    mainWindow.SetSetList([this]() -> SetListWindow& { return window; });
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    QApplication::processEvents();
    state.LearnerSettings.ListFilePath = (dir / "Lista.skz").string(); // after start-up has checked the settings' path

    QTest::mouseClick(mainWindow.findChild<QWidget*>("LTest_0"), Qt::LeftButton, {}, QPoint(3, 3));
    QPoint shownAt;
    bool submenuHidden = false;
    WhenModal(window, [&] {
        shownAt = window.pos();
        submenuHidden = !mainWindow.findChild<QWidget*>("PPodMenuTest")->isVisible();
        DoubleClickRow(0);
        ClickRow(1);
        Click("LWprowadz");
    });
    QTest::mouseClick(mainWindow.findChild<QWidget*>("LTestZNazwiskiem"), Qt::LeftButton, {}, QPoint(3, 3));
    QApplication::processEvents();

    EXPECT_TRUE(submenuHidden);
    EXPECT_EQ(shownAt, mainWindow.pos() + QPoint(280, 61));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(state.Run.SessionRunning);
    EXPECT_TRUE(mainWindow.findChild<QWidget*>("PTest")->isVisible());
    EXPECT_EQ(mainWindow.findChild<QLabel*>("LPytanie")->text(), "Ile to jest 1/2 + 1/2?");
    EXPECT_THAT(record.Boxes, IsEmpty());
    state.Run.Resign();
}

// Keys do what the mouse does: Right opens the first category, Down chooses the set under
// it (its row gets the focus ring, which a click takes away), Escape cancels as Anuluj.
TEST_F(SetListWindowTest, KeysMoveOpenChooseAndCancel) {
    WhenModal(window, [&] {
        QTest::keyClick(window.windowHandle(), Qt::Key_Right);
        EXPECT_EQ(window.Tree().VisibleCount, 4);
        QTest::keyClick(window.windowHandle(), Qt::Key_Down);
        EXPECT_EQ(Choice(), "Wybór zestawu: Ułamki");
        EXPECT_EQ(window.FocusedRowTop(), kTreeFirstRowTop + kTreeRowHeight);
        ClickRow(2);
        EXPECT_EQ(window.FocusedRowTop(), std::nullopt);
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    });
    window.ShowSetList(stand_in.top);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.Chosen().Name, "");
    EXPECT_FALSE(state.Run.SessionRunning);
}

// The drawn tree reads as a tree whose rows carry their names and states.
TEST_F(SetListWindowTest, ScreenReadersReadTheTreeRows) {
    Open();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&Child("ImDrzewo"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    ASSERT_EQ(tree->childCount(), 2);
    QAccessibleInterface* category = tree->child(0);
    EXPECT_EQ(category->role(), QAccessible::TreeItem);
    EXPECT_EQ(category->text(QAccessible::Name), "Matematyka, kategoria, poziom 1, zwinięta");
    EXPECT_TRUE(category->state().selected);
    EXPECT_TRUE(category->state().collapsed);
    EXPECT_EQ(category->parent(), tree);
    EXPECT_EQ(tree->indexOfChild(category), 0);
    DoubleClickRow(0);
    ClickRow(1);
    ASSERT_EQ(tree->childCount(), 4);
    EXPECT_EQ(tree->child(0), category) << "a row keeps its object as the tree changes";
    EXPECT_TRUE(category->state().expanded);
    EXPECT_FALSE(category->state().selected);
    EXPECT_EQ(tree->child(1)->text(QAccessible::Name), "Ułamki, zestaw, poziom 2");
    EXPECT_TRUE(tree->child(1)->state().selected);
    const QPoint secondRow = Child("ImDrzewo").mapToGlobal(RowPoint(1));
    EXPECT_EQ(tree->childAt(secondRow.x(), secondRow.y()), tree->child(1));
    const QPoint belowTheRows = Child("ImDrzewo").mapToGlobal(RowPoint(4));
    EXPECT_EQ(tree->childAt(belowTheRows.x(), belowTheRows.y()), nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&Child("LWprowadz"))->role(), QAccessible::Button);
}
