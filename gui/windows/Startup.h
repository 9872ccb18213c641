#pragma once

#include "gui/windows/InfoWindow.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/OnDemand.h"
#include "gui/windows/PictureWindow.h"
#include "gui/windows/SetListWindow.h"
#include "gui/windows/SummaryWindow.h"
#include "gui/windows/TextWindow.h"
#include "gui/windows/WarningWindow.h"

// Every window of the program; RunLudra wires them together. The message box is made at once:
// its application-wide Tab filter must hold from the start.
struct ProgramWindows {
    MainWindow Main;
    WarningWindow Warning;
    OnDemand<PictureWindow> Picture{[this] { return std::make_unique<PictureWindow>(&Main); }};
    OnDemand<TextWindow> Text{[this] { return std::make_unique<TextWindow>(&Main); }};
    OnDemand<SetListWindow> SetList{[] { return std::make_unique<SetListWindow>(); }};
    OnDemand<SummaryWindow> Summary{[] { return std::make_unique<SummaryWindow>(); }};
    OnDemand<InfoWindow> Info{[] { return std::make_unique<InfoWindow>(); }};
};

// Large blocks (pictures, pixmaps) go back to the system when freed, so the memory of a set's
// pictures is returned when the set ends rather than kept by the allocator.
void ReturnFreedPicturesToTheSystem();

// Runs the program: creates every window, shows the main window and runs the event
// loop until the application ends.
int RunLudra(int argc, char** argv);
