#pragma once

#include "core/base/ShowWarning.h"
#include "core/session/QuestionLoader.h"
#include "core/session/ResultsHistory.h"
#include "core/session/RunReview.h"
#include "core/session/SummaryReport.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct ProgramPaths;
struct Settings;
class TestRun;

struct QuestionProgress {
    bool Answered = false;      // checked at least once in this run
    bool AnsweredRight = false; // the last check of it was right
};

// Sound names among the application's resources.
inline constexpr const char* kSoundRight = "Ruch";
inline constexpr const char* kSoundWrong = "Blond";
inline constexpr const char* kSoundFinal = "Final";

// What the run shows. The GUI registers one implementation of each with the run; a view
// unregisters itself when destroyed, so the run never reaches one that is gone.

// The test panel of the main window.
class TestScreenView {
public:
    virtual ~TestScreenView();
    virtual void ShowQuestion() = 0;       // fill the screen from CurrentQuestion (marks cleared)
    virtual void ClearMarks() = 0;         // every tile in its plain look
    virtual void ShowSelectionMarks() = 0; // tiles by Selected
    virtual void ShowVerdictMarks() = 0;   // tiles by Correct and Selected
    virtual void UpdateStatusLine(const std::u16string& text) = 0;
    virtual void ShowCheckButton() = 0; // PButStop, covering the next button
    virtual void HideCheckButton() = 0;
    virtual void ShowTestPanel() = 0; // PTest, when hidden
    virtual void HideTestPanel() = 0;
    virtual void HideHintButton() = 0; // PPodpowiedz
    virtual void HideHintPanel() = 0;  // ptekstPodpowiedzi, when visible

private:
    friend class TestRun;
    TestRun* run_ = nullptr;
};

// The picture and text windows beside the main window.
class AttachmentView {
public:
    virtual ~AttachmentView();
    virtual void OpenPictureWindow() = 0; // show it when hidden
    virtual void OpenTextWindow() = 0;    // show it when hidden
    virtual void ClosePictureWindow() = 0;
    virtual void CloseTextWindow() = 0;
    virtual void ShowAttachedText(const std::string& name) = 0; // AttachedTextLines holds it
    virtual void HideAttachedText() = 0;                        // fold the text window up
    virtual void ShowPicture(const std::string& name) = 0;      // PictureBitmap holds it
    virtual void HidePicture() = 0;                             // fold the picture window up

private:
    friend class TestRun;
    TestRun* run_ = nullptr;
};

// The sounds of the checks and the summary at the end of a run.
class RunFeedback {
public:
    virtual ~RunFeedback();
    virtual void PlaySound(const char* sound) = 0;             // asynchronous, failures ignored
    virtual void ShowSummary(const SummaryReport& report) = 0; // modal; returns when closed

private:
    friend class TestRun;
    TestRun* run_ = nullptr;
};

// The local clock as days since 30 December 1899; tests install their own.
using SessionClock = std::function<double()>;
// A local date and time (tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec) as days since 30 December 1899.
double DateTimeFromLocal(const std::tm& local, int milliseconds = 0);

// The status line: counts of the run and the running score.
std::u16string StatusLineText(std::int32_t questionCount, std::int32_t givenCount, std::int32_t rightCount);

// The run of one question set, from its first question to the summary: one run at a time,
// its state open to the views that show it. It reads the learner's settings as they stand
// at each step, and writes the results file and the journal.
class TestRun {
public:
    TestRun(const Settings& settings, Reporting reports, const ProgramPaths& paths, Random& random)
        : settings_(settings), reports_(reports), paths_(paths), random_(random) {}
    ~TestRun();
    TestRun(const TestRun&) = delete;
    TestRun& operator=(const TestRun&) = delete;

    // The set's inputs, filled by set selection: a question's path is SetFolder / entry.
    std::filesystem::path SetFolder;
    std::vector<std::string> QuestionFiles;
    // The set list entry's name (Windows-1250) when the set came from the list; empty when
    // the folder was chosen, and its name names the set in the results file.
    std::string SetName;

    std::int32_t QuestionCount = 0;
    std::vector<QuestionProgress> Progress;
    // The question on screen, or the one the next button will load.
    std::int32_t CurrentQuestionIndex = 0;
    std::int32_t FirstTimeRight = 0; // right at the first showing, repeat pass not counted
    std::int32_t RightCount = 0;     // right checks, repeat pass included
    std::int32_t GivenCount = 0;     // checks made, repeat pass included
    bool QuestionChecked = false;    // answer clicks wait for the next question
    bool SessionRunning = false;     // the check and next buttons and the answers respond
    bool RetryPass = false;          // the question on screen came back from the repeat pass
    // Questions answered wrongly at their first showing, in the order of those checks.
    std::vector<ReviewEntry> RunMistakes;
    double StartTime = 0; // days since 30 December 1899, local time
    double EndTime = 0;
    // Names of the attached text and picture their windows show (Windows-1250). The run
    // writes them when it announces one; the picture window also clears its name when it
    // folds up by itself.
    std::string LastShownTextName;
    std::string LastShownPictureName;
    // The question on screen, its picture and its attached text.
    LoadedQuestion Current;

    // Each registers a view (null for none) and gives back the one it replaces. Where none is
    // registered the run has nothing to show there and goes on.
    TestScreenView* SetTestScreenView(TestScreenView* view);
    AttachmentView* SetAttachmentView(AttachmentView* view);
    RunFeedback* SetRunFeedback(RunFeedback* feedback);
    SessionClock SetSessionClock(SessionClock clock);
    // Writes each finished run to the results file; tests install their own to wait less for
    // the file's lock and to start with the learner not yet told.
    void SetResultsRecorder(ResultsRecorder recorder) { resultsRecorder_ = recorder; }
    double SessionNow() const;
    // Where the run tells what went wrong.
    const Reporting& Reports() const { return reports_; }

    // Starts a run at question 0 of QuestionFiles (never empty); a first question that
    // fails to load leaves the run unstarted.
    void StartSession();
    // Loads and shows one question; true when it is on screen.
    bool LoadQuestion(std::int32_t index);
    // The check button: judges, counts, chooses the next question or ends the run.
    void CheckAnswer();
    // Chooses the next question, the repeat pass included; false when the run is over.
    bool FindNextQuestion();
    // The next button: loads the question the last check chose; a failure stops the run.
    void NextQuestion();
    // An answer tile, display position 1..5.
    void AnswerClick(std::int32_t position);
    // The close spot of the test panel, asking first while a run is in progress.
    void Resign();

private:
    friend class TestScreenView;
    friend class AttachmentView;
    friend class RunFeedback;

    template <typename View> View* Register(View*& registered, View* view);
    void ShowStatusLine();
    void PlayWhenSoundOn(const char* sound);
    void AnnounceAttachments();
    bool OpenQuestionAt(std::int32_t index);
    bool CountCheck();
    void RecordResults(const SummaryReport& report);
    void FinishRun();
    bool CurrentIndexValid() const;

    const Settings& settings_;
    Reporting reports_;
    const ProgramPaths& paths_;
    Random& random_; // draws the answer order
    TestScreenView* screenView_ = nullptr;
    AttachmentView* attachmentView_ = nullptr;
    RunFeedback* runFeedback_ = nullptr;
    SessionClock sessionClock_;
    ResultsRecorder resultsRecorder_;
};
