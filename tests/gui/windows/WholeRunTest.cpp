#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "gui/windows/MainWindow.h"
#include "support/FreshProgramState.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/RecordingViews.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::u16string kConfirm = u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?";

// The real main window, its test panel driven by clicks; the summary, sounds and
// attachment windows are recorded instead of shown. The run's decisions are the
// core's to test: here clicks reach the engine and its answers reach the screen.
class WholeRun : public ::testing::Test {
protected:
    Recorder record{WarningButton::Yes};
    FreshProgramState state{record}; // first in, last out

    void SetUp() override {
        state.Generator.Seed(5);
        state.Run.SetSessionClock([this] { return now; });
        // The window's test screen replaces the recorded one; the rest stays recorded.
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

    template <typename T = QWidget> T* Child(const std::string& name) {
        T* child = window->findChild<T*>(QString::fromStdString(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Text(const std::string& name) { return Child<QLabel>(name)->text(); }
    void Click(const std::string& name) {
        QTest::mouseClick(Child(name), Qt::LeftButton, {}, QPoint(3, 3));
        QApplication::processEvents();
    }
    bool Shown(const std::string& name) { return Child(name)->isVisible(); }
    int PositionOf(int answer) const { return state.Run.Current.Question.Answer(answer).Position; }
    void ClickAnswer(int answer) { Click("ImOdp" + std::to_string(PositionOf(answer))); }
    // The first answer whose key character is (or is not) "1".
    static int AnswerWithKey(const QuestionDocument& document, bool correct) {
        for (int k = 1; k <= document.AnswerCount; ++k)
            if ((document.Key[static_cast<std::size_t>(k - 1)] == '1') == correct)
                return k;
        return 0;
    }
    // Answers the question on screen by clicks and checks it.
    void CheckByClicks(bool right) {
        ClickAnswer(AnswerWithKey(documents[static_cast<std::size_t>(CurrentQuestionIndexShown())], right));
        Click("ImButStop");
    }
    // The index of the question on screen, found by its text.
    int CurrentQuestionIndexShown() {
        for (std::size_t i = 0; i < documents.size(); ++i)
            if (documents[i].QuestionText == state.Run.Current.Question.QuestionText)
                return static_cast<int>(i);
        ADD_FAILURE() << "unknown question on screen";
        return 0;
    }
    // Every visible label of the test panel.
    std::vector<QString> VisibleTexts() {
        std::vector<QString> shown;
        for (QLabel* label : Child("PTest")->findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                shown.push_back(label->text());
        return shown;
    }

    // The attachment windows closed, in order.
    std::vector<std::string> Closed() const {
        std::vector<std::string> closed;
        for (const std::string& call : views.Calls)
            if (call == "ClosePictureWindow" || call == "CloseTextWindow")
                closed.push_back(call);
        return closed;
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    RecordingViews views{state.Run};
    std::unique_ptr<MainWindow> window;
    std::vector<QuestionDocument> documents;
    double now = 46200.5;

private:
};

TEST_F(WholeRun, ClicksCarryARunToTheSummary) {
    state.LearnerSettings.RepeatWrong = true;
    Start({MakeQuestion(4, "Pierwsze", "0010"), MakeQuestion(5, "Drugie", "00001"), MakeQuestion(3, "Trzecie", "100")});
    ASSERT_TRUE(Shown("PTest"));

    CheckByClicks(true);
    EXPECT_FALSE(Shown("PButStop"));
    EXPECT_EQ(Text("LStan"), "Pytań w zestawie: 3\nUdzielonych odpowiedzi: 1\nPoprawnych odpowiedzi: 1\n\n"
                             "Skuteczność chwilowa: 100%");
    Click("LButNastepne");
    EXPECT_TRUE(Shown("PButStop"));
    EXPECT_EQ(Text("LPytanie"), "Drugie");

    CheckByClicks(false);
    Click("LButNastepne");
    EXPECT_EQ(Text("LPytanie"), "Trzecie");
    CheckByClicks(true);
    Click("LButNastepne");
    // The repeat pass brings the second question back.
    EXPECT_EQ(Text("LPytanie"), "Drugie");
    EXPECT_THAT(views.Summaries, IsEmpty());
    CheckByClicks(true);

    EXPECT_FALSE(state.Run.SessionRunning);
    EXPECT_TRUE(Shown("PTest"));
    EXPECT_TRUE(Shown("PButStop"));
    EXPECT_EQ(views.Summaries.size(), 1u);
    EXPECT_THAT(record.Boxes, IsEmpty());

    // After the summary only the close spot answers, and it asks nothing.
    const QString status = Text("LStan");
    for (int p = 1; p <= 5; ++p)
        Click("ImOdp" + std::to_string(p));
    Click("ImButStop");
    Click("LButNastepne");
    EXPECT_EQ(Text("LStan"), status);
    EXPECT_EQ(Text("LPytanie"), "Drugie");
    EXPECT_EQ(views.Summaries.size(), 1u);
    Click("LZrezygnuj");
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(Closed(), ElementsAre("ClosePictureWindow", "CloseTextWindow"));
}

TEST_F(WholeRun, ThreeAnswersAfterFiveHideTheOldRows) {
    Start({MakeQuestion(5, "Pięć", "01000"), MakeQuestion(3, "Trzy", "001"), MakeQuestion(5, "Znów pięć", "00010")});
    for (int p = 1; p <= 5; ++p) {
        EXPECT_TRUE(Shown("POdp" + std::to_string(p))) << p;
        EXPECT_TRUE(Shown("LOdp" + std::to_string(p))) << p;
    }
    CheckByClicks(true);
    Click("LButNastepne");
    for (int p = 4; p <= 5; ++p) {
        EXPECT_FALSE(Shown("POdp" + std::to_string(p))) << p;
        EXPECT_FALSE(Shown("LOdp" + std::to_string(p))) << p;
    }
    // No text of the five-answer question is left in view.
    for (const QString& text : VisibleTexts()) {
        EXPECT_FALSE(text.startsWith("Pięć")) << text.toStdString();
        EXPECT_FALSE(text.contains("odpowiedź d") || text.contains("odpowiedź e")) << text.toStdString();
    }
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(Text("LOdp" + std::to_string(PositionOf(k))).toStdU16String(),
                  AnsiToWide(documents[1].Answers[static_cast<std::size_t>(k - 1)]));
    CheckByClicks(false);
    Click("LButNastepne");
    // Five answers again: rows 4 and 5 come back with the new texts.
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Text("LOdp" + std::to_string(PositionOf(k))).toStdU16String(),
                  AnsiToWide(documents[2].Answers[static_cast<std::size_t>(k - 1)]));
    EXPECT_TRUE(Shown("POdp5"));
    EXPECT_TRUE(Shown("LOdp5"));
}

TEST_F(WholeRun, ClosingMidRunAsksAndOnlyYesCloses) {
    Start({MakeQuestion(3, "Jeden", "100"), MakeQuestion(3, "Dwa", "010"), MakeQuestion(3, "Trzy", "001")});
    CheckByClicks(false);
    const QString status = Text("LStan");
    {
        record.Answer = WarningButton::No;
        record.Boxes.clear();
        Click("LZrezygnuj");
        EXPECT_EQ(record.BoxTexts(), std::vector<std::u16string>{kConfirm});
    }
    EXPECT_TRUE(Shown("PTest"));
    EXPECT_THAT(Closed(), IsEmpty());
    EXPECT_EQ(Text("LStan"), status);
    // The run goes on where it was.
    EXPECT_FALSE(Shown("PButStop"));
    Click("LButNastepne");
    EXPECT_EQ(Text("LPytanie"), "Dwa");

    {
        record.Answer = WarningButton::Yes;
        record.Boxes.clear();
        Click("LZrezygnuj");
        EXPECT_EQ(record.BoxTexts(), std::vector<std::u16string>{kConfirm});
    }
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(Closed(), ElementsAre("ClosePictureWindow", "CloseTextWindow"));
    EXPECT_THAT(views.Summaries, IsEmpty());
}

TEST_F(WholeRun, ClosingWithoutConfirmationAsksNothing) {
    state.LearnerSettings.ConfirmResign = false;
    Start({MakeQuestion(3, "Jeden", "100"), MakeQuestion(3, "Dwa", "010")});
    Click("LZrezygnuj");
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(views.Summaries, IsEmpty());
}

TEST_F(WholeRun, EachQuestionsAttachmentsReachTheirWindows) {
    Start({MakeQuestion(3, "A", "100", "mapa.jpg", "opis.txt"), MakeQuestion(3, "B", "100")});
    CheckByClicks(true);
    Click("LButNastepne");
    EXPECT_THAT(views.Pictures, ElementsAre("+mapa.jpg", "-"));
    EXPECT_THAT(views.Texts, ElementsAre("+opis.txt", "-"));
}

} // namespace
