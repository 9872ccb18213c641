#include "core/session/TestRun.h"

#include "core/base/CodePage.h"
#include "core/base/ShowWarning.h"
#include "core/session/QuestionLoader.h"
#include "core/session/QuestionRecord.h"
#include "core/session/ResultsHistory.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/SettingsFile.h"

#include <chrono>
#include <utility>

namespace {

// Tells a view what to show; without a registered view there is nothing to show.
template <typename View, typename Method, typename... Args> void Tell(View* view, Method method, Args&&... args) {
    if (view != nullptr)
        (view->*method)(std::forward<Args>(args)...);
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

} // namespace

TestScreenView::~TestScreenView() {
    if (run_ != nullptr)
        run_->screenView_ = nullptr;
}
AttachmentView::~AttachmentView() {
    if (run_ != nullptr)
        run_->attachmentView_ = nullptr;
}
RunFeedback::~RunFeedback() {
    if (run_ != nullptr)
        run_->runFeedback_ = nullptr;
}

TestRun::~TestRun() {
    SetTestScreenView(nullptr);
    SetAttachmentView(nullptr);
    SetRunFeedback(nullptr);
}

// Registers the view with the run, and the run with the view, so that the one that goes first
// is forgotten by the other.
template <typename View> View* TestRun::Register(View*& registered, View* view) {
    if (registered != nullptr)
        registered->run_ = nullptr;
    if (view != nullptr)
        view->run_ = this;
    return std::exchange(registered, view);
}

TestScreenView* TestRun::SetTestScreenView(TestScreenView* view) { return Register(screenView_, view); }
AttachmentView* TestRun::SetAttachmentView(AttachmentView* view) { return Register(attachmentView_, view); }
RunFeedback* TestRun::SetRunFeedback(RunFeedback* feedback) { return Register(runFeedback_, feedback); }

SessionClock TestRun::SetSessionClock(SessionClock clock) { return std::exchange(sessionClock_, std::move(clock)); }

double TestRun::SessionNow() const { return sessionClock_ ? sessionClock_() : SystemNow(); }

void TestRun::ShowStatusLine() {
    Tell(screenView_, &TestScreenView::UpdateStatusLine, StatusLineText(QuestionCount, GivenCount, RightCount));
}

void TestRun::PlayWhenSoundOn(const char* sound) {
    if (settings_.SoundOn)
        Tell(runFeedback_, &RunFeedback::PlaySound, sound);
}

// Tells the text and picture windows about the question's attachments when their
// names differ from the ones shown last; a window showing one records its name.
void TestRun::AnnounceAttachments() {
    const QuestionRecord& question = Current.Question;
    if (question.TextName.empty()) {
        Tell(attachmentView_, &AttachmentView::HideAttachedText);
    } else if (question.TextName != LastShownTextName) {
        Tell(attachmentView_, &AttachmentView::ShowAttachedText, question.TextName);
        LastShownTextName = question.TextName;
    }
    if (question.PictureName.empty()) {
        Tell(attachmentView_, &AttachmentView::HidePicture);
        LastShownPictureName.clear();
    } else if (question.PictureName != LastShownPictureName) {
        Tell(attachmentView_, &AttachmentView::ShowPicture, question.PictureName);
        LastShownPictureName = question.PictureName;
    }
    // The picture window keeps its own copy: the decoded picture's memory goes back at once.
    Current.Picture = {};
}

bool TestRun::OpenQuestionAt(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= QuestionFiles.size())
        return false;
    return OpenQuestionFile(SetFolder / QuestionFiles[static_cast<std::size_t>(index)], Current, reports_, random_);
}

// Counts one judged check of the question on screen; true when it was right.
bool TestRun::CountCheck() {
    QuestionProgress& progress = Progress[static_cast<std::size_t>(CurrentQuestionIndex)];
    progress.Answered = true;
    const bool right = AllAnswersRight(Current.Question);
    if (right) {
        if (!RetryPass)
            ++FirstTimeRight;
        ++RightCount;
    } else if (!RetryPass) {
        RunMistakes.push_back(MakeReviewEntry(Current.Question, CurrentQuestionIndex + 1));
    }
    ++GivenCount;
    QuestionChecked = true;
    ShowStatusLine();
    progress.AnsweredRight = right;
    return right;
}

