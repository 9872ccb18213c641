#include "tools/skq/SkqCommands.h"

#include <iostream>

int main(int argc, char** argv) { return RunSkq({argv + 1, argv + argc}, std::cin, std::cout, std::cerr); }
