#include "core/storage/QuestionDocument.h"

#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"

QuestionDocument ReadQuestionXml(XmlDocument& document) {
    namespace E = QuestionElement;
    FieldError error = FieldError::None;
    const bool decode = ReadFieldText(false, E::Top, E::Encoding, error, document) == kEncodedMark;
    const auto text = [&](std::u16string_view name) { return ReadFieldText(decode, E::Top, name, error, document); };

    QuestionDocument question;
    question.QuestionType = ReadFieldInt(decode, E::Top, E::Type, error, document);
    question.AnswerCount = ReadFieldInt(decode, E::Top, E::AnswerCount, error, document);
    question.QuestionText = text(E::Text);
    for (std::size_t i = 0; i < question.Answers.size(); ++i)
        question.Answers[i] = text(E::Answer(static_cast<int>(i) + 1));
    question.Key = text(E::Key);
    question.TextName = text(E::TextName);
    question.PictureName = text(E::PictureName);
    question.Hint = text(E::Hint);
    question.Date = text(E::Date);
    return question;
}

namespace {

std::string LineName(std::size_t line) { return std::string(kQuestionDocument35) + ": line " + std::to_string(line); }

std::string FieldLine(const TextLines& lines, std::size_t line) {
    try {
        return UnscrambleText(lines[line]);
    } catch (const StorageError&) {
        throw StorageError(LineName(line) + " is empty");
    }
}

std::int32_t NumberLine(const TextLines& lines, std::size_t line) {
    std::int32_t number = 0;
    if (!ParseInteger(FieldLine(lines, line), number))
        throw StorageError(LineName(line) + " is not a number");
    return number;
}

} // namespace

QuestionDocument ReadQuestionLines(const TextLines& lines) {
    namespace L = QuestionLine;
    if (lines.size() < L::Count)
        throw StorageError(std::string(kQuestionDocument35) + " has " + std::to_string(lines.size()) +
                           " lines; the 3.5 layout needs " + std::to_string(L::Count));
    QuestionDocument question;
    question.QuestionType = NumberLine(lines, L::Type);
    question.AnswerCount = NumberLine(lines, L::AnswerCount);
    question.QuestionText = FieldLine(lines, L::Text);
    for (std::size_t i = 0; i < L::AnswerLines; ++i)
        question.Answers[i] = FieldLine(lines, L::FirstAnswer + i);
    question.Key = FieldLine(lines, L::Key);
    question.TextName = FieldLine(lines, L::TextName);
    question.PictureName = FieldLine(lines, L::PictureName);
    question.Hint = FieldLine(lines, L::Hint);
    // Nothing reads the date, so a date line that can't be unscrambled damages nothing.
    try {
        question.Date = UnscrambleText(lines[L::Date]);
    } catch (const StorageError&) {
    }
    return question;
}
