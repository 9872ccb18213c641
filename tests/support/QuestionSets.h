#pragma once

#include "session/UObslugaTest.h"
#include "storage/PakWriter.h"
#include "storage/QuestionWriter.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes the questions as the set in the folder (p10.skq, p11.skq, … in order) and
// makes it the set to run: SetFolder and QuestionFiles.
// Every file also carries the given entries: the pictures and texts the questions name.
inline void WriteQuestionSet(const std::filesystem::path& folder, const std::vector<QuestionDocument>& questions,
                             const std::vector<PakEntry>& attachments = {}) {
    std::filesystem::create_directories(folder);
    SetFolder = folder;
    QuestionFiles.clear();
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const std::string name = "p" + std::to_string(10 + i) + ".skq";
        std::vector<PakEntry> entries{{"Sezz0.xml", WriteQuestion40(questions[i])}};
        entries.insert(entries.end(), attachments.begin(), attachments.end());
        WritePakFile(folder / name, entries);
        QuestionFiles.push_back(name);
    }
}
