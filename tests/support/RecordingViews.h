#pragma once

#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"

#include <algorithm>
#include <string>
#include <vector>

// Stands in for the test screen, the attachment windows and the run's feedback,
// recording what the run asks of them; registered with the run for as long as it lives.
class RecordingViews final : public TestScreenView, public AttachmentView, public RunFeedback {
public:
    explicit RecordingViews(TestRun& run) : testRun_(run) {
        run.SetTestScreenView(this);
        run.SetAttachmentView(this);
        run.SetRunFeedback(this);
    }
    RecordingViews(const RecordingViews&) = delete;
    RecordingViews& operator=(const RecordingViews&) = delete;

    void ShowQuestion() override {
        Calls.emplace_back("ShowQuestion");
        Shown.push_back(testRun_.Current.Question.QuestionText);
    }
    void ClearMarks() override { Calls.emplace_back("ClearMarks"); }
    void ShowSelectionMarks() override { Calls.emplace_back("ShowSelectionMarks"); }
    void ShowVerdictMarks() override { Calls.emplace_back("ShowVerdictMarks"); }
    void UpdateStatusLine(const std::u16string& text) override {
        Calls.emplace_back("UpdateStatusLine");
        StatusLines.push_back(text);
    }
    void ShowCheckButton() override { Calls.emplace_back("ShowCheckButton"); }
    void HideCheckButton() override { Calls.emplace_back("HideCheckButton"); }
    void ShowTestPanel() override { Calls.emplace_back("ShowTestPanel"); }
    void HideTestPanel() override { Calls.emplace_back("HideTestPanel"); }
    void HideHintButton() override { Calls.emplace_back("HideHintButton"); }
    void HideHintPanel() override { Calls.emplace_back("HideHintPanel"); }

    void OpenPictureWindow() override { Calls.emplace_back("OpenPictureWindow"); }
    void OpenTextWindow() override { Calls.emplace_back("OpenTextWindow"); }
    void ClosePictureWindow() override { Calls.emplace_back("ClosePictureWindow"); }
    void CloseTextWindow() override { Calls.emplace_back("CloseTextWindow"); }
    void ShowAttachedText(const std::string& name) override {
        Calls.emplace_back("ShowAttachedText");
        Texts.push_back("+" + name);
    }
    void HideAttachedText() override {
        Calls.emplace_back("HideAttachedText");
        Texts.emplace_back("-");
    }
    void ShowPicture(const std::string& name) override {
        Calls.emplace_back("ShowPicture");
        Pictures.push_back("+" + name);
    }
    void HidePicture() override {
        Calls.emplace_back("HidePicture");
        Pictures.emplace_back("-");
    }

    void PlaySound(const char* sound) override {
        Calls.emplace_back("PlaySound");
        Sounds.emplace_back(sound);
    }
    void ShowSummary(const SummaryReport& report) override {
        Calls.emplace_back("ShowSummary");
        Summaries.push_back(report);
    }

    long Count(const std::string& call) const { return std::count(Calls.begin(), Calls.end(), call); }

    std::vector<std::string> Calls; // every call by name, in order
    std::vector<std::string> Shown; // question texts as shown
    std::vector<std::u16string> StatusLines;
    std::vector<std::string> Texts;    // "+name" shown, "-" folded
    std::vector<std::string> Pictures; // "+name" shown, "-" folded
    std::vector<std::string> Sounds;
    std::vector<SummaryReport> Summaries;

private:
    const TestRun& testRun_;
};
