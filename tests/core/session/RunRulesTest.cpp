#include "core/base/Random.h"
#include "core/session/UObslugaTest.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/UIni.h"
#include "core/storage/UProcReadWrite.h"
#include "support/Recorder.h"
#include "support/SessionState.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr double kSecond = 1.0 / 86400.0;
const std::u16string kNoChoice = u"\rDokonaj wyboru odpowiedzi.";
const std::u16string kRemoveDamaged = u"\rUsuń wadliwe pytanie z zestawu i rozpocznij ponownie.";

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\r')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// Everything the engine reports, in order.
struct Log {
    std::vector<std::string> Shown;
    std::vector<std::u16string> Status;
    std::vector<std::string> Sounds;
    std::vector<SummaryReport> Summaries;
    std::vector<std::string> Pictures;
    int SelectionMarks = 0;
    int VerdictMarks = 0;
    int CheckHidden = 0;
    int CheckShown = 0;

    TestScreenHooks Hooks() {
        TestScreenHooks hooks;
        hooks.ShowQuestion = [this] { Shown.push_back(CurrentQuestion.QuestionText); };
        hooks.ShowSelectionMarks = [this] { ++SelectionMarks; };
        hooks.ShowVerdictMarks = [this] { ++VerdictMarks; };
        hooks.UpdateStatusLine = [this](const std::u16string& text) { Status.push_back(text); };
        hooks.ShowCheckButton = [this] { ++CheckShown; };
        hooks.HideCheckButton = [this] { ++CheckHidden; };
        hooks.ShowPicture = [this](const std::string& name) { Pictures.push_back("+" + name); };
        hooks.HidePicture = [this] { Pictures.emplace_back("-"); };
        hooks.PlaySound = [this](const char* sound) { Sounds.emplace_back(sound); };
        hooks.ShowSummary = [this](const SummaryReport& report) { Summaries.push_back(report); };
        return hooks;
    }
};

// Run state that a check may change.
using Snapshot = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool, bool, bool,
                            std::vector<std::pair<bool, bool>>>;
Snapshot Take() {
    std::vector<std::pair<bool, bool>> progress;
    for (const QuestionProgress& p : Progress)
        progress.emplace_back(p.Answered, p.AnsweredRight);
    return {CurrentQuestionIndex, FirstTimeRight, RightCount, GivenCount,
            QuestionChecked,      SessionRunning, RetryPass,  progress};
}

class SessionRules : public ::testing::Test {
protected:
    SessionState state_; // first in, last out

    void SetUp() override {
        SeedRandom(23);
        SetTestScreenHooks(log.Hooks());
        SetSessionClock([this] { return now; });
    }

    // One four-answer question whose answer 2 is the right one.
    void WriteQuestion(const std::string& name, const std::string& text, const std::string& picture = "",
                       int type = 0) {
        QuestionDocument document;
        document.QuestionType = type;
        document.AnswerCount = 4;
        document.QuestionText = text;
        document.Answers = {"a", "b", "c", "d", ""};
        document.Key = "0100";
        document.PictureName = picture;
        WritePakFile(dir / name, {{"Sezz0.xml", WriteQuestion40(document)}});
    }
    // A set of distinct questions Q1..Qn.
    void MakeSet(int count) {
        SetFolder = dir.Path();
        QuestionFiles.clear();
        for (int i = 1; i <= count; ++i) {
            const std::string name = "q" + std::to_string(i) + ".skq";
            WriteQuestion(name, "Q" + std::to_string(i));
            QuestionFiles.push_back(name);
        }
    }
    // A large set that names one file many times.
    void MakeRepeatedSet(int count) {
        SetFolder = dir.Path();
        WriteQuestion("same.skq", "S");
        QuestionFiles.assign(static_cast<std::size_t>(count), "same.skq");
    }

