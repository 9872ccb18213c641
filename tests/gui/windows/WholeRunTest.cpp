#include "core/base/CodePage.h"
#include "core/base/Random.h"
#include "core/session/UObslugaTest.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/UIni.h"
#include "core/storage/UProcReadWrite.h"
#include "gui/windows/UFTloBig.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/SessionState.h"
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
// attachment windows are recorded instead of shown.
class WholeRun : public ::testing::Test {
protected:
    SessionState state_; // first in, last out

    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
        SeedRandom(5);
        SetSessionClock([this] { return now; });
        window = std::make_unique<TFTloBig>();
        // Keep the window's own hooks and record the rest.
        TestScreenHooks hooks = SetTestScreenHooks({});
        hooks.ShowSummary = [this](const SummaryReport& report) { summaries.push_back(report); };
        hooks.PlaySound = [this](const char* sound) { sounds.emplace_back(sound); };
        hooks.ShowAttachedText = [this](const std::string& name) { texts.push_back("+" + name); };
        hooks.HideAttachedText = [this] { texts.emplace_back("-"); };
        hooks.ShowPicture = [this](const std::string& name) { pictures.push_back("+" + name); };
        hooks.HidePicture = [this] { pictures.emplace_back("-"); };
        hooks.ClosePictureWindow = [this] { closed.emplace_back("picture"); };
        hooks.CloseTextWindow = [this] { closed.emplace_back("text"); };
        ASSERT_TRUE(hooks.ShowQuestion);
        ASSERT_TRUE(hooks.UpdateStatusLine);
        SetTestScreenHooks(std::move(hooks));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        unsetenv("XDG_CONFIG_HOME");
        WindowMode = 0;
    }

    void Start(const std::vector<QuestionDocument>& questions) {
        documents = questions;
        WriteQuestionSet(dir.Path() / "set", questions);
        StartSession();
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
    static int PositionOf(int answer) { return CurrentQuestion.Answer(answer).Position; }
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
            if (documents[i].QuestionText == CurrentQuestion.QuestionText)
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

    TempDir dir;
    Recorder record{WarningButton::Tak};
    std::unique_ptr<TFTloBig> window;
    std::vector<QuestionDocument> documents;
    std::vector<SummaryReport> summaries;
    std::vector<std::string> sounds, texts, pictures, closed;
    double now = 46200.5;

private:
};

TEST_F(WholeRun, ClicksCarryARunToTheSummary) {
    RepeatWrong = true;
    Start({MakeQuestion(4, "Pierwsze", "0010"), MakeQuestion(5, "Drugie", "00001"), MakeQuestion(3, "Trzecie", "100")});
    ASSERT_TRUE(Shown("PTest"));
    now += 95.0 / 86400.0;

    CheckByClicks(true);
    EXPECT_FALSE(Shown("PButStop"));
    EXPECT_EQ(Text("LStan"), "Pytań w zestawie: 3\nUdzielonych odpowiedzi: 1\nPoprawnych odpowiedzi: 1\n\n"
                             "Skuteczność chwilowa: 100%");
    Click("LButNastepne");
    EXPECT_TRUE(Shown("PButStop"));
    EXPECT_EQ(Text("LPytanie"), "Drugie");

    CheckByClicks(false);
    EXPECT_EQ(Text("LStan"), "Pytań w zestawie: 3\nUdzielonych odpowiedzi: 2\nPoprawnych odpowiedzi: 1\n\n"
                             "Skuteczność chwilowa: 50%");
    Click("LButNastepne");
    EXPECT_EQ(Text("LPytanie"), "Trzecie");
    CheckByClicks(true);
    Click("LButNastepne");
    // The repeat pass brings the second question back.
    EXPECT_EQ(Text("LPytanie"), "Drugie");
    EXPECT_TRUE(RetryPass);
    EXPECT_THAT(summaries, IsEmpty());
    CheckByClicks(true);

    EXPECT_FALSE(SessionRunning);
    EXPECT_TRUE(Shown("PTest"));
    EXPECT_TRUE(Shown("PButStop"));
    EXPECT_THAT(sounds, ElementsAre("Ruch", "Blond", "Ruch", "Final"));
    EXPECT_EQ(Text("LStan"), "Pytań w zestawie: 3\nUdzielonych odpowiedzi: 4\nPoprawnych odpowiedzi: 3\n\n"
                             "Skuteczność chwilowa: 75%");
    ASSERT_EQ(summaries.size(), 1u);
    EXPECT_EQ(summaries[0].Text, u"  ZESTAWIENIE \r =============\r"
                                 u"Pytań w zestawie: 3\r"
                                 u"Poprawnych odpowiedzi: 2\r"
                                 u"Skuteczność: 67%\r\r"
                                 u"Udzielonych odpowiedzi: 4\r"
                                 u"Czas pracy: 1 min 35 s\r"
                                 u"Reasumując: Jest tak sobie.");
    EXPECT_THAT(record.Boxes, IsEmpty());

    // After the summary only the close spot answers, and it asks nothing.
    const QString status = Text("LStan");
    for (int p = 1; p <= 5; ++p)
        Click("ImOdp" + std::to_string(p));
    Click("ImButStop");
    Click("LButNastepne");
    EXPECT_EQ(Text("LStan"), status);
    EXPECT_EQ(Text("LPytanie"), "Drugie");
    EXPECT_EQ(summaries.size(), 1u);
    EXPECT_EQ(GivenCount, 4);
    Click("LZrezygnuj");
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(closed, ElementsAre("picture", "text"));
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
    for (const WarningButton answer : {WarningButton::Nie, WarningButton::Anuluj, WarningButton::Zamknij}) {
        SCOPED_TRACE(static_cast<int>(answer));
        Start({MakeQuestion(3, "Jeden", "100"), MakeQuestion(3, "Dwa", "010"), MakeQuestion(3, "Trzy", "001")});
        CheckByClicks(false);
        const QString status = Text("LStan");
        closed.clear();
        {
            Recorder box(answer);
            Click("LZrezygnuj");
            ASSERT_EQ(box.Boxes.size(), 1u);
            EXPECT_EQ(box.Boxes[0].Text, kConfirm);
            EXPECT_EQ(box.Boxes[0].Buttons, WarningButtonSet::YesNoCancel);
            EXPECT_EQ(box.Boxes[0].Icon, WarningIcon::Question);
        }
        EXPECT_TRUE(Shown("PTest"));
        EXPECT_THAT(closed, IsEmpty());
        EXPECT_EQ(Text("LStan"), status);
        // The run goes on where it was.
        EXPECT_FALSE(Shown("PButStop"));
        Click("LButNastepne");
        EXPECT_EQ(Text("LPytanie"), "Dwa");
        EXPECT_TRUE(SessionRunning);
    }

    Start({MakeQuestion(3, "Jeden", "100"), MakeQuestion(3, "Dwa", "010")});
    CheckByClicks(true);
    Click("LButNastepne");
    closed.clear();
    {
        Recorder box(WarningButton::Tak);
        Click("LZrezygnuj");
        EXPECT_EQ(box.BoxTexts(), std::vector<std::u16string>{kConfirm});
    }
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(closed, ElementsAre("picture", "text"));
    EXPECT_THAT(summaries, IsEmpty());
    EXPECT_EQ(GivenCount, 1);
}

