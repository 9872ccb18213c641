#include "core/session/UObslugaTest.h"

#include "core/base/Random.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/UIni.h"
#include "core/storage/UProcReadWrite.h"
#include "support/Recorder.h"
#include "support/SessionState.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

constexpr double kSecond = 1.0 / 86400.0;
const std::u16string kNoChoice = u"\rDokonaj wyboru odpowiedzi.";
const std::u16string kRemoveDamaged = u"\rUsuń wadliwe pytanie z zestawu i rozpocznij ponownie.";
const std::u16string kConfirm = u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?";
const std::u16string kDamagedBox = u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony.";

struct Question {
    std::string Text;
    std::string Picture;
    std::string AttachedText;
    bool Damaged = false;
};

Question Plain(const std::string& text) { return {text, "", "", false}; }
Question Broken(const std::string& text) { return {text, "", "", true}; }

// Fake screen, windows, sound player and summary window recording every call.
struct FakeScreen {
    std::vector<std::string> Calls;
    std::vector<std::string> Shown; // question texts as shown
    std::vector<std::u16string> StatusLines;
    std::vector<std::string> Sounds;
    std::vector<SummaryReport> Summaries;
    std::vector<std::string> Pictures; // "+name" shown, "-" folded
    std::vector<std::string> Texts;

    TestScreenHooks Hooks() {
        TestScreenHooks hooks;
        auto plain = [this](const char* name) { return [this, name] { Calls.emplace_back(name); }; };
        hooks.ShowQuestion = [this] {
            Calls.emplace_back("ShowQuestion");
            Shown.push_back(CurrentQuestion.QuestionText);
        };
        hooks.ClearMarks = plain("ClearMarks");
        hooks.ShowSelectionMarks = plain("ShowSelectionMarks");
        hooks.ShowVerdictMarks = plain("ShowVerdictMarks");
        hooks.UpdateStatusLine = [this](const std::u16string& text) {
            Calls.emplace_back("UpdateStatusLine");
            StatusLines.push_back(text);
        };
        hooks.ShowCheckButton = plain("ShowCheckButton");
        hooks.HideCheckButton = plain("HideCheckButton");
        hooks.ShowTestPanel = plain("ShowTestPanel");
        hooks.HideTestPanel = plain("HideTestPanel");
        hooks.HideHintButton = plain("HideHintButton");
        hooks.HideHintPanel = plain("HideHintPanel");
        hooks.OpenPictureWindow = plain("OpenPictureWindow");
        hooks.OpenTextWindow = plain("OpenTextWindow");
        hooks.ClosePictureWindow = plain("ClosePictureWindow");
        hooks.CloseTextWindow = plain("CloseTextWindow");
        hooks.ShowAttachedText = [this](const std::string& name) { Texts.push_back("+" + name); };
        hooks.HideAttachedText = [this] { Texts.emplace_back("-"); };
        hooks.ShowPicture = [this](const std::string& name) { Pictures.push_back("+" + name); };
        hooks.HidePicture = [this] { Pictures.emplace_back("-"); };
        hooks.PlaySound = [this](const char* sound) { Sounds.emplace_back(sound); };
        hooks.ShowSummary = [this](const SummaryReport& report) {
            Calls.emplace_back("ShowSummary");
            Summaries.push_back(report);
        };
        return hooks;
    }
};

class SessionEngine : public ::testing::Test {
protected:
    SessionState state_; // first in, last out

    void SetUp() override {
        SeedRandom(7);
        SetTestScreenHooks(screen.Hooks());
        SetSessionClock([this] { return now; });
    }

    // Writes the set into the folder and fills the engine's inputs.
    void MakeSet(const std::vector<Question>& questions) {
        SetFolder = dir.Path();
        QuestionFiles.clear();
        for (std::size_t i = 0; i < questions.size(); ++i) {
            const Question& q = questions[i];
            const std::string name = "p" + std::to_string(10 + i) + ".skq";
            if (q.Damaged) {
                WriteFileText(dir / name, "not an archive");
            } else {
                QuestionDocument document;
                document.AnswerCount = 4;
                document.QuestionText = q.Text;
                document.Answers = {"a", "b", "c", "d", ""};
                document.Key = "0100";
                document.PictureName = q.Picture;
                document.TextName = q.AttachedText;
                WritePakFile(dir / name, {{"Sezz0.xml", WriteQuestion40(document)}});
            }
            QuestionFiles.push_back(name);
        }
    }
    void MakeSet(int count) {
        std::vector<Question> questions;
        for (int i = 1; i <= count; ++i)
            questions.push_back({"Q" + std::to_string(i), "", "", false});
        MakeSet(questions);
    }

