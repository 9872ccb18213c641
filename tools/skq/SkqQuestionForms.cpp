#include "tools/skq/SkqQuestionForms.h"

#include "core/base/StorageError.h"
#include "core/storage/UCrypto.h"
#include "core/storage/UPak.h"
#include "core/storage/UProcReadWrite.h"
#include "core/storage/pkXML.h"
#include "tools/skq/SkqTool.h"

#include <array>

namespace skq {

QuestionDocument ReadQuestionXml(ByteView xml) {
    TpkXML document;
    document.LoadFromStream(xml); // as in the loader: what parsed counts, missing fields read empty
    int error = kFieldRead;
    const bool decode = ReadFieldText(false, u"pyt", u"cd", error, document) == "tr";
    const auto text = [&](std::u16string_view name) { return ReadFieldText(decode, u"pyt", name, error, document); };

    QuestionDocument question;
    question.QuestionType = ReadFieldInt(decode, u"pyt", u"typ", error, document);
    question.AnswerCount = ReadFieldInt(decode, u"pyt", u"ilo", error, document);
    question.QuestionText = text(u"tr");
    for (std::size_t i = 0; i < question.Answers.size(); ++i)
        question.Answers[i] = text(u"od" + AnsiToWide(std::to_string(i + 1)));
    question.Key = text(u"odp");
    question.TextName = text(u"plr");
    question.PictureName = text(u"plimg");
    question.Hint = text(u"kom");
    question.Date = text(u"dtu");
    return question;
}

namespace {

constexpr std::size_t kDateLine = 1;
constexpr std::size_t kLastLine = 12;

std::int32_t LineNumber(const std::string& text, std::size_t line) {
    std::int32_t number = 0;
    if (!ParseInteger(text, number))
        throw ToolFailure(std::string(kQuestionTxp) + ": line " + std::to_string(line) + " is not a number");
    return number;
}

} // namespace

QuestionDocument ReadQuestionTxp(ByteView txp) {
    const TextLines lines = SplitLines(txp);
    if (lines.size() <= kLastLine)
        throw ToolFailure(std::string(kQuestionTxp) + " has " + std::to_string(lines.size()) +
                          " lines; the 3.5 layout needs 13");
    std::array<std::string, kLastLine + 1> field;
    for (std::size_t i = kDateLine; i <= kLastLine; ++i) {
        try {
            field[i] = UnscrambleText(lines[i]);
        } catch (const StorageError&) {
            // The loader never reads the date line, so only the fields count.
            if (i != kDateLine)
                throw ToolFailure(std::string(kQuestionTxp) + ": line " + std::to_string(i) + " is empty");
        }
    }
    QuestionDocument question;
    question.Date = field[kDateLine];
    question.QuestionType = LineNumber(field[2], 2);
    question.AnswerCount = LineNumber(field[3], 3);
    question.QuestionText = field[4];
    for (std::size_t i = 0; i < 4; ++i)
        question.Answers[i] = field[5 + i];
    question.Key = field[9];
    question.TextName = field[10];
    question.PictureName = field[11];
    question.Hint = field[12];
    return question;
}

Bytes WriteQuestionDocument(const QuestionDocument& question, const StoredForm& form) {
    if (!form.Legacy)
        return WriteQuestion40(question, form.Form40);
    if (!question.Answers[4].empty())
        throw ToolFailure("the 3.5 layout holds four answers, but od5 is not empty");
    try {
        return WriteQuestion35(question);
    } catch (const StorageError&) {
        throw ToolFailure("a field holds a line break, which the 3.5 layout can't store");
    }
}

bool IsQuestionDocument(std::string_view name) {
    return SameAnsiTextIgnoringCase(name, kQuestionXml) || SameAnsiTextIgnoringCase(name, kQuestionTxp);
}

} // namespace skq