TEST_F(WholeRun, ClosingWithoutConfirmationAsksNothing) {
    ConfirmResign = false;
    Start({MakeQuestion(3, "Jeden", "100"), MakeQuestion(3, "Dwa", "010")});
    Click("LZrezygnuj");
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_FALSE(Shown("PTest"));
    EXPECT_THAT(summaries, IsEmpty());
}

TEST_F(WholeRun, AttachmentsAnnouncedAtEveryQuestionWhenReloading) {
    Start({MakeQuestion(3, "A", "100", "mapa.jpg", "opis.txt"), MakeQuestion(3, "B", "100", "mapa.jpg", "opis.txt"),
           MakeQuestion(3, "C", "100", "rzeka.jpg", "inny.txt"), MakeQuestion(3, "D", "100"),
           MakeQuestion(3, "E", "100", "rzeka.jpg", "inny.txt")});
    for (int i = 0; i < 4; ++i) {
        CheckByClicks(true);
        Click("LButNastepne");
    }
    CheckByClicks(true);
    EXPECT_THAT(pictures, ElementsAre("+mapa.jpg", "+mapa.jpg", "+rzeka.jpg", "-", "+rzeka.jpg"));
    EXPECT_THAT(texts, ElementsAre("+opis.txt", "+opis.txt", "+inny.txt", "-", "+inny.txt"));
    EXPECT_EQ(summaries.size(), 1u);
}

TEST_F(WholeRun, RepeatedNamesLeftAloneWithoutReloading) {
    ReloadAttachments = false;
    Start({MakeQuestion(3, "A", "100", "mapa.jpg", "opis.txt"), MakeQuestion(3, "B", "100", "mapa.jpg", "opis.txt"),
           MakeQuestion(3, "C", "100", "rzeka.jpg", "inny.txt"), MakeQuestion(3, "D", "100"),
           MakeQuestion(3, "E", "100", "rzeka.jpg", "inny.txt"), MakeQuestion(3, "F", "100", "Rzeka.jpg", "Inny.txt")});
    for (int i = 0; i < 5; ++i) {
        CheckByClicks(true);
        Click("LButNastepne");
    }
    CheckByClicks(true);
    // Folding the picture window up forgets its name; the text window keeps its own.
    // Names differing only in case count as changed.
    EXPECT_THAT(pictures, ElementsAre("+mapa.jpg", "+rzeka.jpg", "-", "+rzeka.jpg", "+Rzeka.jpg"));
    EXPECT_THAT(texts, ElementsAre("+opis.txt", "+inny.txt", "-", "+Inny.txt"));
    EXPECT_EQ(summaries.size(), 1u);

    // A new run announces the first question's attachments again.
    pictures.clear();
    texts.clear();
    Start({MakeQuestion(3, "G", "100", "Rzeka.jpg", "Inny.txt")});
    EXPECT_THAT(pictures, ElementsAre("+Rzeka.jpg"));
    EXPECT_THAT(texts, ElementsAre("+Inny.txt"));
}

} // namespace
