#include "core/session/TestRun.h"

#include "core/base/Random.h"
#include "core/session/QuestionLoader.h"
#include "core/session/ResultsHistory.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "support/PictureFiles.h"
#include "support/RecordedRun.h"
#include "support/Recorder.h"
#include "support/ReportLines.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

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

// A four-answer question; with the default key answer 2 is the only right one.
struct Question {
    std::string Text{};
    std::string Picture{};
    std::string AttachedText{};
    int Type = 0;
    std::string Key = "0100";
    bool Damaged = false;
};

Question Plain(const std::string& text) { return {.Text = text}; }
Question Broken(const std::string& text) { return {.Text = text, .Damaged = true}; }

// Run state that a check may change.
using Snapshot = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool, bool, bool,
                            std::vector<std::pair<bool, bool>>>;
Snapshot Take(const TestRun& run) {
    std::vector<std::pair<bool, bool>> progress;
    for (const QuestionProgress& p : run.Progress)
        progress.emplace_back(p.Answered, p.AnsweredRight);
    return {run.CurrentQuestionIndex, run.FirstTimeRight, run.RightCount, run.GivenCount,
            run.QuestionChecked,      run.SessionRunning, run.RetryPass,  progress};
}

// A run on fresh settings, its views recorded and its clock standing still until moved.
class RunRules : public ::testing::Test, protected RecordedRun {
protected:
    RunRules() : RecordedRun(WarningButton::No) {}

    void SetUp() override {
        random.Seed(7);
        run.SetSessionClock([this] { return now; });
    }

    void WriteQuestion(const std::string& name, const Question& q) {
        if (q.Damaged) {
            WriteFileText(dir / name, "not an archive");
            return;
        }
        QuestionDocument document;
        document.QuestionType = q.Type;
        document.AnswerCount = 4;
        document.QuestionText = q.Text;
        document.Answers = {"a", "b", "c", "d", ""};
        document.Key = q.Key;
        document.PictureName = q.Picture;
        document.TextName = q.AttachedText;
        WritePakFile(dir / name, {{"Sezz0.xml", WriteQuestion40(document)}});
    }
    // Writes the set into the folder and fills the engine's inputs.
    void MakeSet(const std::vector<Question>& questions) {
        run.SetFolder = dir.Path();
        run.QuestionFiles.clear();
        for (std::size_t i = 0; i < questions.size(); ++i) {
            run.QuestionFiles.push_back("p" + std::to_string(10 + i) + ".skq");
            WriteQuestion(run.QuestionFiles.back(), questions[i]);
        }
    }
    // A set of distinct questions Q1..Qn.
    void MakeSet(int count) {
        std::vector<Question> questions;
        for (int i = 1; i <= count; ++i)
            questions.push_back(Plain("Q" + std::to_string(i)));
        MakeSet(questions);
    }

    int PositionOf(int answer) const { return run.Current.Question.Answer(answer).Position; }
    std::vector<bool> Chosen() const {
        std::vector<bool> chosen;
        for (int k = 1; k <= run.Current.Question.AnswerCount; ++k)
            chosen.push_back(run.Current.Question.Answer(k).Selected);
        return chosen;
    }
    // Chooses the right or a wrong answer of a default-key question and checks it.
    void Check(bool right) {
        run.AnswerClick(PositionOf(right ? 2 : 4));
        run.CheckAnswer();
    }
    // Checks, then moves on while the run goes on.
    void Answer(bool right) {
        Check(right);
        if (run.SessionRunning)
            run.NextQuestion();
    }
    void AnswerAll(const std::vector<bool>& rights) {
        for (bool right : rights)
            Answer(right);
    }

    TempDir dir;
    double now = 46000.5;

private:
};

