#pragma once

#include "tools/skq/formats/SourceBank.h"

#include <string>
#include <string_view>

// What the plain-text formats (Aiken, CSV) share.
namespace skq {

// Marks the answers that right-answer letters name: "B", "A, C", "AC", "a c" (any case; spaces, commas and
// semicolons between). Sizes question.Right to its answers and sets SeveralRight when several letters are given.
// Returns why the letters can't be used, in plain words; empty when they can.
std::string MarkRightLetters(std::string_view letters, SourceQuestion& question);

} // namespace skq