    static int PositionOf(int answer) { return CurrentQuestion.Answer(answer).Position; }
    // Answer 2 is the right one of every question written here.
    void AnswerRight() {
        AnswerClick(PositionOf(2));
        CheckAnswer();
    }
    void AnswerWrong() {
        AnswerClick(PositionOf(3));
        CheckAnswer();
    }
    // Answers the question on screen, then moves on when the run goes on.
    void Answer(bool right) {
        right ? AnswerRight() : AnswerWrong();
        if (SessionRunning)
            NextQuestion();
    }

    TempDir dir;
    Recorder record{WarningButton::Nie};
    FakeScreen screen;
    double now = 46000.5;

private:
};

TEST_F(SessionEngine, StartShowsTheFirstQuestionWithFreshState) {
    MakeSet(3);
    StartSession();
    EXPECT_TRUE(SessionRunning);
    EXPECT_FALSE(QuestionChecked);
    EXPECT_FALSE(RetryPass);
    EXPECT_EQ(QuestionCount, 3);
    EXPECT_EQ(Progress.size(), 3u);
    EXPECT_EQ(CurrentQuestionIndex, 0);
    EXPECT_EQ(FirstTimeRight + RightCount + GivenCount, 0);
    EXPECT_EQ(StartTime, now);
    EXPECT_THAT(screen.Shown, ElementsAre("Q1"));
    EXPECT_THAT(screen.Calls,
                ElementsAre("HideHintButton", "HideHintPanel", "OpenPictureWindow", "OpenTextWindow", "ClearMarks",
                            "ShowQuestion", "ShowTestPanel", "ShowCheckButton", "UpdateStatusLine"));
    EXPECT_THAT(screen.StatusLines, ElementsAre(u"Pytań w zestawie: 3\rUdzielonych odpowiedzi: 0\r"
                                                u"Poprawnych odpowiedzi: 0\r\rSkuteczność chwilowa: nieokreślona"));
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(SessionEngine, FirstPassInOrderThenSummary) {
    MakeSet(3);
    StartSession();
    now += 42 * kSecond;
    Answer(true);
    Answer(false);
    AnswerRight();
    EXPECT_THAT(screen.Shown, ElementsAre("Q1", "Q2", "Q3"));
    EXPECT_FALSE(SessionRunning);
    EXPECT_EQ(FirstTimeRight, 2);
    EXPECT_EQ(RightCount, 2);
    EXPECT_EQ(GivenCount, 3);
    EXPECT_THAT(screen.Sounds, ElementsAre("Ruch", "Blond", "Final"));
    ASSERT_EQ(screen.Summaries.size(), 1u);
    EXPECT_EQ(screen.Summaries[0].QuestionCount, 3);
    EXPECT_EQ(screen.Summaries[0].FirstTimeRight, 2);
    EXPECT_EQ(screen.Summaries[0].GivenCount, 3);
    EXPECT_EQ(screen.Summaries[0].Text, MakeSummaryReport(3, 2, 3, StartTime, now).Text);
    EXPECT_EQ(EndTime, now);
    EXPECT_EQ(screen.Summaries[0].Time.Seconds, 42);
    // The check button stays after the last check; it was hidden only between questions.
    EXPECT_EQ(std::count(screen.Calls.begin(), screen.Calls.end(), "HideCheckButton"), 2);
    EXPECT_EQ(screen.Calls.back(), "ShowSummary");
    EXPECT_TRUE(Progress[1].Answered);
    EXPECT_FALSE(Progress[1].AnsweredRight);
    EXPECT_TRUE(Progress[2].AnsweredRight);
}

TEST_F(SessionEngine, WrongAnswersAreNotRepeatedWhenRepeatIsOff) {
    MakeSet(2);
    StartSession();
    Answer(false);
    Answer(false);
    EXPECT_FALSE(SessionRunning);
    EXPECT_EQ(GivenCount, QuestionCount);
    EXPECT_EQ(RightCount, 0);
    EXPECT_EQ(screen.Summaries.size(), 1u);
}

TEST_F(SessionEngine, AllRightAtFirstPass) {
    MakeSet(4);
    StartSession();
    for (int i = 0; i < 4; ++i)
        Answer(true);
    EXPECT_EQ(FirstTimeRight, 4);
    EXPECT_EQ(RightCount, 4);
    EXPECT_EQ(GivenCount, 4);
    EXPECT_EQ(screen.Summaries.at(0).Percent, 100);
}

TEST_F(SessionEngine, RepeatPassUntilEveryQuestionIsRight) {
    RepeatWrong = true;
    MakeSet(6);
    StartSession();
    std::vector<bool> retries;
    for (bool right : {true, false, true, true, false, true, false, true, true}) {
        retries.push_back(RetryPass);
        Answer(right);
    }
    EXPECT_THAT(screen.Shown, ElementsAre("Q1", "Q2", "Q3", "Q4", "Q5", "Q6", "Q2", "Q2", "Q5"));
    EXPECT_THAT(retries, ElementsAre(false, false, false, false, false, false, true, true, true));
    EXPECT_FALSE(SessionRunning);
    EXPECT_EQ(FirstTimeRight, 4);
    EXPECT_EQ(RightCount, 6);
    EXPECT_EQ(GivenCount, 9);
    EXPECT_THAT(screen.Sounds, ElementsAre("Ruch", "Blond", "Ruch", "Ruch", "Blond", "Ruch", "Blond", "Ruch", "Final"));
    ASSERT_EQ(screen.Summaries.size(), 1u);
    EXPECT_EQ(screen.Summaries[0].FirstTimeRight, 4);
    EXPECT_EQ(screen.Summaries[0].GivenCount, 9);
}

TEST_F(SessionEngine, FindNextQuestionChoosesUnansweredThenWrongOnes) {
    Progress = {{true, true}, {true, false}, {false, false}, {true, false}};
    RepeatWrong = true;
    EXPECT_TRUE(FindNextQuestion());
    EXPECT_EQ(CurrentQuestionIndex, 2);
    EXPECT_FALSE(RetryPass);
    Progress[2] = {true, true};
    EXPECT_TRUE(FindNextQuestion());
    EXPECT_EQ(CurrentQuestionIndex, 1);
    EXPECT_TRUE(RetryPass);
    RepeatWrong = false;
    EXPECT_FALSE(FindNextQuestion());
    RepeatWrong = true;
    Progress = {{true, true}, {true, true}};
    EXPECT_FALSE(FindNextQuestion());
}

TEST_F(SessionEngine, OneQuestionSetPlaysOnlyTheFinalSound) {
    MakeSet(1);
    StartSession();
    AnswerWrong();
    EXPECT_THAT(screen.Sounds, ElementsAre("Final"));
    EXPECT_EQ(screen.Summaries.size(), 1u);
    EXPECT_THAT(screen.Calls, Not(Contains("HideCheckButton")));
}

TEST_F(SessionEngine, NoSoundsWhileSoundIsOff) {
    SoundOn = false;
    MakeSet(2);
    StartSession();
    Answer(true);
    Answer(false);
    EXPECT_THAT(screen.Sounds, IsEmpty());
    EXPECT_EQ(screen.Summaries.size(), 1u);
}

TEST_F(SessionEngine, CheckingWithoutAChoiceWarnsAndCountsNothing) {
    MakeSet(2);
    StartSession();
    const std::size_t calls = screen.Calls.size();
    CheckAnswer();
    ASSERT_EQ(record.Boxes.size(), 1u);
    EXPECT_EQ(record.Boxes[0].Text, kNoChoice);
    EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::Close);
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
    EXPECT_EQ(screen.Calls.size(), calls);
    EXPECT_EQ(GivenCount, 0);
    EXPECT_FALSE(QuestionChecked);
    EXPECT_FALSE(Progress[0].Answered);
    EXPECT_THAT(screen.Sounds, IsEmpty());
    AnswerRight(); // the question stays open
    EXPECT_EQ(GivenCount, 1);
}

