#pragma once

#include "core/session/ProgramState.h"
#include "gui/windows/InfoWindow.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/OnDemand.h"
#include "gui/windows/PictureWindow.h"
#include "gui/windows/SetListWindow.h"
#include "gui/windows/SummaryWindow.h"
#include "gui/windows/TextWindow.h"
#include "gui/windows/WarningWindow.h"

// Every window of the program but the message box, on the program's state; RunLudra wires
// them together.
struct ProgramWindows {
    explicit ProgramWindows(ProgramState& state) : State(state), Main(state) {}

    ProgramState& State;
    MainWindow Main;
    OnDemand<PictureWindow> Picture{
        [this] { return std::make_unique<PictureWindow>(State.Run, State.LearnerSettings, &Main); }};
    OnDemand<TextWindow> Text{[this] { return std::make_unique<TextWindow>(State.Run, State.LearnerSettings, &Main); }};
    OnDemand<SetListWindow> SetList{[this] { return std::make_unique<SetListWindow>(State); }};
    OnDemand<SummaryWindow> Summary{
        [this] { return std::make_unique<SummaryWindow>(State.Run, State.LearnerSettings); }};
    OnDemand<InfoWindow> Info{[this] { return std::make_unique<InfoWindow>(State.LearnerSettings); }};
};

// Large blocks (pictures, pixmaps) go back to the system when freed, so the memory of a set's
// pictures is returned when the set ends rather than kept by the allocator.
void ReturnFreedPicturesToTheSystem();

// Runs the program: creates every window, shows the main window and runs the event
// loop until the application ends.
int RunLudra(int argc, char** argv);
