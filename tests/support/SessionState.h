#pragma once

#include "core/session/TestRun.h"
#include "core/storage/SettingsFile.h"

#include <tuple>

// Keeps the run's shared state for one test: the settings the engine reads (set
// to their defaults meanwhile), its views and its clock, all put back afterwards.
class SessionState {
public:
    SessionState()
        : settings_(RepeatWrong, ReloadAttachments, SoundOn, ConfirmResign), screen_(SetTestScreenView(nullptr)),
          attachments_(SetAttachmentView(nullptr)), feedback_(SetRunFeedback(nullptr)), clock_(SetSessionClock({})) {
        SetSessionClock(clock_);
        RepeatWrong = false;
        ReloadAttachments = true;
        SoundOn = true;
        ConfirmResign = true;
        SessionRunning = false;
    }
    ~SessionState() {
        SetTestScreenView(screen_);
        SetAttachmentView(attachments_);
        SetRunFeedback(feedback_);
        SetSessionClock(clock_);
        std::tie(RepeatWrong, ReloadAttachments, SoundOn, ConfirmResign) = settings_;
        SessionRunning = false;
        QuestionFiles.clear();
        SetName.clear();
    }
    SessionState(const SessionState&) = delete;
    SessionState& operator=(const SessionState&) = delete;

private:
    std::tuple<bool, bool, bool, bool> settings_;
    TestScreenView* screen_;
    AttachmentView* attachments_;
    RunFeedback* feedback_;
    SessionClock clock_;
};
