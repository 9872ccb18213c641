#pragma once

#include "core/session/QuestionRecord.h"
#include "core/storage/Bitmap.h"
#include "core/storage/PackArchive.h"

#include <filesystem>

// The question on screen, its picture and its attached text, filled by OpenQuestionFile.
extern QuestionRecord CurrentQuestion;
extern Bitmap PictureBitmap;
extern TextLines AttachedTextLines;

// Loads a question file into CurrentQuestion with its answers in drawn order.
// False after any failure, which has then been written to the journal and, for a
// damaged question, shown in the message box.
bool OpenQuestionFile(const std::filesystem::path& path);

// The layouts' loaders. A missing document raises StorageError.
enum class QuestionLoad { Loaded = 0, Damaged = 1 };
QuestionLoad LoadQuestion40(const PackArchive& pak);
QuestionLoad LoadQuestion35(const PackArchive& pak);
