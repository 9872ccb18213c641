#pragma once

#include "app/UFTloBig.h"
#include "selection/UOknoLTestow.h"
#include "session/UPodsumowanie.h"
#include "windows/UOknoGrafiki.h"
#include "windows/UOknoTekstu.h"
#include "windows/UWarning.h"
#include "windows/UWinieta.h"

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