    static int PositionOf(int answer) { return CurrentQuestion.Answer(answer).Position; }
    static std::vector<bool> Chosen() {
        std::vector<bool> chosen;
        for (int k = 1; k <= CurrentQuestion.AnswerCount; ++k)
            chosen.push_back(CurrentQuestion.Answer(k).Selected);
        return chosen;
    }
    // Chooses the right or a wrong answer and checks it.
    static void Check(bool right) {
        AnswerClick(PositionOf(right ? 2 : 4));
        CheckAnswer();
    }
    // Checks, then moves on while the run goes on.
    static void Answer(bool right) {
        Check(right);
        if (SessionRunning)
            NextQuestion();
    }
    static void AnswerAll(const std::vector<bool>& rights) {
        for (bool right : rights)
            Answer(right);
    }
    // n answers of which the first `right` are right.
    static std::vector<bool> Pattern(int n, int right) {
        std::vector<bool> rights(static_cast<std::size_t>(n), false);
        for (int i = 0; i < right; ++i)
            rights[static_cast<std::size_t>(i)] = true;
        return rights;
    }

    TempDir dir;
    Recorder record{WarningButton::Nie};
    Log log;
    double now = 46100.25;

private:
};

TEST_F(SessionRules, SingleQuestionRightPlaysOnlyFinal) {
    MakeSet(1);
    StartSession();
    Check(true);
    EXPECT_THAT(log.Sounds, ElementsAre("Final"));
    EXPECT_FALSE(SessionRunning);
    EXPECT_EQ(log.CheckHidden, 0);
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_EQ(log.Summaries[0].Percent, 100);
    EXPECT_EQ(Lines(log.Summaries[0].Text).back(), u"Reasumując: Jesteś rewelacyjny.");
}

TEST_F(SessionRules, SingleQuestionWithRepeatComesBackUntilRight) {
    RepeatWrong = true;
    MakeSet(1);
    StartSession();
    Answer(false);
    EXPECT_TRUE(SessionRunning);
    EXPECT_TRUE(RetryPass);
    EXPECT_EQ(CurrentQuestionIndex, 0);
    Answer(false);
    Answer(true);
    EXPECT_THAT(log.Shown, ElementsAre("Q1", "Q1", "Q1"));
    EXPECT_THAT(log.Sounds, ElementsAre("Blond", "Blond", "Final"));
    EXPECT_EQ(FirstTimeRight, 0);
    EXPECT_EQ(RightCount, 1);
    EXPECT_EQ(GivenCount, 3);
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_EQ(log.Summaries[0].Percent, 0);
    EXPECT_EQ(log.Summaries[0].GivenCount, 3);
}

TEST_F(SessionRules, SingleQuestionSilentWhenSoundIsOff) {
    SoundOn = false;
    MakeSet(1);
    StartSession();
    Check(false);
    EXPECT_THAT(log.Sounds, IsEmpty());
    EXPECT_EQ(log.Summaries.size(), 1u);
}

TEST_F(SessionRules, AllRightWithRepeatOnNeedsNoSecondPass) {
    RepeatWrong = true;
    MakeSet(5);
    StartSession();
    AnswerAll(Pattern(5, 5));
    EXPECT_THAT(log.Shown, ElementsAre("Q1", "Q2", "Q3", "Q4", "Q5"));
    EXPECT_FALSE(RetryPass);
    EXPECT_EQ(FirstTimeRight, QuestionCount);
    EXPECT_EQ(RightCount, QuestionCount);
    EXPECT_EQ(GivenCount, QuestionCount);
    EXPECT_THAT(log.Sounds, ElementsAre("Ruch", "Ruch", "Ruch", "Ruch", "Final"));
    EXPECT_EQ(log.Summaries.size(), 1u);
}

TEST_F(SessionRules, OneWrongWithoutRepeatEndsAfterTheLastQuestion) {
    MakeSet(5);
    StartSession();
    AnswerAll({true, true, false, true});
    EXPECT_TRUE(log.Summaries.empty());
    EXPECT_TRUE(SessionRunning);
    Check(true);
    EXPECT_FALSE(SessionRunning);
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_EQ(GivenCount, QuestionCount);
    EXPECT_EQ(FirstTimeRight, 4);
    EXPECT_EQ(RightCount, 4);
    EXPECT_TRUE(Progress[2].Answered);
    EXPECT_FALSE(Progress[2].AnsweredRight);
    EXPECT_EQ(log.Summaries[0].Percent, 80);
    EXPECT_EQ(Lines(log.Summaries[0].Text)[4], u"Skuteczność: 80%");
}