// The learner's results file beside the settings; a failure costs only the line, and is told.
void TestRun::RecordResults(const SummaryReport& report) {
    const std::filesystem::path file = paths_.ResultsFile();
    if (file.empty())
        return;
    const std::string line =
        ResultsLine(report, SetName.empty() ? FolderSetName(SetFolder) : AnsiToUtf8(SetName), SetFolder);
    resultsRecorder_.Record(file, line, reports_);
}

void TestRun::FinishRun() {
    PlayWhenSoundOn(kSoundFinal);
    EndTime = SessionNow();
    const SummaryReport report = MakeSummaryReport(QuestionCount, FirstTimeRight, GivenCount, StartTime, EndTime);
    RecordResults(report);
    Tell(runFeedback_, &RunFeedback::ShowSummary, report);
    SessionRunning = false;
}

bool TestRun::CurrentIndexValid() const {
    return CurrentQuestionIndex >= 0 && static_cast<std::size_t>(CurrentQuestionIndex) < Progress.size();
}

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

void TestRun::StartSession() {
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
    Tell(screenView_, &TestScreenView::ShowCheckButton);
    FirstTimeRight = 0;
    RightCount = 0;
    GivenCount = 0;
    ShowStatusLine();
    StartTime = SessionNow();
}

bool TestRun::LoadQuestion(std::int32_t index) {
    if (settings_.ReloadAttachments) {
        LastShownTextName.clear();
        LastShownPictureName.clear();
    }
    Tell(screenView_, &TestScreenView::HideHintButton);
    Tell(screenView_, &TestScreenView::HideHintPanel);
    Tell(attachmentView_, &AttachmentView::OpenPictureWindow);
    Tell(attachmentView_, &AttachmentView::OpenTextWindow);
    const bool loaded = OpenQuestionAt(index);
    if (loaded) {
        Tell(screenView_, &TestScreenView::ClearMarks);
        Tell(screenView_, &TestScreenView::ShowQuestion);
        AnnounceAttachments();
        Tell(screenView_, &TestScreenView::ShowTestPanel);
    }
    QuestionChecked = false;
    return loaded;
}

void TestRun::AnswerClick(std::int32_t position) {
    if (QuestionChecked || !SessionRunning)
        return;
    Tell(screenView_, &TestScreenView::HideHintPanel);
    ToggleAnswer(Current.Question, position);
    Tell(screenView_, &TestScreenView::ShowSelectionMarks);
}

void TestRun::CheckAnswer() {
    // The check button is covered after a check, so a second check of one showing never comes.
    if (!SessionRunning || QuestionChecked || !CurrentIndexValid())
        return;
    if (!AnyAnswerChosen(Current.Question)) {
        reports_.Box.Show(WarningButtonSet::Close, WarningIcon::Warning, u"\rDokonaj wyboru odpowiedzi.");
        return;
    }
    Tell(screenView_, &TestScreenView::ShowVerdictMarks);
    const char* sound = CountCheck() ? kSoundRight : kSoundWrong;
    if (FindNextQuestion()) {
        PlayWhenSoundOn(sound);
        Tell(screenView_, &TestScreenView::HideCheckButton);
    } else {
        FinishRun();
    }
}

bool TestRun::FindNextQuestion() {
    for (std::size_t i = 0; i < Progress.size(); ++i) {
        if (!Progress[i].Answered) {
            CurrentQuestionIndex = static_cast<std::int32_t>(i);
            RetryPass = false;
            return true;
        }
    }
    if (!settings_.RepeatWrong)
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

void TestRun::NextQuestion() {
    if (!SessionRunning)
        return;
    if (LoadQuestion(CurrentQuestionIndex)) {
        Tell(screenView_, &TestScreenView::ShowCheckButton);
        return;
    }
    SessionRunning = false;
    reports_.Box.Show(WarningButtonSet::Close, WarningIcon::Warning,
                      u"\rUsuń wadliwe pytanie z zestawu i rozpocznij ponownie.");
}

void TestRun::Resign() {
    if (SessionRunning && settings_.ConfirmResign &&
        reports_.Box.Show(WarningButtonSet::YesNoCancel, WarningIcon::Question,
                          u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?") !=
            WarningButton::Yes)
        return;
    Tell(attachmentView_, &AttachmentView::ClosePictureWindow);
    Tell(attachmentView_, &AttachmentView::CloseTextWindow);
    Tell(screenView_, &TestScreenView::HideTestPanel);
}
