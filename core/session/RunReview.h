#pragma once

#include "core/session/QuestionRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// What the review of a run shows of a question answered wrongly at its first showing.
// Texts stay Windows-1250, as the question record has them.
struct ReviewAnswer {
    char Letter = 'A'; // its display position as a letter
    std::string Text;
    bool Chosen = false;
    bool Right = false;
};

struct ReviewEntry {
    std::int32_t Number = 0; // 1-based place of the question in its set
    std::string QuestionText;
    std::vector<ReviewAnswer> Answers; // in the order they were shown
    std::string Hint;
};

// The checked question as the review needs it.
ReviewEntry MakeReviewEntry(const QuestionRecord& question, std::int32_t number);

// The review as plain text, one block per question, blocks apart by an empty line.
std::u16string RunReviewText(const std::vector<ReviewEntry>& mistakes);
