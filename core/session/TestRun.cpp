#include "core/session/TestRun.h"

#include "core/base/CodePage.h"
#include "core/base/ShowWarning.h"
#include "core/base/StoredNames.h"
#include "core/session/QuestionLoader.h"
#include "core/session/QuestionRecord.h"
#include "core/session/ResultsHistory.h"
#include "core/storage/SettingsFile.h"

#include <chrono>
#include <utility>

std::filesystem::path SetFolder;
std::vector<std::string> QuestionFiles;
std::string SetName;

std::int32_t QuestionCount = 0;
std::vector<QuestionProgress> Progress;
std::int32_t CurrentQuestionIndex = 0;
std::int32_t FirstTimeRight = 0;
std::int32_t RightCount = 0;
std::int32_t GivenCount = 0;
bool QuestionChecked = false;
bool SessionRunning = false;
bool RetryPass = false;
std::vector<ReviewEntry> RunMistakes;
double StartTime = 0;
double EndTime = 0;
std::string LastShownTextName;
std::string LastShownPictureName;

namespace {

TestScreenView* screenView = nullptr;
AttachmentView* attachmentView = nullptr;
RunFeedback* runFeedback = nullptr;
SessionClock sessionClock;
ResultsRecorder resultsRecorder;

// Tells a view what to show; without a registered view there is nothing to show.
template <typename View, typename Method, typename... Args> void Tell(View* view, Method method, Args&&... args) {
    if (view != nullptr)
        (view->*method)(std::forward<Args>(args)...);
}

template <typename View> void Unregister(View*& registered, const View* view) {
    if (registered == view)
        registered = nullptr;
}

double SystemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return DateTimeFromLocal(local, static_cast<int>(milliseconds < 0 ? milliseconds + 1000 : milliseconds));
}

void ShowStatusLine() {
    Tell(screenView, &TestScreenView::UpdateStatusLine, StatusLineText(QuestionCount, GivenCount, RightCount));
}

void PlayWhenSoundOn(const char* sound) {
    if (SoundOn)
        Tell(runFeedback, &RunFeedback::PlaySound, sound);
}

// Tells the text and picture windows about the question's attachments when their
// names differ from the ones shown last; a window showing one records its name.
void AnnounceAttachments() {
    if (CurrentQuestion.TextName.empty()) {
        Tell(attachmentView, &AttachmentView::HideAttachedText);
    } else if (CurrentQuestion.TextName != LastShownTextName) {
        Tell(attachmentView, &AttachmentView::ShowAttachedText, CurrentQuestion.TextName);
        LastShownTextName = CurrentQuestion.TextName;
    }
    if (CurrentQuestion.PictureName.empty()) {
        Tell(attachmentView, &AttachmentView::HidePicture);
        LastShownPictureName.clear();
    } else if (CurrentQuestion.PictureName != LastShownPictureName) {
        Tell(attachmentView, &AttachmentView::ShowPicture, CurrentQuestion.PictureName);
        LastShownPictureName = CurrentQuestion.PictureName;
    }
    // The picture window keeps its own copy: the decoded picture's memory goes back at once.
    PictureBitmap = {};
}

bool OpenQuestionAt(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= QuestionFiles.size())
        return false;
    return OpenQuestionFile(SetFolder / QuestionFiles[static_cast<std::size_t>(index)]);
}

// Counts one judged check of the question on screen; true when it was right.
bool CountCheck() {
    QuestionProgress& progress = Progress[static_cast<std::size_t>(CurrentQuestionIndex)];
    progress.Answered = true;
    const bool right = AllAnswersRight(CurrentQuestion);
    if (right) {
        if (!RetryPass)
            ++FirstTimeRight;
        ++RightCount;
    } else if (!RetryPass) {
        RunMistakes.push_back(MakeReviewEntry(CurrentQuestion, CurrentQuestionIndex + 1));
    }
    ++GivenCount;
    QuestionChecked = true;
    ShowStatusLine();
    progress.AnsweredRight = right;
    return right;
}

// The learner's results file beside the settings; a failure costs only the line, and is told.
void RecordResults(const SummaryReport& report) {
    if (SettingsPath.empty())
        return;
    const std::string line =
        ResultsLine(report, SetName.empty() ? FolderSetName(SetFolder) : AnsiToUtf8(SetName), SetFolder);
    resultsRecorder.Record(SettingsPath.parent_path() / stored::kResultsFile, line);
}

void FinishRun() {
    PlayWhenSoundOn(kSoundFinal);
    EndTime = SessionNow();
    const SummaryReport report = MakeSummaryReport(QuestionCount, FirstTimeRight, GivenCount, StartTime, EndTime);
    RecordResults(report);
    Tell(runFeedback, &RunFeedback::ShowSummary, report);
    SessionRunning = false;
}

bool CurrentIndexValid() {
    return CurrentQuestionIndex >= 0 && static_cast<std::size_t>(CurrentQuestionIndex) < Progress.size();
}

} // namespace

TestScreenView::~TestScreenView() { Unregister(screenView, this); }
AttachmentView::~AttachmentView() { Unregister(attachmentView, this); }
RunFeedback::~RunFeedback() { Unregister(runFeedback, this); }

TestScreenView* SetTestScreenView(TestScreenView* view) { return std::exchange(screenView, view); }
AttachmentView* SetAttachmentView(AttachmentView* view) { return std::exchange(attachmentView, view); }
RunFeedback* SetRunFeedback(RunFeedback* feedback) { return std::exchange(runFeedback, feedback); }

