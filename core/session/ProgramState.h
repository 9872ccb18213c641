#pragma once

#include "core/base/Journal.h"
#include "core/session/TestRun.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/SettingsFile.h"

// What one run of the program keeps: made by its start-up, handed down to the windows by
// reference, and gone when the program ends.
struct ProgramState {
    explicit ProgramState(MessageBox& box) : Box(box) {}

    MessageBox& Box;
    ProgramPaths Paths;
    Journal EventJournal;
    Settings LearnerSettings;
    Random Generator;
    TestRun Run{LearnerSettings, {EventJournal, Box}, Paths, Generator};

    Reporting Reports() { return {EventJournal, Box}; }

    // The settings file the paths name, writing to the journal.
    SettingsFile SettingsStore() { return {Paths.SettingsFile, EventJournal, Generator}; }
};

// The program's first steps once its window shows: the data folder and the journal in it, the
// settings read (or made), and a set list path that names a file.
void PrepareProgram(ProgramState& state);
