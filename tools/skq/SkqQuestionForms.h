#pragma once

#include "core/base/Bytes.h"
#include "core/base/CodePage.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/QuestionWriter.h"

#include <string_view>
#include <utility>
#include <vector>

// The stored forms of a question document, for pack and unpack.
namespace skq {

struct StoredForm {
    bool Legacy = false; // the 3.5 layout: scrambled Sezz0.txp lines
    Question40Form Form40;

    std::string_view EntryName() const { return Legacy ? kQuestionDocument35 : kQuestionDocument40; }
};

// A stored document's fields as the program reads them. Throws ToolFailure where the
// program would find the question damaged.
QuestionDocument ParseQuestionXml(ByteView xml);
QuestionDocument ParseQuestionLines(ByteView txp);
// Throws ToolFailure for what the form can't hold.
Bytes WriteQuestionDocument(const QuestionDocument& question, const StoredForm& form);

bool IsQuestionDocument(std::string_view name);

// Index of the first entry of that name, letter case ignored, as the loaders look it up; -1 when absent.
template <typename Entry> int FindEntry(const std::vector<Entry>& entries, std::string_view name) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (SameAnsiTextIgnoringCase(entries[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

// Takes out every question document and puts this one first.
template <typename Entry> void ReplaceQuestionDocument(std::vector<Entry>& entries, Entry document) {
    std::erase_if(entries, [](const Entry& entry) { return IsQuestionDocument(entry.Name); });
    entries.insert(entries.begin(), std::move(document));
}

} // namespace skq
