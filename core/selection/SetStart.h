#pragma once

#include <filesystem>

// Both roads into a set end here: the folder's question files are listed into
// QuestionFiles and the run starts, or the learner is told the set is empty.

// The set list window has put the chosen set's folder into SetFolder.
void StartSetFromList();
// The learner pointed at a folder; it becomes SetFolder even when it holds no question.
void StartSetFromFolder(const std::filesystem::path& folder);
