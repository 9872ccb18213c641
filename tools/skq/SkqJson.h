#pragma once

#include "core/session/QuestionRecord.h"
#include "core/storage/Bitmap.h"
#include "core/storage/PackArchive.h"
#include "core/storage/SetListFile.h"
#include "tools/skq/SkqTool.h"

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

// Every JSON object the tool prints is built here; texts from files come in as
// Windows-1250 and leave as UTF-8, keys in the order the objects are documented.
namespace skq {

using Json = nlohmann::ordered_json;

// What one load put into the shared record, bitmap and line list.
struct QuestionView {
    std::string_view Layout; // "4.0" or "3.5"
    const QuestionRecord& Record;
    const Bitmap* Picture = nullptr;         // nullptr: no picture was loaded
    const TextLines* AttachedText = nullptr; // nullptr: no attached text was loaded
};

Json QuestionJson(const QuestionView& question);
// question: null or what QuestionJson made.
Json ShowJson(bool ok, Json question, const ReportCollector& reports);
Json ArchiveJson(bool ok, bool magic, const PackArchive& pak);
Json ListJson(bool ok, const SetListHeader& header, const std::vector<std::string>& lines,
              const ReportCollector& reports);

void PrintJson(std::ostream& out, const Json& value);

} // namespace skq