TEST_F(RunRules, StartShowsTheFirstQuestionWithFreshState) {
    MakeSet(3);
    run.StartSession();
    EXPECT_TRUE(run.SessionRunning);
    EXPECT_FALSE(run.QuestionChecked);
    EXPECT_FALSE(run.RetryPass);
    EXPECT_EQ(run.QuestionCount, 3);
    EXPECT_EQ(run.Progress.size(), 3u);
    EXPECT_EQ(run.CurrentQuestionIndex, 0);
    EXPECT_EQ(run.FirstTimeRight + run.RightCount + run.GivenCount, 0);
    EXPECT_EQ(run.StartTime, now);
    EXPECT_THAT(views.Shown, ElementsAre("Q1"));
    EXPECT_THAT(views.Calls, ElementsAre("HideHintButton", "HideHintPanel", "OpenPictureWindow", "OpenTextWindow",
                                         "ClearMarks", "ShowQuestion", "HideAttachedText", "HidePicture",
                                         "ShowTestPanel", "ShowCheckButton", "UpdateStatusLine"));
    EXPECT_THAT(views.StatusLines, ElementsAre(u"Pytań w zestawie: 3\rUdzielonych odpowiedzi: 0\r"
                                               u"Poprawnych odpowiedzi: 0\r\rSkuteczność chwilowa: nieokreślona"));
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(RunRules, FirstPassInOrderThenSummary) {
    MakeSet(3);
    run.StartSession();
    now += 42 * kSecond;
    AnswerAll({true, false});
    Check(true);
    EXPECT_THAT(views.Shown, ElementsAre("Q1", "Q2", "Q3"));
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_EQ(run.FirstTimeRight, 2);
    EXPECT_EQ(run.RightCount, 2);
    EXPECT_EQ(run.GivenCount, 3);
    EXPECT_THAT(views.Sounds, ElementsAre("Ruch", "Blond", "Final"));
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_EQ(views.Summaries[0].QuestionCount, 3);
    EXPECT_EQ(views.Summaries[0].FirstTimeRight, 2);
    EXPECT_EQ(views.Summaries[0].GivenCount, 3);
    EXPECT_EQ(views.Summaries[0].Text, MakeSummaryReport(3, 2, 3, run.StartTime, now).Text);
    EXPECT_EQ(run.EndTime, now);
    EXPECT_EQ(views.Summaries[0].Time.Seconds, 42);
    // The check button stays after the last check; it was hidden only between questions.
    EXPECT_EQ(views.Count("HideCheckButton"), 2);
    EXPECT_EQ(views.Calls.back(), "ShowSummary");
    EXPECT_TRUE(run.Progress[1].Answered);
    EXPECT_FALSE(run.Progress[1].AnsweredRight);
    EXPECT_TRUE(run.Progress[2].AnsweredRight);
}

TEST_F(RunRules, FindNextQuestionChoosesUnansweredThenWrongOnes) {
    run.Progress = {{true, true}, {true, false}, {false, false}, {true, false}};
    settings.RepeatWrong = true;
    EXPECT_TRUE(run.FindNextQuestion());
    EXPECT_EQ(run.CurrentQuestionIndex, 2);
    EXPECT_FALSE(run.RetryPass);
    run.Progress[2] = {true, true};
    EXPECT_TRUE(run.FindNextQuestion());
    EXPECT_EQ(run.CurrentQuestionIndex, 1);
    EXPECT_TRUE(run.RetryPass);
    settings.RepeatWrong = false;
    EXPECT_FALSE(run.FindNextQuestion());
    settings.RepeatWrong = true;
    run.Progress = {{true, true}, {true, true}};
    EXPECT_FALSE(run.FindNextQuestion());
}

TEST_F(RunRules, OneQuestionSetPlaysOnlyTheFinalSound) {
    MakeSet(1);
    for (bool right : {true, false}) {
        SCOPED_TRACE(right);
        RecordingViews fresh(run);
        run.StartSession();
        Check(right);
        EXPECT_FALSE(run.SessionRunning);
        EXPECT_THAT(fresh.Sounds, ElementsAre("Final"));
        EXPECT_EQ(fresh.Summaries.size(), 1u);
        EXPECT_THAT(fresh.Calls, Not(Contains("HideCheckButton")));
    }
}

TEST_F(RunRules, SingleQuestionWithRepeatComesBackUntilRight) {
    settings.RepeatWrong = true;
    MakeSet(1);
    run.StartSession();
    Answer(false);
    EXPECT_TRUE(run.SessionRunning);
    EXPECT_TRUE(run.RetryPass);
    EXPECT_EQ(run.CurrentQuestionIndex, 0);
    Answer(false);
    Answer(true);
    EXPECT_THAT(views.Shown, ElementsAre("Q1", "Q1", "Q1"));
    EXPECT_THAT(views.Sounds, ElementsAre("Blond", "Blond", "Final"));
    EXPECT_EQ(run.FirstTimeRight, 0);
    EXPECT_EQ(run.RightCount, 1);
    EXPECT_EQ(run.GivenCount, 3);
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_EQ(views.Summaries[0].Percent, 0);
    EXPECT_EQ(views.Summaries[0].GivenCount, 3);
}

TEST_F(RunRules, NoSoundsWhileSoundIsOff) {
    settings.SoundOn = false;
    MakeSet(2);
    run.StartSession();
    AnswerAll({true, false});
    EXPECT_THAT(views.Sounds, IsEmpty());
    EXPECT_EQ(views.Summaries.size(), 1u);
}

TEST_F(RunRules, AllRightWithRepeatOnNeedsNoSecondPass) {
    settings.RepeatWrong = true;
    MakeSet(5);
    run.StartSession();
    AnswerAll({true, true, true, true, true});
    EXPECT_THAT(views.Shown, ElementsAre("Q1", "Q2", "Q3", "Q4", "Q5"));
    EXPECT_FALSE(run.RetryPass);
    EXPECT_EQ(run.FirstTimeRight, run.QuestionCount);
    EXPECT_EQ(run.RightCount, run.QuestionCount);
    EXPECT_EQ(run.GivenCount, run.QuestionCount);
    EXPECT_THAT(views.Sounds, ElementsAre("Ruch", "Ruch", "Ruch", "Ruch", "Final"));
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_EQ(views.Summaries[0].Percent, 100);
}

TEST_F(RunRules, OneWrongWithoutRepeatEndsAfterTheLastQuestion) {
    MakeSet(5);
    run.StartSession();
    AnswerAll({true, true, false, true});
    EXPECT_TRUE(views.Summaries.empty());
    EXPECT_TRUE(run.SessionRunning);
    Check(true);
    EXPECT_FALSE(run.SessionRunning);
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_EQ(run.GivenCount, run.QuestionCount);
    EXPECT_EQ(run.FirstTimeRight, 4);
    EXPECT_EQ(run.RightCount, 4);
    EXPECT_TRUE(run.Progress[2].Answered);
    EXPECT_FALSE(run.Progress[2].AnsweredRight);
    EXPECT_EQ(views.Summaries[0].Percent, 80);
    EXPECT_EQ(Lines(views.Summaries[0].Text)[4], u"Skuteczność: 80%");
}

TEST_F(RunRules, RepeatPassAsksWrongQuestionsInOrderUntilRight) {
    settings.RepeatWrong = true;
    MakeSet(6);
    run.StartSession();
    AnswerAll({true, false, true, true, false});
    EXPECT_FALSE(run.RetryPass);
    // The last question of the first pass sends the run back to question 2.
    Check(true);
    EXPECT_EQ(run.CurrentQuestionIndex, 1);
    EXPECT_TRUE(run.RetryPass);
    run.NextQuestion();
    EXPECT_EQ(run.FirstTimeRight, 4);

    struct Step {
        bool Right;
        int NextIndex;
    };
    // Question 2 wrong twice, then right; question 5 wrong once, then right.
    const Step steps[] = {{false, 1}, {false, 1}, {true, 4}, {false, 4}};
    std::int32_t right = run.RightCount, given = run.GivenCount;
    for (const Step& step : steps) {
        Check(step.Right);
        right += step.Right ? 1 : 0;
        ++given;
        EXPECT_EQ(run.FirstTimeRight, 4);
        EXPECT_EQ(run.RightCount, right);
        EXPECT_EQ(run.GivenCount, given);
        EXPECT_TRUE(run.SessionRunning);
        EXPECT_TRUE(run.RetryPass);
        EXPECT_EQ(run.CurrentQuestionIndex, step.NextIndex);
        run.NextQuestion();
    }
    Check(true);
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_THAT(views.Shown, ElementsAre("Q1", "Q2", "Q3", "Q4", "Q5", "Q6", "Q2", "Q2", "Q2", "Q5", "Q5"));
    EXPECT_THAT(views.Sounds, ElementsAre("Ruch", "Blond", "Ruch", "Ruch", "Blond", "Ruch", "Blond", "Blond", "Ruch",
                                          "Blond", "Final"));
    EXPECT_EQ(run.FirstTimeRight, 4);
    EXPECT_EQ(run.RightCount, 6);
    EXPECT_EQ(run.GivenCount, 11);
    // The running status line counts the repeat pass too; the summary's score only the first showings.
    EXPECT_EQ(views.StatusLines.back(), StatusLineText(6, 11, 6));
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_THAT(Lines(views.Summaries[0].Text),
                ElementsAre(u"  ZESTAWIENIE ", u" =============", u"Pytań w zestawie: 6", u"Poprawnych odpowiedzi: 4",
                            u"Skuteczność: 67%", u"", u"Udzielonych odpowiedzi: 11", u"Czas pracy: 0 min 0 s",
                            u"Reasumując: Jest tak sobie."));
}

TEST_F(RunRules, CheckWithNothingChosenChangesNothingInEitherPass) {
    settings.RepeatWrong = true;
    MakeSet(3);
    run.StartSession();
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        const Snapshot before = Take(run);
        const std::size_t calls = views.Calls.size();
        run.CheckAnswer();
        EXPECT_EQ(Take(run), before);
        EXPECT_EQ(views.Calls.size(), calls);
        if (pass == 0)
            AnswerAll({false, true, true}); // the question stays open; on to the repeat pass
        EXPECT_TRUE(run.RetryPass);
    }
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kNoChoice, kNoChoice));
    EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::Close);
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
}

