#include "core/storage/QuestionWriter.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"

#include <utility>
#include <vector>

namespace {

using Field = std::pair<std::u16string, std::string>;

// The fields in the order authors' tools write them.
std::vector<Field> Fields(const QuestionDocument& question) {
    namespace E = QuestionElement;
    std::vector<Field> fields = {
        {std::u16string(E::Type), std::to_string(question.QuestionType)},
        {std::u16string(E::AnswerCount), std::to_string(question.AnswerCount)},
        {std::u16string(E::Text), question.QuestionText},
    };
    for (std::size_t i = 0; i < question.Answers.size(); ++i)
        fields.emplace_back(E::Answer(static_cast<int>(i) + 1), question.Answers[i]);
    fields.insert(fields.end(), {{std::u16string(E::Key), question.Key},
                                 {std::u16string(E::TextName), question.TextName},
                                 {std::u16string(E::PictureName), question.PictureName},
                                 {std::u16string(E::Hint), question.Hint},
                                 {std::u16string(E::Date), question.Date}});
    return fields;
}

} // namespace

Bytes WriteQuestion40(const QuestionDocument& question, Question40Form form) {
    XmlDocument document;
    document.WideText = form.WideText;
    XmlNode& declaration = document.Root.AddChild(u"xml", XmlNodeKind::Instruction);
    declaration.Attributes.push_back({u"version", u"1.0"});
    XmlNode& top = document.Root.AddChild(QuestionElement::Top);
    top.AddChild(QuestionElement::Encoding).Text = form.Encoded ? AnsiToWide(kEncodedMark) : u"";
    for (const auto& [name, value] : Fields(question)) {
        const std::u16string wide = AnsiToWide(value);
        top.AddChild(name).Text = form.Encoded ? EncodeBase64Utf16(wide) : wide;
    }
    Bytes out;
    document.SaveToStream(out);
    return out;
}

Bytes WriteQuestion35(const QuestionDocument& question, Random& random) {
    std::vector<std::string> lines = {"3.5", question.Date};
    for (const auto& [name, value] : Fields(question)) {
        if (name != QuestionElement::Answer(5) && name != QuestionElement::Date)
            lines.push_back(value);
    }
    Bytes out;
    for (const std::string& line : lines) {
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw StorageError("a line break or NUL can't be stored in the old layout");
        const std::string scrambled = ScrambleText(line, random);
        out.insert(out.end(), scrambled.begin(), scrambled.end());
        out.insert(out.end(), {'\r', '\n'});
    }
    return out;
}
