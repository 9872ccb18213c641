#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "core/session/TestScreenTexts.h"
#include "core/storage/SettingsFile.h"
#include "gui/windows/MainWindow.h"
#include "support/FreshProgramState.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window over a set written into a fresh folder, driven by keys.
class KeyedTestScreen : public ::testing::Test {
protected:
    Recorder record{WarningButton::Yes};
    FreshProgramState state{record}; // first in, last out

    void SetUp() override {
        state.Generator.Seed(5);
        state.LearnerSettings.SoundOn = false;
        window = std::make_unique<MainWindow>(state);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override { window.reset(); }

    void Start(const std::vector<QuestionDocument>& questions) {
        WriteQuestionSet(state.Run, dir.Path() / "set", questions);
        state.Run.StartSession();
        QApplication::processEvents();
    }
    void Press(Qt::Key key) { QTest::keyClick(window.get(), key); }
    QWidget* Child(const char* name) { return window->findChild<QWidget*>(name); }
    QString Text(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    bool ChosenAt(int position) const {
        return state.Run.Current.Question.Answer(AnswerAtPosition(state.Run.Current.Question, position)).Selected;
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(KeyedTestScreen, KeysAnswerCheckAndGoOnWithVerdictAndProgress) {
    std::vector<QuestionDocument> set{MakeQuestion(4, "Pierwsze", "0010"), MakeQuestion(3, "Drugie", "100")};
    set[0].QuestionType = 2; // a second press takes the choice back
    Start(set);
    EXPECT_EQ(Text("LPostep"), "Pytanie 1 z 2");
    const QPixmap plain = window->findChild<QLabel*>("ImOdp2")->pixmap();
    Press(Qt::Key_B);
    EXPECT_TRUE(ChosenAt(2));
    EXPECT_NE(window->findChild<QLabel*>("ImOdp2")->pixmap().toImage(), plain.toImage());
    Press(Qt::Key_2); // the digit names the same tile
    EXPECT_FALSE(ChosenAt(2));
    Press(Qt::Key_4);
    EXPECT_TRUE(Text("LWerdykt").isEmpty());

    Press(Qt::Key_Return);
    EXPECT_EQ(state.Run.GivenCount, 1);
    EXPECT_FALSE(Child("PButStop")->isVisible());
    EXPECT_EQ(Text("LWerdykt").toStdU16String(), VerdictText(state.Run.Current.Question));
    EXPECT_FALSE(Text("LWerdykt").isEmpty());

    Press(Qt::Key_Space);
    EXPECT_TRUE(Child("PButStop")->isVisible());
    EXPECT_TRUE(Text("LWerdykt").isEmpty());
    EXPECT_EQ(Text("LPostep"), "Pytanie 2 z 2");
    EXPECT_THAT(record.Boxes, ::testing::IsEmpty());
}

TEST_F(KeyedTestScreen, HintAndEscapeDoWhatTheirControlsDo) {
    QuestionDocument hinted = MakeQuestion(3, "Z podpowiedzią", "010");
    hinted.Hint = Utf8ToAnsi("Pomyśl");
    Start({hinted});
    Press(Qt::Key_H);
    EXPECT_TRUE(Child("ptekstPodpowiedzi")->isVisible());
    Press(Qt::Key_Escape);
    ASSERT_EQ(record.Boxes.size(), 1u); // asked first, as the close spot asks during a run
    EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::YesNoCancel);
    EXPECT_FALSE(Child("PTest")->isVisible());
    Press(Qt::Key_A); // the hidden panel takes no keys
    EXPECT_FALSE(ChosenAt(1));
}

TEST_F(KeyedTestScreen, THandsTheKeyboardToTheTextWindowWhenItIsShown) {
    QWidget text;
    QWidget picture;
    window->SetSideWindows([&text] { return &text; }, [&picture] { return &picture; });
    Start({MakeQuestion(3, "Pierwsze", "100")});
    Press(Qt::Key_T); // the window is not shown: nothing to go to
    EXPECT_NE(QApplication::activeWindow(), &text);
    text.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&text));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Press(Qt::Key_T);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&text));
}

TEST_F(KeyedTestScreen, RunTextsLieInFreeSpaceOfThePanel) {
    QWidget* panel = Child("PTest");
    const QList<QWidget*> controls = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const char* name : {"LWerdykt", "LPostep"}) {
        const QRect place = Child(name)->geometry();
        EXPECT_EQ(Child(name)->parentWidget(), panel) << name;
        EXPECT_TRUE(panel->rect().contains(place)) << name;
        for (QWidget* control : controls) {
            const QString other = control->objectName();
            if (other == name || other == "ImTloTest")
                continue;
            EXPECT_FALSE(place.intersects(control->geometry())) << name << " covers " << other.toStdString();
        }
    }
}
