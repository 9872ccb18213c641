#pragma once

#include "core/base/CodePage.h"
#include "core/session/TestRun.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"

#include <filesystem>
#include <string>
#include <vector>

// A question whose answers are named after its text ("<text> odpowiedź a", …), with
// the key and the picture and attached text it names.
inline QuestionDocument MakeQuestion(int answerCount, const std::string& text, const std::string& key,
                                     const std::string& picture = "", const std::string& attached = "") {
    QuestionDocument document;
    document.AnswerCount = answerCount;
    document.QuestionText = Utf8ToAnsi(text);
    for (int i = 0; i < answerCount; ++i)
        document.Answers[static_cast<std::size_t>(i)] =
            Utf8ToAnsi(text + " odpowiedź " + std::string(1, static_cast<char>('a' + i)));
    document.Key = key;
    document.PictureName = picture;
    document.TextName = attached;
    return document;
}

// Writes the questions as the set in the folder (p10.skq, p11.skq, … in order) and
// makes it the run's set: its SetFolder and QuestionFiles.
// Every file also carries the given entries: the pictures and texts the questions name.
inline void WriteQuestionSet(TestRun& run, const std::filesystem::path& folder,
                             const std::vector<QuestionDocument>& questions,
                             const std::vector<PakEntry>& attachments = {}) {
    std::filesystem::create_directories(folder);
    run.SetFolder = folder;
    run.QuestionFiles.clear();
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const std::string name = "p" + std::to_string(10 + i) + ".skq";
        std::vector<PakEntry> entries{{"Sezz0.xml", WriteQuestion40(questions[i])}};
        entries.insert(entries.end(), attachments.begin(), attachments.end());
        WritePakFile(folder / name, entries);
        run.QuestionFiles.push_back(name);
    }
}