TEST_F(SessionEngine, AnswerClicksToggleUntilTheCheck) {
    MakeSet(2);
    StartSession();
    AnswerClick(PositionOf(3));
    EXPECT_TRUE(CurrentQuestion.Answer(3).Selected);
    EXPECT_EQ(screen.Calls.back(), "ShowSelectionMarks");
    AnswerClick(PositionOf(2)); // one answer at a time
    EXPECT_FALSE(CurrentQuestion.Answer(3).Selected);
    CheckAnswer();
    EXPECT_TRUE(QuestionChecked);
    const std::size_t calls = screen.Calls.size();
    AnswerClick(PositionOf(4));
    EXPECT_FALSE(CurrentQuestion.Answer(4).Selected);
    EXPECT_EQ(screen.Calls.size(), calls);
    CheckAnswer(); // the check button is covered now
    EXPECT_EQ(GivenCount, 1);
}

TEST_F(SessionEngine, AnswerClicksIgnoredAfterTheSummary) {
    MakeSet(1);
    StartSession();
    AnswerRight();
    const std::size_t calls = screen.Calls.size();
    AnswerClick(PositionOf(3));
    NextQuestion();
    CheckAnswer();
    EXPECT_FALSE(CurrentQuestion.Answer(3).Selected);
    EXPECT_EQ(screen.Calls.size(), calls);
    EXPECT_EQ(GivenCount, 1);
}