TEST_F(SessionRules, RepeatPassAsksWrongQuestionsInOrderUntilRight) {
    RepeatWrong = true;
    MakeSet(6);
    StartSession();
    AnswerAll({true, false, true, true, false});
    // The last question of the first pass sends the run back to question 2.
    Check(true);
    EXPECT_EQ(CurrentQuestionIndex, 1);
    EXPECT_TRUE(RetryPass);
    NextQuestion();
    EXPECT_EQ(FirstTimeRight, 4);

    struct Step {
        bool Right;
        int NextIndex;
    };
    // Question 2 wrong twice, then right; question 5 wrong once, then right.
    const Step steps[] = {{false, 1}, {false, 1}, {true, 4}, {false, 4}};
    std::int32_t right = RightCount, given = GivenCount;
    for (const Step& step : steps) {
        Check(step.Right);
        right += step.Right ? 1 : 0;
        ++given;
        EXPECT_EQ(FirstTimeRight, 4);
        EXPECT_EQ(RightCount, right);
        EXPECT_EQ(GivenCount, given);
        EXPECT_TRUE(SessionRunning);
        EXPECT_TRUE(RetryPass);
        EXPECT_EQ(CurrentQuestionIndex, step.NextIndex);
        NextQuestion();
    }
    Check(true);
    EXPECT_FALSE(SessionRunning);
    EXPECT_THAT(log.Shown, ElementsAre("Q1", "Q2", "Q3", "Q4", "Q5", "Q6", "Q2", "Q2", "Q2", "Q5", "Q5"));
    EXPECT_EQ(FirstTimeRight, 4);
    EXPECT_EQ(RightCount, 6);
    EXPECT_EQ(GivenCount, 11);
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_THAT(Lines(log.Summaries[0].Text),
                ElementsAre(u"  ZESTAWIENIE ", u" =============", u"Pytań w zestawie: 6", u"Poprawnych odpowiedzi: 4",
                            u"Skuteczność: 67%", u"", u"Udzielonych odpowiedzi: 11", u"Czas pracy: 0 min 0 s",
                            u"Reasumując: Jest tak sobie."));
}

TEST_F(SessionRules, RepeatPassSummaryOfTenQuestions) {
    RepeatWrong = true;
    MakeSet(10);
    StartSession();
    now += 42 * kSecond;
    // Questions 1, 4, 7 and 10 wrong at first; five more wrong checks before each is right.
    AnswerAll({false, true, true, false, true, true, false, true, true, false});
    AnswerAll({false, false, true, true, false, true, false, false, true});
    EXPECT_FALSE(SessionRunning);
    EXPECT_THAT(std::vector<std::string>(log.Shown.begin() + 10, log.Shown.end()),
                ElementsAre("Q1", "Q1", "Q1", "Q4", "Q7", "Q7", "Q10", "Q10", "Q10"));
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_EQ(log.Summaries[0].Text, u"  ZESTAWIENIE \r =============\r"
                                     u"Pytań w zestawie: 10\r"
                                     u"Poprawnych odpowiedzi: 6\r"
                                     u"Skuteczność: 60%\r\r"
                                     u"Udzielonych odpowiedzi: 19\r"
                                     u"Czas pracy: 0 min 42 s\r"
                                     u"Reasumując: Jest tak sobie.");
    // The running status line counts the repeat pass too.
    EXPECT_EQ(log.Status.back(), u"Pytań w zestawie: 10\rUdzielonych odpowiedzi: 19\rPoprawnych odpowiedzi: 10\r\r"
                                 u"Skuteczność chwilowa: 53%");
}

TEST_F(SessionRules, CheckWithNothingChosenChangesNothingInEitherPass) {
    RepeatWrong = true;
    MakeSet(3);
    StartSession();
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        const Snapshot before = Take();
        const std::size_t statuses = log.Status.size(), sounds = log.Sounds.size();
        const int verdicts = log.VerdictMarks, hidden = log.CheckHidden;
        CheckAnswer();
        EXPECT_EQ(Take(), before);
        EXPECT_EQ(log.Status.size(), statuses);
        EXPECT_EQ(log.Sounds.size(), sounds);
        EXPECT_EQ(log.VerdictMarks, verdicts);
        EXPECT_EQ(log.CheckHidden, hidden);
        EXPECT_TRUE(log.Summaries.empty());
        if (pass == 0)
            AnswerAll({false, true, true}); // on to the repeat pass
        EXPECT_TRUE(RetryPass);
    }
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kNoChoice, kNoChoice));
}