TEST_F(RunRules, ChoiceTakenBackCountsAsNothingChosen) {
    MakeSet({{.Text = "M", .Type = 1}, {.Text = "M", .Type = 1}});
    run.StartSession();
    run.AnswerClick(PositionOf(2));
    run.AnswerClick(PositionOf(2));
    const Snapshot before = Take(run);
    run.CheckAnswer();
    EXPECT_EQ(Take(run), before);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kNoChoice));
    Check(true);
    EXPECT_EQ(run.RightCount, 1);
}

TEST_F(RunRules, SeveralAnswerQuestionIsRightOnlyWithEveryRightChoice) {
    const Question several{.Text = "Q", .Type = 1, .Key = "0110"};
    MakeSet({several, several});
    run.StartSession();
    run.AnswerClick(PositionOf(2));
    run.AnswerClick(PositionOf(4));
    run.AnswerClick(PositionOf(4)); // toggled off again
    run.CheckAnswer();
    EXPECT_EQ(run.RightCount, 0);
    run.NextQuestion();
    run.AnswerClick(PositionOf(2));
    run.AnswerClick(PositionOf(3));
    run.CheckAnswer();
    EXPECT_EQ(run.RightCount, 1);
    EXPECT_EQ(run.GivenCount, 2);
}

TEST_F(RunRules, AnswerClicksMarkUntilTheCheckThenWaitForTheNextQuestion) {
    MakeSet(2);
    run.StartSession();
    run.AnswerClick(PositionOf(3));
    EXPECT_TRUE(run.Current.Question.Answer(3).Selected);
    EXPECT_EQ(views.Calls.back(), "ShowSelectionMarks");
    run.AnswerClick(PositionOf(2)); // one answer at a time
    EXPECT_FALSE(run.Current.Question.Answer(3).Selected);
    run.CheckAnswer();
    EXPECT_TRUE(run.QuestionChecked);

    const std::vector<bool> judged = Chosen();
    const Snapshot before = Take(run);
    const std::size_t calls = views.Calls.size();
    for (int p = 1; p <= 5; ++p)
        run.AnswerClick(p);
    run.CheckAnswer(); // the check button is covered now
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(Take(run), before);
    EXPECT_EQ(views.Calls.size(), calls);

    // The next question starts with open choices again.
    run.NextQuestion();
    run.AnswerClick(PositionOf(1));
    EXPECT_EQ(views.Calls.back(), "ShowSelectionMarks");
    EXPECT_TRUE(run.Current.Question.Answer(1).Selected);
}

