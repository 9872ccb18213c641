#pragma once

// Runs the program: creates every window in its order, shows the main window and
// runs the event loop until the application ends.
int RunLudra(int argc, char** argv);
