#pragma once

#include "core/storage/PackArchive.h"

#include <array>
#include <cstdint>
#include <string>

class XmlDocument;

// What a question file holds, as plain values; texts are Windows-1250.
struct QuestionDocument {
    std::int32_t QuestionType = 0;
    std::int32_t AnswerCount = 3;
    std::string QuestionText;
    std::array<std::string, 5> Answers;
    std::string Key;
    std::string TextName;
    std::string PictureName;
    std::string Hint;
    std::string Date;

    friend bool operator==(const QuestionDocument&, const QuestionDocument&) = default;
};

// The fields of an XML document, encoded or not as its <cd> says. It never fails:
// a missing element reads empty, a number that can't be read as 0, as the program takes them.
QuestionDocument ReadQuestionXml(XmlDocument& document);
// The fields of an old-layout document; the date line is read when it can be.
// Raises StorageError, naming the line, where the question is damaged: too few
// lines, a field line that can't be unscrambled, a type or count that is no number.
QuestionDocument ReadQuestionLines(const TextLines& lines);
