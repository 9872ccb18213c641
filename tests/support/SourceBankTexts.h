#pragma once

#include "tools/skq/formats/SourceBank.h"

#include <string>
#include <vector>

// The texts of what a quiz format reader gives, for comparing with what a file holds.
using Texts = std::vector<std::string>;
using Flags = std::vector<bool>;

inline Texts AnswerTexts(const skq::SourceQuestion& question) {
    Texts texts;
    for (const skq::SourceText& answer : question.Answers)
        texts.push_back(answer.Text);
    return texts;
}

inline Texts QuestionTexts(const skq::SourceBank& bank) {
    Texts texts;
    for (const skq::SourceQuestion& question : bank.Questions)
        texts.push_back(question.Text.Text);
    return texts;
}