TEST_F(SessionEngine, DamagedQuestionStopsTheRunWithAMessage) {
    MakeSet({Plain("Q1"), Broken("Q2"), Plain("Q3")});
    StartSession();
    AnswerRight();
    NextQuestion();
    EXPECT_FALSE(SessionRunning);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kRemoveDamaged));
    EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::Close);
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
    EXPECT_THAT(record.JournalMessages(), Not(IsEmpty()));
    EXPECT_THAT(screen.Shown, ElementsAre("Q1"));
    EXPECT_THAT(screen.Summaries, IsEmpty());
    const std::size_t calls = screen.Calls.size();
    AnswerClick(1);
    CheckAnswer();
    NextQuestion();
    EXPECT_EQ(screen.Calls.size(), calls);

    // Reopening the set starts again from the first question with fresh counters.
    StartSession();
    EXPECT_TRUE(SessionRunning);
    EXPECT_EQ(CurrentQuestionIndex, 0);
    EXPECT_EQ(GivenCount, 0);
    EXPECT_THAT(screen.Shown, ElementsAre("Q1", "Q1"));
}

TEST_F(SessionEngine, LoaderMessageComesBeforeTheEnginesOwn) {
    MakeSet({Plain("Q1"), Plain("Q2")});
    // Two answers make a damaged question, which the loader reports in a box.
    QuestionDocument document;
    document.AnswerCount = 2;
    document.QuestionText = "Q2";
    document.Answers = {"a", "b", "", "", ""};
    document.Key = "01";
    WritePakFile(dir / QuestionFiles[1], {{"Sezz0.xml", WriteQuestion40(document)}});
    StartSession();
    Answer(true);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kDamagedBox, kRemoveDamaged));
    EXPECT_FALSE(SessionRunning);
}

TEST_F(SessionEngine, FirstQuestionFailingLeavesTheRunUnstarted) {
    MakeSet({Broken("Q1"), Plain("Q2")});
    StartSession();
    EXPECT_FALSE(SessionRunning);
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_THAT(screen.Calls, ElementsAre("HideHintButton", "HideHintPanel", "OpenPictureWindow", "OpenTextWindow"));
    EXPECT_THAT(screen.StatusLines, IsEmpty());
}

TEST_F(SessionEngine, StatusLineFollowsEveryCheck) {
    MakeSet(8);
    StartSession();
    for (bool right : {true, false, true, true, false, true, false, false})
        Answer(right);
    ASSERT_EQ(screen.StatusLines.size(), 9u);
    EXPECT_EQ(screen.StatusLines[1], u"Pytań w zestawie: 8\rUdzielonych odpowiedzi: 1\r"
                                     u"Poprawnych odpowiedzi: 1\r\rSkuteczność chwilowa: 100%");
    EXPECT_EQ(screen.StatusLines[3], StatusLineText(8, 3, 2));
    EXPECT_EQ(screen.StatusLines[8], StatusLineText(8, 8, 4));
}

