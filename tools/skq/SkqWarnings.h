#pragma once

#include "core/storage/PackArchive.h"

#include <string>
#include <vector>

// What the program accepts but a learner can't use, in plain words, one text per cause.
namespace skq {

// For a question file the program loads.
std::vector<std::string> QuestionWarnings(const PackArchive& pak);
// For a set list the program loads, given its entry lines.
std::vector<std::string> SetListWarnings(const PackArchive& pak, const std::vector<std::string>& lines);

// Text of an 8-bit document that is valid UTF-8 with letters beyond ASCII: on screen
// each such letter shows as two garbled ones.
bool LooksLikeUtf8(std::string_view text);

} // namespace skq
