#pragma once

#include <filesystem>

class TestRun;
struct ChosenSet;

// Both roads into a set end here: the folder's question files are listed into the run's
// QuestionFiles and the run starts, or the learner is told the set is empty.
void StartSetFromList(TestRun& run, const ChosenSet& chosen);
// The learner pointed at a folder; it becomes the run's SetFolder even when it holds no question.
void StartSetFromFolder(TestRun& run, const std::filesystem::path& folder);
