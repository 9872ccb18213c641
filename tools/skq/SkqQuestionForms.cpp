#include "tools/skq/SkqQuestionForms.h"

#include "core/base/StorageError.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PackArchive.h"
#include "core/storage/QuestionDocument.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

namespace skq {

QuestionDocument ParseQuestionXml(ByteView xml) {
    XmlDocument document;
    document.LoadFromStream(xml); // as in the program: what parsed counts, missing fields read empty
    return ReadQuestionXml(document);
}

QuestionDocument ParseQuestionLines(ByteView txp) {
    try {
        return ReadQuestionLines(SplitLines(txp));
    } catch (const StorageError& error) {
        throw ToolFailure(error.what());
    }
}

Bytes WriteQuestionDocument(const QuestionDocument& question, const StoredForm& form) {
    if (!form.Legacy)
        return WriteQuestion40(question, form.Form40);
    if (!question.Answers[4].empty())
        throw ToolFailure(Tr("the 3.5 layout holds four answers, but od5 is not empty"));
    try {
        // The scrambler's filler is noise: any seed will do.
        Random filler(ClockSeed());
        return WriteQuestion35(question, filler);
    } catch (const StorageError&) {
        throw ToolFailure(Tr("a field holds a line break, which the 3.5 layout can't store"));
    }
}

bool IsQuestionDocument(std::string_view name) {
    return SameAnsiTextIgnoringCase(name, kQuestionDocument40) || SameAnsiTextIgnoringCase(name, kQuestionDocument35);
}

} // namespace skq
