#pragma once

#include "gui/windows/OnDemand.h"
#include "gui/windows/UFTloBig.h"
#include "gui/windows/UOknoGrafiki.h"
#include "gui/windows/UOknoLTestow.h"
#include "gui/windows/UOknoTekstu.h"
#include "gui/windows/UPodsumowanie.h"
#include "gui/windows/UWarning.h"
#include "gui/windows/UWinieta.h"

// Every window of the program; RunLudra wires them together. The message box is made at once:
// its application-wide Tab filter must hold from the start.
struct ProgramWindows {
    TFTloBig MainWindow;
    TFWarning Warning;
    OnDemand<TFOknoGrafiki> PictureWindow{[this] { return std::make_unique<TFOknoGrafiki>(&MainWindow); }};
    OnDemand<TFOknoTekstu> TextWindow{[this] { return std::make_unique<TFOknoTekstu>(&MainWindow); }};
    OnDemand<TFOknoLTestow> SetList{[] { return std::make_unique<TFOknoLTestow>(); }};
    OnDemand<TFPodsumowanie> Summary{[] { return std::make_unique<TFPodsumowanie>(); }};
    OnDemand<TFWinieta> Vignette{[] { return std::make_unique<TFWinieta>(); }};
};

// Large blocks (pictures, pixmaps) go back to the system when freed, so the memory of a set's
// pictures is returned when the set ends rather than kept by the allocator.
void ReturnFreedPicturesToTheSystem();

// Runs the program: creates every window, shows the main window and runs the event
// loop until the application ends.
int RunLudra(int argc, char** argv);