TEST_F(RunRules, ClicksAfterTheSummaryAreIgnored) {
    settings.RepeatWrong = true;
    MakeSet(2);
    run.StartSession();
    AnswerAll({true, false, true});
    ASSERT_EQ(views.Summaries.size(), 1u);
    const std::vector<bool> judged = Chosen();
    const Snapshot before = Take(run);
    const std::size_t calls = views.Calls.size();
    for (int p = 1; p <= 5; ++p)
        run.AnswerClick(p);
    run.CheckAnswer();
    run.NextQuestion();
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(Take(run), before);
    EXPECT_EQ(views.Calls.size(), calls);
}

TEST_F(RunRules, ClicksAfterAFailedNextAreIgnored) {
    MakeSet({Plain("Q1"), Broken("Q2"), Plain("Q3")});
    run.StartSession();
    Check(true);
    run.NextQuestion();
    ASSERT_FALSE(run.SessionRunning);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kRemoveDamaged));
    EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::Close);
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
    EXPECT_THAT(record.JournalMessages(), Not(IsEmpty()));
    EXPECT_THAT(views.Shown, ElementsAre("Q1"));
    // Whatever choice the record holds now stays.
    const std::vector<bool> judged = Chosen();
    const std::size_t calls = views.Calls.size();
    const std::int32_t given = run.GivenCount;
    for (int p = 1; p <= 4; ++p)
        run.AnswerClick(p);
    run.CheckAnswer();
    run.NextQuestion();
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(views.Calls.size(), calls);
    EXPECT_EQ(run.GivenCount, given);
    EXPECT_EQ(record.Boxes.size(), 1u);
    EXPECT_TRUE(views.Summaries.empty());
}

