#pragma once

#include "core/session/SummaryReport.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The test session engine: runs one question set from its first question to the
// summary. Module state, one run at a time; the question on screen is
// CurrentQuestion of storage/UProcReadWrite.h.

// The set's inputs, filled by set selection: a question's path is SetFolder / entry.
extern std::filesystem::path SetFolder;
extern std::vector<std::string> QuestionFiles;

struct QuestionProgress {
    bool Answered = false;      // checked at least once in this run
    bool AnsweredRight = false; // the last check of it was right
};

// Run state.
extern std::int32_t QuestionCount;
extern std::vector<QuestionProgress> Progress;
// The question on screen, or the one the next button will load. Not named
// CurrentQuestion: that name is the question record itself.
extern std::int32_t CurrentQuestionIndex;
extern std::int32_t FirstTimeRight; // right at the first showing, repeat pass not counted
extern std::int32_t RightCount;     // right checks, repeat pass included
extern std::int32_t GivenCount;     // checks made, repeat pass included
extern bool QuestionChecked;        // answer clicks wait for the next question
extern bool SessionRunning;         // the check and next buttons and the answers respond
extern bool RetryPass;              // the question on screen came back from the repeat pass
extern double StartTime;            // days since 30 December 1899, local time
extern double EndTime;
// Names of the attached text and picture their windows show (Windows-1250).
// The engine writes them when it announces one; the picture window also clears
// its name when it folds up by itself.
extern std::string LastShownTextName;
extern std::string LastShownPictureName;

// Sound names among the application's resources.
inline constexpr const char* kSoundRight = "Ruch";
inline constexpr const char* kSoundWrong = "Blond";
inline constexpr const char* kSoundFinal = "Final";

// Everything the engine asks of the test screen, the attachment windows, the sound
// player and the summary window. The GUI installs them; unset ones do nothing.
struct TestScreenHooks {
    std::function<void()> ShowQuestion;       // fill the screen from CurrentQuestion (marks cleared)
    std::function<void()> ClearMarks;         // every tile in its plain look
    std::function<void()> ShowSelectionMarks; // tiles by Selected
    std::function<void()> ShowVerdictMarks;   // tiles by Correct and Selected
    std::function<void(const std::u16string& text)> UpdateStatusLine;
    std::function<void()> ShowCheckButton; // PButStop, covering the next button
    std::function<void()> HideCheckButton;
    std::function<void()> ShowTestPanel; // PTest, when hidden
    std::function<void()> HideTestPanel;
    std::function<void()> HideHintButton;    // PPodpowiedz
    std::function<void()> HideHintPanel;     // ptekstPodpowiedzi, when visible
    std::function<void()> OpenPictureWindow; // show the picture window when hidden
    std::function<void()> OpenTextWindow;    // show the text window when hidden
    std::function<void()> ClosePictureWindow;
    std::function<void()> CloseTextWindow;
    std::function<void(const std::string& name)> ShowAttachedText; // AttachedTextLines holds it
    std::function<void()> HideAttachedText;                        // fold the text window up
    std::function<void(const std::string& name)> ShowPicture;      // PictureBitmap holds it
    std::function<void()> HidePicture;                             // fold the picture window up
    std::function<void(const char* sound)> PlaySound;              // asynchronous, failures ignored
    std::function<void(const SummaryReport& report)> ShowSummary;  // modal; returns when closed
};

// Installs the hooks and gives back the ones they replace.
TestScreenHooks SetTestScreenHooks(TestScreenHooks hooks);

// The local clock as days since 30 December 1899; tests install their own.
using SessionClock = std::function<double()>;
SessionClock SetSessionClock(SessionClock clock);
double SessionNow();
// A local date and time (tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec) as days since 30 December 1899.
double DateTimeFromLocal(const std::tm& local, int milliseconds = 0);

// The status line: counts of the run and the running score.
std::u16string StatusLineText(std::int32_t questionCount, std::int32_t givenCount, std::int32_t rightCount);

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
