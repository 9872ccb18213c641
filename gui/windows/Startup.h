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

// Large blocks (pictures, pixmaps) go back to the system when freed, so the memory of a set's
// pictures is returned when the set ends rather than kept by the allocator.
void ReturnFreedPicturesToTheSystem();

// Runs the program: creates every window, shows the main window and runs the event
// loop until the application ends.
int RunLudra(int argc, char** argv);
