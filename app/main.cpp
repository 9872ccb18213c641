#include "core/storage/ApplicationSetup.h"
#include "gui/windows/Startup.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (const std::optional<std::string> information = CommandLineInformation({argv + 1, argv + argc})) {
        std::fputs(information->c_str(), stdout);
        return 0;
    }
    return RunLudra(argc, argv);
}