TEST_F(RunRules, FailingQuestionInTheMiddleThenAFreshRun) {
    settings.RepeatWrong = true;
    settings.ReloadAttachments = false;
    MakeSet({{.Text = "Q1", .Picture = "mapa.jpg"}, {.Text = "Q2", .Picture = "mapa.jpg"}, Broken("Q3"), Plain("Q4")});
    run.StartSession();
    Answer(true);
    Check(false);
    run.NextQuestion();
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kRemoveDamaged));
    EXPECT_THAT(views.Shown, ElementsAre("Q1", "Q2"));
    EXPECT_TRUE(views.Summaries.empty());
    EXPECT_EQ(run.GivenCount, 2);

    // The set is mended and opened again: nothing of the failed run remains.
    WriteQuestion(run.QuestionFiles[2], Plain("Q3"));
    now += 600 * kSecond;
    views.StatusLines.clear();
    views.Pictures.clear();
    run.StartSession();
    EXPECT_TRUE(run.SessionRunning);
    EXPECT_EQ(run.CurrentQuestionIndex, 0);
    EXPECT_EQ(run.FirstTimeRight + run.RightCount + run.GivenCount, 0);
    EXPECT_FALSE(run.RetryPass);
    EXPECT_FALSE(run.QuestionChecked);
    for (const QuestionProgress& p : run.Progress) {
        EXPECT_FALSE(p.Answered);
        EXPECT_FALSE(p.AnsweredRight);
    }
    EXPECT_EQ(run.StartTime, now);
    EXPECT_THAT(views.Pictures, ElementsAre("+mapa.jpg")); // announced again, though unchanged
    EXPECT_THAT(views.StatusLines,
                ElementsAre(u"Pytań w zestawie: 4\rUdzielonych odpowiedzi: 0\rPoprawnych odpowiedzi: 0\r\r"
                            u"Skuteczność chwilowa: nieokreślona"));
    AnswerAll({true, true, true, true});
    ASSERT_EQ(views.Summaries.size(), 1u);
    EXPECT_EQ(views.Summaries[0].FirstTimeRight, 4);
    EXPECT_EQ(views.Summaries[0].GivenCount, 4);
    EXPECT_EQ(views.Summaries[0].Time.Minutes, 0);
}

