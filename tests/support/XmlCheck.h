#pragma once

#include <string>
#include <string_view>

// xmllint's first complaints about the document as XML 1.0: characters XML forbids, written
// as they are or as references, and bytes that are no UTF-8 among them. Empty when it has none.
std::string XmllintProblem(std::string_view xml);