TEST(SessionStatusLine, PercentRoundsHalvesToEven) {
    const std::u16string head = u"Pytań w zestawie: 12\rUdzielonych odpowiedzi: 8\rPoprawnych odpowiedzi: ";
    EXPECT_EQ(StatusLineText(12, 8, 5), head + u"5\r\rSkuteczność chwilowa: 62%");
    EXPECT_EQ(StatusLineText(12, 8, 3), head + u"3\r\rSkuteczność chwilowa: 38%");
    EXPECT_EQ(StatusLineText(12, 8, 1), head + u"1\r\rSkuteczność chwilowa: 12%");
    EXPECT_EQ(StatusLineText(3, 3, 2).substr(StatusLineText(3, 3, 2).rfind(u' ') + 1), u"67%");
    EXPECT_EQ(StatusLineText(3, 3, 1).substr(StatusLineText(3, 3, 1).rfind(u' ') + 1), u"33%");
    EXPECT_EQ(StatusLineText(12, 0, 0), u"Pytań w zestawie: 12\rUdzielonych odpowiedzi: 0\rPoprawnych odpowiedzi: 0\r\r"
                                        u"Skuteczność chwilowa: nieokreślona");
    EXPECT_EQ(StatusLineText(1000, 1000, 0).substr(StatusLineText(1000, 1000, 0).rfind(u' ') + 1), u"0%");
}

TEST_F(SessionEngine, ResignAsksWhileRunning) {
    for (const WarningButton answer : {WarningButton::Zamknij, WarningButton::Nie, WarningButton::Anuluj}) {
        MakeSet(2);
        StartSession();
        Recorder box(answer);
        const std::size_t calls = screen.Calls.size();
        Resign();
        ASSERT_EQ(box.Boxes.size(), 1u);
        EXPECT_EQ(box.Boxes[0].Text, kConfirm);
        EXPECT_EQ(box.Boxes[0].Buttons, WarningButtonSet::YesNoCancel);
        EXPECT_EQ(box.Boxes[0].Icon, WarningIcon::Question);
        EXPECT_EQ(screen.Calls.size(), calls) << static_cast<int>(answer);
        EXPECT_TRUE(SessionRunning);
    }
}

TEST_F(SessionEngine, ResignWithYesClosesWithoutTouchingTheRun) {
    MakeSet(3);
    StartSession();
    Answer(false);
    Recorder box(WarningButton::Tak);
    Resign();
    EXPECT_EQ(box.Boxes.size(), 1u);
    EXPECT_THAT(std::vector(screen.Calls.end() - 3, screen.Calls.end()),
                ElementsAre("ClosePictureWindow", "CloseTextWindow", "HideTestPanel"));
    EXPECT_THAT(screen.Summaries, IsEmpty());
    EXPECT_TRUE(SessionRunning);
    EXPECT_EQ(GivenCount, 1);
    EXPECT_EQ(CurrentQuestionIndex, 1);
    EXPECT_TRUE(Progress[0].Answered);
}

TEST_F(SessionEngine, ResignClosesAtOnceWithoutConfirmationOrAfterTheEnd) {
    MakeSet(1);
    StartSession();
    ConfirmResign = false;
    Resign();
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_EQ(screen.Calls.back(), "HideTestPanel");

    ConfirmResign = true;
    StartSession();
    AnswerRight();
    screen.Calls.clear();
    Resign();
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_THAT(screen.Calls, ElementsAre("ClosePictureWindow", "CloseTextWindow", "HideTestPanel"));
}

TEST_F(SessionEngine, AttachmentsAnnouncedAtEveryQuestionWhenReloading) {
    MakeSet({{"Q1", "mapa.jpg", "opis.txt", false},
             {"Q2", "mapa.jpg", "opis.txt", false},
             Plain("Q3"),
             {"Q4", "mapa.jpg", "", false}});
    StartSession();
    for (int i = 0; i < 4; ++i)
        Answer(true);
    EXPECT_THAT(screen.Pictures, ElementsAre("+mapa.jpg", "+mapa.jpg", "-", "+mapa.jpg"));
    EXPECT_THAT(screen.Texts, ElementsAre("+opis.txt", "+opis.txt", "-", "-"));
}

