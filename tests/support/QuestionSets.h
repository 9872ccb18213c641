#pragma once

#include "session/UObslugaTest.h"
#include "storage/PakWriter.h"
#include "storage/QuestionWriter.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes the questions as the set in the folder (p10.skq, p11.skq, … in order) and
// makes it the set to run: SetFolder and QuestionFiles.
inline void WriteQuestionSet(const std::filesystem::path& folder, const std::vector<QuestionDocument>& questions) {
    std::filesystem::create_directories(folder);
    SetFolder = folder;
    QuestionFiles.clear();
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const std::string name = "p" + std::to_string(10 + i) + ".skq";
        WritePakFile(folder / name, {{"Sezz0.xml", WriteQuestion40(questions[i])}});
        QuestionFiles.push_back(name);
    }
}
