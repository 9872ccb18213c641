#include "tools/skq/SkqCommands.h"
#include "tools/skq/i18n/Translation.h"

#include <iostream>

int main(int argc, char** argv) {
    skq::StartTranslation();
    return RunSkq({argv + 1, argv + argc}, std::cin, std::cout, std::cerr);
}
