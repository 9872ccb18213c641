#pragma once

#include "core/session/QuestionRecord.h"
#include "core/storage/Bitmap.h"
#include "core/storage/PackArchive.h"

#include <filesystem>

class Journal;
struct Reporting;

// A question as the test screen shows it, with its picture and its attached text.
struct LoadedQuestion {
    QuestionRecord Question;
    Bitmap Picture;
    TextLines AttachedText;
};

// Loads a question file with its answers in an order drawn from the generator. False after any failure, which
// has then been written to the journal and, for a damaged question, shown in the message box.
bool OpenQuestionFile(const std::filesystem::path& path, LoadedQuestion& loaded, const Reporting& reports,
                      Random& random);

// The layouts' loaders. A missing document raises StorageError.
enum class QuestionLoad { Loaded = 0, Damaged = 1 };
QuestionLoad LoadQuestion40(const PackArchive& pak, LoadedQuestion& loaded, const Journal& journal, Random& random);
QuestionLoad LoadQuestion35(const PackArchive& pak, LoadedQuestion& loaded, const Journal& journal, Random& random);
