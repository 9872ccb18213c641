#pragma once

#include "core/base/Bytes.h"

#include <array>
#include <string>

// What an author puts into one question; texts are Windows-1250.
struct QuestionDocument {
    int QuestionType = 0;
    int AnswerCount = 3;
    std::string QuestionText;
    std::array<std::string, 5> Answers;
    std::string Key;
    std::string TextName;
    std::string PictureName;
    std::string Hint;
    std::string Date;
};

struct Question40Form {
    bool Encoded = false;  // every field but "cd" as base64 of UTF-16LE
    bool WideText = false; // the document as UTF-16LE with a byte order mark
};

// The "Sezz0.xml" document of the current layout.
Bytes WriteQuestion40(const QuestionDocument& question, Question40Form form = {});
// The "Sezz0.txp" document of the old layout: scrambled lines, four answers at most.
// Raises StorageError for a field holding a line break or NUL, which that layout can't carry.
Bytes WriteQuestion35(const QuestionDocument& question);
