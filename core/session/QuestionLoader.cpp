#include "core/session/QuestionLoader.h"

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/QuestionDocument.h"
#include "core/storage/XmlDocument.h"

#include <string_view>

namespace {

void FillQuestion(const QuestionDocument& document, QuestionRecord& question) {
    question.QuestionType = document.QuestionType;
    question.AnswerCount = document.AnswerCount;
    question.QuestionText = document.QuestionText;
    for (int k = 1; k <= QuestionRecord::kMaxAnswers; ++k)
        question.Answer(k).Text = document.Answers[static_cast<std::size_t>(k - 1)];
    question.Key = document.Key;
    question.TextName = document.TextName;
    question.PictureName = document.PictureName;
    question.Hint = document.Hint;
}

// The last steps of both layouts; a damaged picture or text raises, and a question
// that can't be ordered (empty key, impossible answer count) is damaged too.
void LoadAttachmentsAndOrder(const PackArchive& pak, LoadedQuestion& loaded, Random& random) {
    QuestionRecord& question = loaded.Question;
    if (!question.PictureName.empty())
        PakLoadPicture(question.PictureName, loaded.Picture, pak);
    if (!question.TextName.empty())
        PakLoadText(question.TextName, loaded.AttachedText, pak);
    if (!SetUpAnswerOrder(question, random))
        throw StorageError("question can't be ordered");
}

Bytes ExtractDocument(std::string_view name, const PackArchive& pak) {
    std::optional<Bytes> data = PakExtract(name, EntryCap::kQuestionDocument, pak);
    if (!data)
        throw StorageError("no question document");
    return std::move(*data);
}

// Reads the fields with `read`, then the attachments; a storage failure on the way is a damaged question.
template <typename Read>
QuestionLoad LoadQuestion(const PackArchive& pak, LoadedQuestion& loaded, const Journal& journal, Random& random,
                          Read read, std::u16string_view damaged) {
    try {
        read();
        LoadAttachmentsAndOrder(pak, loaded, random);
        return QuestionLoad::Loaded;
    } catch (const StorageError&) {
        journal.Write(0, damaged);
        return QuestionLoad::Damaged;
    }
}

} // namespace

QuestionLoad LoadQuestion40(const PackArchive& pak, LoadedQuestion& loaded, const Journal& journal, Random& random) {
    XmlDocument document;
    document.LoadFromStream(ExtractDocument(kQuestionDocument40, pak));
    return LoadQuestion(
        pak, loaded, journal, random,
        [&] {
            const QuestionDocument fields = ReadQuestionXml(document);
            FillQuestion(fields, loaded.Question);
            loaded.Question.Date = fields.Date;
        },
        u"Odczyt. Ver 40. Błąd dekodowania pytaniu solo.");
}

QuestionLoad LoadQuestion35(const PackArchive& pak, LoadedQuestion& loaded, const Journal& journal, Random& random) {
    const TextLines lines = SplitLines(ExtractDocument(kQuestionDocument35, pak));
    // The old layout's date line is not read into the record: it keeps its date.
    return LoadQuestion(
        pak, loaded, journal, random, [&] { FillQuestion(ReadQuestionLines(lines), loaded.Question); },
        u"Odczyt. Ver 35. Błąd dekodowania pytaniu solo.");
}

bool OpenQuestionFile(const std::filesystem::path& path, LoadedQuestion& loaded, const Reporting& reports,
                      Random& random) {
    QuestionLoad code = QuestionLoad::Loaded;
    try {
        PackArchive pak;
        ResetQuestionRecord(loaded.Question);
        PakOpen(path, pak);
        code = PakExists(kQuestionDocument35, pak) ? LoadQuestion35(pak, loaded, reports.Log, random)
                                                   : LoadQuestion40(pak, loaded, reports.Log, random);
    } catch (const StorageError&) {
        reports.Log.Write(0, u"Odczyt. Błąd wczytywania pliku Sezz0.");
        return false;
    }
    if (code == QuestionLoad::Damaged)
        reports.Box.Show(WarningButtonSet::Close, WarningIcon::Information,
                         u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony.");
    return code == QuestionLoad::Loaded;
}
