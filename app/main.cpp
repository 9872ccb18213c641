#include "gui/windows/Startup.h"

int main(int argc, char** argv) { return RunLudra(argc, argv); }
