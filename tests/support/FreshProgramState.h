#pragma once

#include "core/session/ProgramState.h"

#include <QCoreApplication>

// The program's state as a window test starts it: nothing read yet, and the program's
// folder the test program's own, as the program takes its own.
struct FreshProgramState : ProgramState {
    FreshProgramState() { Paths.ProgramFolder = QCoreApplication::applicationDirPath().toStdString(); }
};