SessionClock SetSessionClock(SessionClock replacement) { return std::exchange(sessionClock, std::move(replacement)); }
ResultsRecorder SetResultsRecorder(ResultsRecorder replacement) { return std::exchange(resultsRecorder, replacement); }

double SessionNow() { return sessionClock ? sessionClock() : SystemNow(); }

double DateTimeFromLocal(const std::tm& local, int milliseconds) {
    using namespace std::chrono;
    const year_month_day date{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    const auto days = (sys_days{date} - sys_days{year{1899} / December / 30}).count();
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + milliseconds / 1000.0;
    return static_cast<double>(days) + seconds / 86400.0;
}

std::u16string StatusLineText(std::int32_t questionCount, std::int32_t givenCount, std::int32_t rightCount) {
    const auto decimal = [](std::int64_t value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    };
    std::u16string text = u"Pytań w zestawie: " + decimal(questionCount) + u"\r";
    text += u"Udzielonych odpowiedzi: " + decimal(givenCount) + u"\r";
    text += u"Poprawnych odpowiedzi: " + decimal(rightCount) + u"\r\r";
    if (givenCount > 0)
        text += u"Skuteczność chwilowa: " + decimal(RoundedPercent(rightCount, givenCount)) + u"%";
    else
        text += u"Skuteczność chwilowa: nieokreślona";
    return text;
}

void StartSession() {
    QuestionCount = static_cast<std::int32_t>(QuestionFiles.size());
    Progress.assign(QuestionFiles.size(), QuestionProgress{});
    RunMistakes.clear();
    CurrentQuestionIndex = 0;
    LastShownTextName.clear();
    LastShownPictureName.clear();
    if (!LoadQuestion(0))
        return;
    QuestionChecked = false;
    SessionRunning = true;
    RetryPass = false;
    Tell(screenView, &TestScreenView::ShowCheckButton);
    FirstTimeRight = 0;
    RightCount = 0;
    GivenCount = 0;
    ShowStatusLine();
    StartTime = SessionNow();
}

bool LoadQuestion(std::int32_t index) {
    if (ReloadAttachments) {
        LastShownTextName.clear();
        LastShownPictureName.clear();
    }
    Tell(screenView, &TestScreenView::HideHintButton);
    Tell(screenView, &TestScreenView::HideHintPanel);
    Tell(attachmentView, &AttachmentView::OpenPictureWindow);
    Tell(attachmentView, &AttachmentView::OpenTextWindow);
    const bool loaded = OpenQuestionAt(index);
    if (loaded) {
        Tell(screenView, &TestScreenView::ClearMarks);
        Tell(screenView, &TestScreenView::ShowQuestion);
        AnnounceAttachments();
        Tell(screenView, &TestScreenView::ShowTestPanel);
    }
    QuestionChecked = false;
    return loaded;
}

void AnswerClick(std::int32_t position) {
    if (QuestionChecked || !SessionRunning)
        return;
    Tell(screenView, &TestScreenView::HideHintPanel);
    ToggleAnswer(CurrentQuestion, position);
    Tell(screenView, &TestScreenView::ShowSelectionMarks);
}

void CheckAnswer() {
    // The check button is covered after a check, so a second check of one showing never comes.
    if (!SessionRunning || QuestionChecked || !CurrentIndexValid())
        return;
    if (!AnyAnswerChosen(CurrentQuestion)) {
        ShowWarning(WarningButtonSet::Close, WarningIcon::Warning, u"\rDokonaj wyboru odpowiedzi.");
        return;
    }
    Tell(screenView, &TestScreenView::ShowVerdictMarks);
    const char* sound = CountCheck() ? kSoundRight : kSoundWrong;
    if (FindNextQuestion()) {
        PlayWhenSoundOn(sound);
        Tell(screenView, &TestScreenView::HideCheckButton);
    } else {
        FinishRun();
    }
}

bool FindNextQuestion() {
    for (std::size_t i = 0; i < Progress.size(); ++i) {
        if (!Progress[i].Answered) {
            CurrentQuestionIndex = static_cast<std::int32_t>(i);
            RetryPass = false;
            return true;
        }
    }
    if (!RepeatWrong)
        return false;
    for (std::size_t i = 0; i < Progress.size(); ++i) {
        if (Progress[i].Answered && !Progress[i].AnsweredRight) {
            CurrentQuestionIndex = static_cast<std::int32_t>(i);
            RetryPass = true;
            return true;
        }
    }
    return false;
}

void NextQuestion() {
    if (!SessionRunning)
        return;
    if (LoadQuestion(CurrentQuestionIndex)) {
        Tell(screenView, &TestScreenView::ShowCheckButton);
        return;
    }
    SessionRunning = false;
    ShowWarning(WarningButtonSet::Close, WarningIcon::Warning,
                u"\rUsuń wadliwe pytanie z zestawu i rozpocznij ponownie.");
}

void Resign() {
    if (SessionRunning && ConfirmResign) {
        ShowWarning(WarningButtonSet::YesNoCancel, WarningIcon::Question,
                    u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?");
        if (WarningResult != WarningButton::Yes)
            return;
    }
    Tell(attachmentView, &AttachmentView::ClosePictureWindow);
    Tell(attachmentView, &AttachmentView::CloseTextWindow);
    Tell(screenView, &TestScreenView::HideTestPanel);
}
