#pragma once

#include "gui/windows/UFTloBig.h"
#include "gui/windows/UOknoGrafiki.h"
#include "gui/windows/UOknoLTestow.h"
#include "gui/windows/UOknoTekstu.h"
#include "gui/windows/UPodsumowanie.h"
#include "gui/windows/UWarning.h"
#include "gui/windows/UWinieta.h"

// Every window of the program, created in its order; RunLudra wires them together.
struct ProgramWindows {
    TFTloBig MainWindow;
    TFOknoGrafiki PictureWindow{&MainWindow};
    TFOknoTekstu TextWindow{&MainWindow};
    TFWarning Warning;
    TFOknoLTestow SetList;
    TFPodsumowanie Summary;
    TFWinieta Vignette;
};

// Runs the program: creates every window, shows the main window and runs the event
// loop until the application ends.
int RunLudra(int argc, char** argv);
