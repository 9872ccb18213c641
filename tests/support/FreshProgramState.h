#pragma once

#include "core/session/ProgramState.h"

#include <QCoreApplication>

// The program's state as a window test starts it: nothing read yet, the program's folder
// the test program's own, as the program takes its own, and the test's message box.
struct FreshProgramState : ProgramState {
    explicit FreshProgramState(MessageBox& box) : ProgramState(box) {
        Paths.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    }
};