TEST_F(RunRules, LoaderMessageComesBeforeTheEnginesOwn) {
    MakeSet({Plain("Q1"), Plain("Q2")});
    // Two answers make a damaged question, which the loader reports in a box.
    QuestionDocument document;
    document.AnswerCount = 2;
    document.QuestionText = "Q2";
    document.Answers = {"a", "b", "", "", ""};
    document.Key = "01";
    WritePakFile(dir / run.QuestionFiles[1], {{"Sezz0.xml", WriteQuestion40(document)}});
    run.StartSession();
    Answer(true);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kDamagedBox, kRemoveDamaged));
    EXPECT_FALSE(run.SessionRunning);
}

TEST_F(RunRules, FirstQuestionFailingLeavesTheRunUnstarted) {
    MakeSet({Broken("Q1"), Plain("Q2")});
    run.StartSession();
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_THAT(views.Calls, ElementsAre("HideHintButton", "HideHintPanel", "OpenPictureWindow", "OpenTextWindow"));
    EXPECT_THAT(views.StatusLines, IsEmpty());
}

TEST_F(RunRules, StatusLineFollowsEveryCheck) {
    MakeSet(8);
    run.StartSession();
    AnswerAll({true, false, true, true, false, true, false, false});
    ASSERT_EQ(views.StatusLines.size(), 9u);
    EXPECT_EQ(views.StatusLines[1], u"Pytań w zestawie: 8\rUdzielonych odpowiedzi: 1\r"
                                    u"Poprawnych odpowiedzi: 1\r\rSkuteczność chwilowa: 100%");
    EXPECT_EQ(views.StatusLines[3], StatusLineText(8, 3, 2));
    EXPECT_EQ(views.StatusLines[8], StatusLineText(8, 8, 4));
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

TEST_F(RunRules, ResignAsksWhileRunning) {
    for (const WarningButton answer : {WarningButton::Close, WarningButton::No, WarningButton::Cancel}) {
        MakeSet(2);
        run.StartSession();
        record.Answer = answer;
        record.Boxes.clear();
        const std::size_t calls = views.Calls.size();
        run.Resign();
        ASSERT_EQ(record.Boxes.size(), 1u);
        EXPECT_EQ(record.Boxes[0].Text, kConfirm);
        EXPECT_EQ(record.Boxes[0].Buttons, WarningButtonSet::YesNoCancel);
        EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Question);
        EXPECT_EQ(views.Calls.size(), calls) << static_cast<int>(answer);
        EXPECT_TRUE(run.SessionRunning);
    }
}

TEST_F(RunRules, ResignWithYesClosesWithoutTouchingTheRun) {
    MakeSet(3);
    run.StartSession();
    Answer(false);
    record.Answer = WarningButton::Yes;
    record.Boxes.clear();
    run.Resign();
    EXPECT_EQ(record.Boxes.size(), 1u);
    EXPECT_THAT(std::vector(views.Calls.end() - 3, views.Calls.end()),
                ElementsAre("ClosePictureWindow", "CloseTextWindow", "HideTestPanel"));
    EXPECT_THAT(views.Summaries, IsEmpty());
    EXPECT_TRUE(run.SessionRunning);
    EXPECT_EQ(run.GivenCount, 1);
    EXPECT_EQ(run.CurrentQuestionIndex, 1);
    EXPECT_TRUE(run.Progress[0].Answered);
}

TEST_F(RunRules, ResignClosesAtOnceWithoutConfirmationOrAfterTheEnd) {
    MakeSet(1);
    run.StartSession();
    settings.ConfirmResign = false;
    run.Resign();
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_EQ(views.Calls.back(), "HideTestPanel");

    settings.ConfirmResign = true;
    run.StartSession();
    Check(true);
    views.Calls.clear();
    run.Resign();
    EXPECT_THAT(record.Boxes, IsEmpty());
    EXPECT_THAT(views.Calls, ElementsAre("ClosePictureWindow", "CloseTextWindow", "HideTestPanel"));
}

