#pragma once

#include "core/base/Bytes.h"
#include "core/base/Random.h"
#include "core/storage/QuestionDocument.h"

struct Question40Form {
    bool Encoded = false;  // every field but "cd" as base64 of UTF-16LE
    bool WideText = false; // the document as UTF-16LE with a byte order mark
};

// The "Sezz0.xml" document of the current layout.
Bytes WriteQuestion40(const QuestionDocument& question, Question40Form form = {});
// The "Sezz0.txp" document of the old layout: scrambled lines, four answers at most.
// Raises StorageError for a field holding a line break or NUL, which that layout can't carry.
Bytes WriteQuestion35(const QuestionDocument& question, Random& random);
