#pragma once

#include "core/base/Random.h"

#include <string>
#include <string_view>

// The substitution scrambler of settings values and of old-layout question lines:
// a marker byte, random filler and the text through a fixed byte table.
std::string ScrambleText(std::string_view text, Random& random);
// Raises StorageError on an empty text, which no scrambling produces.
std::string UnscrambleText(std::string_view text);