TEST_F(RunRules, AttachmentsAnnouncedAtEveryQuestionWhenReloading) {
    MakeSet({{.Text = "Q1", .Picture = "mapa.jpg", .AttachedText = "opis.txt"},
             {.Text = "Q2", .Picture = "mapa.jpg", .AttachedText = "opis.txt"},
             Plain("Q3"),
             {.Text = "Q4", .Picture = "mapa.jpg"}});
    run.StartSession();
    AnswerAll({true, true, true, true});
    EXPECT_THAT(views.Pictures, ElementsAre("+mapa.jpg", "+mapa.jpg", "-", "+mapa.jpg"));
    EXPECT_THAT(views.Texts, ElementsAre("+opis.txt", "+opis.txt", "-", "-"));
}

TEST_F(RunRules, TheDecodedPictureIsLetGoOnceShown) {
    QuestionDocument document;
    document.AnswerCount = 3;
    document.QuestionText = "Q1";
    document.Answers = {"a", "b", "c", "", ""};
    document.Key = "100";
    document.PictureName = "mapa.jpg";
    run.SetFolder = dir.Path();
    run.QuestionFiles = {"p10.skq"};
    WritePakFile(dir / "p10.skq", {{"Sezz0.xml", WriteQuestion40(document)}, {"mapa.jpg", MakeTestJpeg(40, 30)}});
    run.StartSession();
    EXPECT_THAT(views.Pictures, ElementsAre("+mapa.jpg"));
    EXPECT_EQ(run.Current.Picture.Pixels.size(), 0u);
}

TEST_F(RunRules, UnchangedAttachmentsLeftAloneWithoutReloading) {
    settings.ReloadAttachments = false;
    MakeSet({{.Text = "Q1", .Picture = "mapa.jpg", .AttachedText = "opis.txt"},
             {.Text = "Q2", .Picture = "mapa.jpg", .AttachedText = "opis.txt"},
             {.Text = "Q3", .Picture = "rzeka.jpg", .AttachedText = "inny.txt"},
             Plain("Q4"),
             {.Text = "Q5", .Picture = "rzeka.jpg", .AttachedText = "inny.txt"},
             {.Text = "Q6", .Picture = "Rzeka.jpg", .AttachedText = "Inny.txt"}});
    run.StartSession();
    AnswerAll({true, true, true, true, true, true});
    // Folding the picture window up forgets its name; the text window keeps its own.
    // Names differing only in case count as changed.
    EXPECT_THAT(views.Pictures, ElementsAre("+mapa.jpg", "+rzeka.jpg", "-", "+rzeka.jpg", "+Rzeka.jpg"));
    EXPECT_THAT(views.Texts, ElementsAre("+opis.txt", "+inny.txt", "-", "+Inny.txt"));
    EXPECT_EQ(run.LastShownPictureName, "Rzeka.jpg");

    // A new run announces them again.
    views.Pictures.clear();
    views.Texts.clear();
    MakeSet({{.Text = "Q7", .Picture = "Rzeka.jpg", .AttachedText = "Inny.txt"}});
    run.StartSession();
    EXPECT_THAT(views.Pictures, ElementsAre("+Rzeka.jpg"));
    EXPECT_THAT(views.Texts, ElementsAre("+Inny.txt"));
}

TEST_F(RunRules, UnregisteredViewsShowNothingAndTheRunGoesOn) {
    run.SetTestScreenView(nullptr);
    run.SetAttachmentView(nullptr);
    run.SetRunFeedback(nullptr);
    MakeSet({{.Text = "Q1", .Picture = "mapa.jpg", .AttachedText = "opis.txt"}, Plain("Q2")});
    run.StartSession();
    AnswerAll({true, false});
    run.Resign();
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_EQ(run.GivenCount, 2);
    EXPECT_THAT(views.Calls, IsEmpty());
}

