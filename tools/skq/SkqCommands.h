#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// ludra-skq: the command-line tool for authors and administrators of question sets.
// args are the arguments after the program name. Output is UTF-8.
// Exit status: 0 success, 1 the file failed (the program would refuse it), 2 usage error.
int RunSkq(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
