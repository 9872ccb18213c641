#pragma once

#include "core/base/Random.h"

#include <array>
#include <cstdint>
#include <string>

// The question on screen. Answer numbers (1..5) are places in the question file;
// display positions (1..AnswerCount) are rows of the test screen. Texts are Windows-1250.
struct AnswerSlot {
    std::string Text;
    bool Correct = false;
    bool Selected = false;
    std::int32_t Position = 0;
};

struct QuestionRecord {
    static constexpr int kMaxAnswers = 5;

    std::string QuestionText;
    std::array<AnswerSlot, kMaxAnswers> Answers; // Answers[k - 1] is answer number k
    std::string Key = "00000";
    std::string PictureName;
    std::string TextName;
    std::string Hint;
    std::string OrderRow;
    std::int32_t AnswerCount = 3;
    std::int32_t QuestionType = 0; // 0: one answer at a time; otherwise each on its own
    std::string Date;

    AnswerSlot& Answer(int number) { return Answers[number - 1]; }
    const AnswerSlot& Answer(int number) const { return Answers[number - 1]; }
};

// Clears everything the loader fills except Date and the slots' positions.
void ResetQuestionRecord(QuestionRecord& question);
// Correct flags from the key and a drawn order row. False, with nothing ordered,
// for an empty key or an answer count other than 3, 4 or 5: such a question is damaged.
bool SetUpAnswerOrder(QuestionRecord& question, Random& random);
// One row of the order table for the count, drawn with the application's generator.
std::string PickAnswerOrder(int answerCount, Random& random);

// The answer number at a display position, or -1 when none.
int AnswerAtPosition(const QuestionRecord& question, int position);
std::string AnswerTextAtPosition(const QuestionRecord& question, int position);
void ToggleAnswer(QuestionRecord& question, int position);
void ClearSelection(QuestionRecord& question);
bool AnyAnswerChosen(const QuestionRecord& question);
bool AllAnswersRight(const QuestionRecord& question);

// The looks of an answer's letter tile, numbered as the rows of the letter sheet.
enum class TileLook {
    Plain = 0,  // not chosen; after the check neither right nor chosen
    Chosen = 1, // chosen; after the check right and chosen
    Missed = 2, // after the check right but not chosen
    Wrong = 3,  // after the check chosen but not right
};
// The tile while the learner answers, and after the check.
TileLook SelectionLook(const AnswerSlot& answer);
TileLook VerdictLook(const AnswerSlot& answer);