TEST_F(SessionEngine, UnchangedAttachmentsLeftAloneWithoutReloading) {
    ReloadAttachments = false;
    MakeSet({{"Q1", "mapa.jpg", "opis.txt", false},
             {"Q2", "mapa.jpg", "opis.txt", false},
             Plain("Q3"),
             {"Q4", "mapa.jpg", "opis.txt", false}});
    StartSession();
    for (int i = 0; i < 4; ++i)
        Answer(true);
    // Folding the picture window up forgets its name; the text window keeps its own.
    EXPECT_THAT(screen.Pictures, ElementsAre("+mapa.jpg", "-", "+mapa.jpg"));
    EXPECT_THAT(screen.Texts, ElementsAre("+opis.txt", "-"));
    EXPECT_EQ(LastShownPictureName, "mapa.jpg");

    // A new run announces them again.
    screen.Pictures.clear();
    StartSession();
    EXPECT_THAT(screen.Pictures, ElementsAre("+mapa.jpg"));
}

TEST_F(SessionEngine, WorkingTimeCountsWholeMinutesOfTheRun) {
    MakeSet(2);
    StartSession();
    now += (3600 + 2 * 60 + 5) * kSecond;
    Answer(true);
    Answer(true);
    ASSERT_EQ(screen.Summaries.size(), 1u);
    EXPECT_EQ(screen.Summaries[0].Time.Minutes, 62);
    EXPECT_EQ(screen.Summaries[0].Time.Seconds, 5);
    EXPECT_NE(screen.Summaries[0].Text.find(u"Czas pracy: 62 min 5 s\r"), std::u16string::npos);
}

TEST_F(SessionEngine, SeveralAnswerQuestionIsRightOnlyWithEveryRightChoice) {
    SetFolder = dir.Path();
    QuestionDocument document;
    document.QuestionType = 1;
    document.AnswerCount = 4;
    document.QuestionText = "Q";
    document.Answers = {"a", "b", "c", "d", ""};
    document.Key = "0110";
    WritePakFile(dir / "m.skq", {{"Sezz0.xml", WriteQuestion40(document)}});
    QuestionFiles = {"m.skq", "m.skq"};
    StartSession();
    AnswerClick(PositionOf(2));
    AnswerClick(PositionOf(4));
    AnswerClick(PositionOf(4)); // toggled off again
    CheckAnswer();
    EXPECT_EQ(RightCount, 0);
    NextQuestion();
    AnswerClick(PositionOf(2));
    AnswerClick(PositionOf(3));
    CheckAnswer();
    EXPECT_EQ(RightCount, 1);
    EXPECT_EQ(GivenCount, 2);
}

TEST_F(SessionEngine, UnhookedEngineStillRuns) {
    SetTestScreenHooks({});
    MakeSet(2);
    StartSession();
    Answer(true);
    Answer(false);
    EXPECT_FALSE(SessionRunning);
    EXPECT_EQ(GivenCount, 2);
}

TEST(SessionClock, LocalDatesCountDaysFromTheEndOf1899) {
    std::tm local{};
    local.tm_year = -1; // 1899
    local.tm_mon = 11;
    local.tm_mday = 30;
    EXPECT_EQ(DateTimeFromLocal(local), 0.0);
    local = {};
    local.tm_year = 0;
    local.tm_mday = 1;
    EXPECT_EQ(DateTimeFromLocal(local), 2.0);
    local = {};
    local.tm_year = 100;
    local.tm_mday = 1;
    local.tm_hour = 18;
    EXPECT_EQ(DateTimeFromLocal(local), 36526.75);
    local.tm_hour = 0;
    local.tm_sec = 1;
    EXPECT_DOUBLE_EQ(DateTimeFromLocal(local, 500), 36526.0 + 1.5 / 86400.0);
}

TEST(SessionClock, ReplaceableClockIsUsedAndRestored) {
    const SessionClock previous = SetSessionClock([] { return 12345.5; });
    EXPECT_EQ(SessionNow(), 12345.5);
    SetSessionClock(previous);
    const double real = SessionNow();
    EXPECT_GT(real, 45000.0); // any date after 2023
}

} // namespace
