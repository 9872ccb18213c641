#include "core/storage/QuestionWriter.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/storage/UCrypto.h"
#include "core/storage/UProcReadWrite.h"
#include "core/storage/pkXML.h"

#include <utility>
#include <vector>

namespace {

using Field = std::pair<std::u16string, std::string>;

// The fields in the order authors' tools write them.
std::vector<Field> Fields(const QuestionDocument& question) {
    std::vector<Field> fields = {
        {u"typ", std::to_string(question.QuestionType)},
        {u"ilo", std::to_string(question.AnswerCount)},
        {u"tr", question.QuestionText},
    };
    for (std::size_t i = 0; i < question.Answers.size(); ++i)
        fields.emplace_back(u"od" + AnsiToWide(std::to_string(i + 1)), question.Answers[i]);
    fields.insert(fields.end(), {{u"odp", question.Key},
                                 {u"plr", question.TextName},
                                 {u"plimg", question.PictureName},
                                 {u"kom", question.Hint},
                                 {u"dtu", question.Date}});
    return fields;
}

} // namespace

Bytes WriteQuestion40(const QuestionDocument& question, Question40Form form) {
    TpkXML document;
    document.WideText = form.WideText;
    TpkXMLNode& declaration = document.Root.AddChild(u"xml", XmlNodeKind::Instruction);
    declaration.Attributes.push_back({u"version", u"1.0"});
    TpkXMLNode& pyt = document.Root.AddChild(u"pyt");
    pyt.AddChild(u"cd").Text = form.Encoded ? u"tr" : u"";
    for (const auto& [name, value] : Fields(question)) {
        const std::u16string wide = AnsiToWide(value);
        pyt.AddChild(name).Text = form.Encoded ? EncodeBase64Utf16(wide) : wide;
    }
    Bytes out;
    document.SaveToStream(out);
    return out;
}

Bytes WriteQuestion35(const QuestionDocument& question) {
    std::vector<std::string> lines = {"3.5", question.Date};
    for (const auto& [name, value] : Fields(question)) {
        if (name != u"od5" && name != u"dtu")
            lines.push_back(value);
    }
    Bytes out;
    for (const std::string& line : lines) {
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw StorageError("a line break or NUL can't be stored in the old layout");
        const std::string scrambled = ScrambleText(line);
        out.insert(out.end(), scrambled.begin(), scrambled.end());
        out.insert(out.end(), {'\r', '\n'});
    }
    return out;
}
