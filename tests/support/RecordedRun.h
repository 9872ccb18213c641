#pragma once

#include "core/base/Random.h"
#include "core/session/TestRun.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/SettingsFile.h"
#include "support/Recorder.h"
#include "support/RecordingViews.h"

// A run on fresh settings and paths, reporting to a recorder, with its views recorded.
struct RecordedRun {
    explicit RecordedRun(WarningButton answer) : record(answer) {}

    Recorder record;
    ProgramPaths paths;
    Settings settings;
    Random random;
    TestRun run{settings, record.Reports(), paths, random};
    RecordingViews views{run};
};