TEST_F(SessionRules, ChoiceTakenBackCountsAsNothingChosen) {
    SetFolder = dir.Path();
    WriteQuestion("m.skq", "M", "", 1);
    QuestionFiles = {"m.skq", "m.skq"};
    StartSession();
    AnswerClick(PositionOf(2));
    AnswerClick(PositionOf(2));
    const Snapshot before = Take();
    CheckAnswer();
    EXPECT_EQ(Take(), before);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kNoChoice));
    Check(true);
    EXPECT_EQ(RightCount, 1);
}

TEST_F(SessionRules, ClicksAfterACheckAreIgnored) {
    MakeSet(2);
    StartSession();
    Check(false);
    const std::vector<bool> judged = Chosen();
    const Snapshot before = Take();
    const int marks = log.SelectionMarks;
    for (int p = 1; p <= 5; ++p)
        AnswerClick(p);
    CheckAnswer();
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(log.SelectionMarks, marks);
    // The next question starts with open choices again.
    NextQuestion();
    AnswerClick(PositionOf(1));
    EXPECT_EQ(log.SelectionMarks, marks + 1);
    EXPECT_TRUE(CurrentQuestion.Answer(1).Selected);
}

TEST_F(SessionRules, ClicksAfterTheSummaryAreIgnored) {
    RepeatWrong = true;
    MakeSet(2);
    StartSession();
    AnswerAll({true, false, true});
    ASSERT_EQ(log.Summaries.size(), 1u);
    const std::vector<bool> judged = Chosen();
    const Snapshot before = Take();
    const int marks = log.SelectionMarks, shown = log.CheckShown;
    for (int p = 1; p <= 5; ++p)
        AnswerClick(p);
    CheckAnswer();
    NextQuestion();
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(log.SelectionMarks, marks);
    EXPECT_EQ(log.CheckShown, shown);
    EXPECT_EQ(log.Shown.size(), 3u);
    EXPECT_EQ(log.Summaries.size(), 1u);
}

TEST_F(SessionRules, ClicksAfterAFailedNextAreIgnored) {
    MakeSet(3);
    WriteFileText(dir / QuestionFiles[1], "damaged");
    StartSession();
    Check(true);
    NextQuestion();
    ASSERT_FALSE(SessionRunning);
    // Whatever choice the record holds now stays.
    const std::vector<bool> judged = Chosen();
    const int marks = log.SelectionMarks;
    const std::int32_t given = GivenCount;
    for (int p = 1; p <= 4; ++p)
        AnswerClick(p);
    CheckAnswer();
    NextQuestion();
    EXPECT_EQ(Chosen(), judged);
    EXPECT_EQ(log.SelectionMarks, marks);
    EXPECT_EQ(GivenCount, given);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kRemoveDamaged));
    EXPECT_TRUE(log.Summaries.empty());
}

TEST_F(SessionRules, FailingQuestionInTheMiddleThenAFreshRun) {
    RepeatWrong = true;
    SetFolder = dir.Path();
    WriteQuestion("a.skq", "Q1", "mapa.jpg");
    WriteQuestion("b.skq", "Q2", "mapa.jpg");
    WriteFileText(dir / "c.skq", "damaged");
    WriteQuestion("d.skq", "Q4");
    QuestionFiles = {"a.skq", "b.skq", "c.skq", "d.skq"};
    ReloadAttachments = false;
    StartSession();
    Answer(true);
    Check(false);
    NextQuestion();
    EXPECT_FALSE(SessionRunning);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(kRemoveDamaged));
    EXPECT_THAT(log.Shown, ElementsAre("Q1", "Q2"));
    EXPECT_TRUE(log.Summaries.empty());
    EXPECT_EQ(GivenCount, 2);

    // The set is mended and opened again: nothing of the failed run remains.
    WriteQuestion("c.skq", "Q3");
    now += 600 * kSecond;
    log.Status.clear();
    log.Pictures.clear();
    StartSession();
    EXPECT_TRUE(SessionRunning);
    EXPECT_EQ(CurrentQuestionIndex, 0);
    EXPECT_EQ(FirstTimeRight + RightCount + GivenCount, 0);
    EXPECT_FALSE(RetryPass);
    EXPECT_FALSE(QuestionChecked);
    for (const QuestionProgress& p : Progress) {
        EXPECT_FALSE(p.Answered);
        EXPECT_FALSE(p.AnsweredRight);
    }
    EXPECT_EQ(StartTime, now);
    EXPECT_THAT(log.Pictures, ElementsAre("+mapa.jpg")); // announced again, though unchanged
    EXPECT_THAT(log.Status, ElementsAre(u"Pytań w zestawie: 4\rUdzielonych odpowiedzi: 0\rPoprawnych odpowiedzi: 0\r\r"
                                        u"Skuteczność chwilowa: nieokreślona"));
    AnswerAll({true, true, true, true});
    ASSERT_EQ(log.Summaries.size(), 1u);
    EXPECT_EQ(log.Summaries[0].FirstTimeRight, 4);
    EXPECT_EQ(log.Summaries[0].GivenCount, 4);
    EXPECT_EQ(log.Summaries[0].Time.Minutes, 0);
}