TEST_F(RunRules, ViewGoneIsUnregistered) {
    struct Silent final : RunFeedback {
        void PlaySound(const char*) override {}
        void ShowSummary(const SummaryReport&) override {}
    };
    {
        Silent gone;
        run.SetRunFeedback(&gone);
    }
    EXPECT_EQ(run.SetRunFeedback(nullptr), nullptr);
    // A view replaced meanwhile stays registered when the one before it goes.
    auto replaced = std::make_unique<Silent>();
    Silent current;
    run.SetRunFeedback(replaced.get());
    run.SetRunFeedback(&current);
    replaced.reset();
    EXPECT_EQ(run.SetRunFeedback(nullptr), &current);
}

// The review and the results file a run leaves behind.
class RunRecords : public RunRules {
protected:
    void SetUp() override {
        RunRules::SetUp();
        paths.SettingsFile = dir / "Ludra.ini";
    }

    std::filesystem::path Results() const { return dir / "wyniki.csv"; }
};

TEST_F(RunRecords, ReviewHoldsOnlyMistakesOfTheFirstShowing) {
    settings.RepeatWrong = true;
    MakeSet(3);
    run.StartSession();
    AnswerAll({false, true, false}); // Q1 and Q3 come back
    AnswerAll({false, true});        // Q1 wrong again, Q3 right
    Check(true);
    EXPECT_FALSE(run.SessionRunning);
    EXPECT_EQ(run.FirstTimeRight, 1);
    ASSERT_EQ(run.RunMistakes.size(), 2u);
    EXPECT_EQ(run.RunMistakes[0].Number, 1);
    EXPECT_EQ(run.RunMistakes[0].QuestionText, "Q1");
    EXPECT_EQ(run.RunMistakes[1].Number, 3);
    for (const ReviewEntry& entry : run.RunMistakes) {
        ASSERT_EQ(entry.Answers.size(), 4u);
        for (const ReviewAnswer& answer : entry.Answers) {
            EXPECT_EQ(answer.Chosen, answer.Text == "d") << answer.Letter;
            EXPECT_EQ(answer.Right, answer.Text == "b") << answer.Letter;
        }
    }
    MakeSet(1);
    run.StartSession();
    EXPECT_THAT(run.RunMistakes, IsEmpty());
}

TEST_F(RunRecords, AFinishedRunAppendsOneLineAResignedOneNone) {
    MakeSet(2);
    run.StartSession();
    Answer(false);
    record.Answer = WarningButton::Yes;
    record.Boxes.clear();
    run.Resign();
    EXPECT_FALSE(std::filesystem::exists(Results()));
    for (int pass = 0; pass < 2; ++pass) {
        run.StartSession();
        AnswerAll({true, false});
    }
    const std::string file = ReadFileText(Results());
    const std::string line = ResultsLine(views.Summaries.back(), dir.Path().filename().string(), dir.Path());
    EXPECT_EQ(file, "\xEF\xBB\xBF" + std::string(kResultsHeader) + "\r\n" + line + "\r\n" + line + "\r\n");
}

TEST_F(RunRecords, AResultsFileThatCannotBeWrittenStopsNothingAndIsToldOnce) {
    run.SetResultsRecorder(ResultsRecorder{});
    paths.SettingsFile = dir / "no-such-folder" / "Ludra.ini";
    MakeSet(1);
    for (int pass = 0; pass < 2; ++pass) {
        run.StartSession();
        Check(true);
        EXPECT_FALSE(run.SessionRunning);
    }
    EXPECT_EQ(views.Summaries.size(), 2u);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kResultsNotSaved));
    EXPECT_THAT(record.JournalMessages(), Contains(u"Problem z zapisem wyniku do pliku wyników.").Times(2));
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
    const ProgramPaths paths;
    const Settings settings;
    Recorder record;
    Random random;
    TestRun run(settings, record.Reports(), paths, random);
    const SessionClock previous = run.SetSessionClock([] { return 12345.5; });
    EXPECT_EQ(run.SessionNow(), 12345.5);
    run.SetSessionClock(previous);
    const double real = run.SessionNow();
    EXPECT_GT(real, 45000.0); // any date after 2023
}

} // namespace
