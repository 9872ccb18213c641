#include "tools/skq/SkqJson.h"

#include "core/base/CodePage.h"

#include <algorithm>
#include <ostream>

namespace skq {

namespace {

Json AnsiLines(const std::vector<std::string>& lines) {
    Json array = Json::array();
    for (const std::string& line : lines)
        array.push_back(AnsiToUtf8(line));
    return array;
}

Json PictureJson(const Bitmap* picture) {
    if (!picture)
        return nullptr;
    return Json{{"width", picture->Width},
                {"height", picture->Height},
                {"bits", picture->Format == PixelFormat::Bits8 ? 8 : 24}};
}

} // namespace

Json QuestionJson(const QuestionView& question) {
    const QuestionRecord& record = question.Record;
    Json answers = Json::array(), correct = Json::array(), positions = Json::array();
    for (const AnswerSlot& slot : record.Answers) {
        answers.push_back(AnsiToUtf8(slot.Text));
        correct.push_back(slot.Correct);
    }
    // Only a loaded question is shown, and its count is 3..5; the clamp keeps a bad record in bounds.
    const int count = std::clamp(record.AnswerCount, 0, QuestionRecord::kMaxAnswers);
    for (int k = 1; k <= count; ++k)
        positions.push_back(record.Answer(k).Position);

    Json json;
    json["layout"] = std::string(question.Layout);
    json["type"] = record.QuestionType;
    json["count"] = record.AnswerCount;
    json["text"] = AnsiToUtf8(record.QuestionText);
    json["answers"] = std::move(answers);
    json["key"] = AnsiToUtf8(record.Key);
    json["correct"] = std::move(correct);
    json["positions"] = std::move(positions);
    json["order"] = record.OrderRow;
    json["text_name"] = AnsiToUtf8(record.TextName);
    json["picture_name"] = AnsiToUtf8(record.PictureName);
    json["hint"] = AnsiToUtf8(record.Hint);
    json["date"] = AnsiToUtf8(record.Date);
    json["picture"] = PictureJson(question.Picture);
    json["attached_text"] = question.AttachedText ? AnsiLines(*question.AttachedText) : Json(nullptr);
    return json;
}

Json ShowJson(bool ok, Json question, const ReportCollector& reports) {
    Json json;
    json["ok"] = ok;
    json["question"] = std::move(question);
    json["journal"] = reports.JournalRecords;
    json["messages"] = reports.Messages;
    return json;
}

Json ArchiveJson(bool ok, bool magic, const PackArchive& pak) {
    Json entries = Json::array();
    for (int i = 0; i < pak.EntryCount(); ++i) {
        Json entry;
        entry["name"] = AnsiToUtf8(pak.NameAt(i));
        entry["offset"] = pak.OffsetAt(i);
        entry["size"] = pak.SizeAt(i);
        entries.push_back(std::move(entry));
    }
    Json json;
    json["ok"] = ok;
    json["magic"] = magic;
    json["entries"] = std::move(entries);
    return json;
}

Json ListJson(bool ok, const SetListHeader& header, const std::vector<std::string>& lines,
              const ReportCollector& reports) {
    Json headerJson;
    headerJson["name"] = AnsiToUtf8(header.Name);
    headerJson["dtu"] = AnsiToUtf8(header.Dtu);
    headerJson["uwg"] = AnsiToUtf8(header.Uwg);
    Json json;
    json["ok"] = ok;
    json["header"] = std::move(headerJson);
    json["lines"] = AnsiLines(lines);
    json["journal"] = reports.JournalRecords;
    json["messages"] = reports.Messages;
    return json;
}

void PrintJson(std::ostream& out, const Json& value) {
    // Every text has come through the code page, so it is valid UTF-8; replace guards the rest.
    out << value.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace skq