TEST_F(SessionRules, StatusLinePercentagesDuringRuns) {
    struct Case {
        int Questions, Right;
        std::u16string Last;
    };
    const Case cases[] = {
        {8, 1, u"Skuteczność chwilowa: 12%"}, {8, 3, u"Skuteczność chwilowa: 38%"},
        {8, 5, u"Skuteczność chwilowa: 62%"}, {3, 2, u"Skuteczność chwilowa: 67%"},
        {3, 1, u"Skuteczność chwilowa: 33%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Right) + " of " + std::to_string(c.Questions));
        MakeSet(c.Questions);
        log.Status.clear();
        StartSession();
        AnswerAll(Pattern(c.Questions, c.Right));
        ASSERT_EQ(log.Status.size(), static_cast<std::size_t>(c.Questions) + 1);
        EXPECT_THAT(Lines(log.Status.back()),
                    ElementsAre(u"Pytań w zestawie: " + U16(std::to_string(c.Questions)),
                                u"Udzielonych odpowiedzi: " + U16(std::to_string(c.Questions)),
                                u"Poprawnych odpowiedzi: " + U16(std::to_string(c.Right)), u"", c.Last));
        EXPECT_EQ(Lines(log.Status[0]).back(), u"Skuteczność chwilowa: nieokreślona");
    }
}

TEST_F(SessionRules, SummaryTextsAndGradesOfTheExamples) {
    struct Case {
        int Questions, Right;
        std::u16string Score, Grade;
    };
    const Case cases[] = {
        {10, 7, u"Skuteczność: 70%", u"Reasumując: Jest tak sobie."},
        {20, 19, u"Skuteczność: 95%", u"Reasumując: Jesteś rewelacyjny."},
        {10, 10, u"Skuteczność: 100%", u"Reasumując: Jesteś rewelacyjny."},
        {8, 1, u"Skuteczność: 12%", u"Reasumując: Jest fatalnie. Ćwicz wytrwale."},
        {8, 3, u"Skuteczność: 38%", u"Reasumując: Jest jeszcze wiele do zrobienia."},
        {8, 5, u"Skuteczność: 62%", u"Reasumując: Jest tak sobie."},
        {200, 99, u"Skuteczność: 50%", u"Reasumując: Musisz jeszcze popracować nad sobą."},
        {200, 169, u"Skuteczność: 84%", u"Reasumując: To jest przyzwoity wynik."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Right) + " of " + std::to_string(c.Questions));
        MakeRepeatedSet(c.Questions);
        log.Summaries.clear();
        StartSession();
        now += 42 * kSecond;
        AnswerAll(Pattern(c.Questions, c.Right));
        ASSERT_EQ(log.Summaries.size(), 1u);
        const std::u16string n = U16(std::to_string(c.Questions));
        EXPECT_THAT(Lines(log.Summaries[0].Text),
                    ElementsAre(u"  ZESTAWIENIE ", u" =============", u"Pytań w zestawie: " + n,
                                u"Poprawnych odpowiedzi: " + U16(std::to_string(c.Right)), c.Score, u"",
                                u"Udzielonych odpowiedzi: " + n, u"Czas pracy: 0 min 42 s", c.Grade));
    }
}

} // namespace
