#pragma once

#include "core/session/QuestionRecord.h"
#include "core/session/TestRun.h"

#include <cstdint>
#include <string>
#include <vector>

// The verdict after a check: "Dobrze!", or the letters of the right answers as the
// tiles show them.
std::u16string VerdictText(const QuestionRecord& question);

// Where the run stands at the question `current` of `progress`: its number in the
// first pass, or in the repeat pass which of the questions missed the first time is
// being repeated (a question missed again keeps its number) and how many there are.
// Empty for an index outside the run.
std::u16string ProgressText(const std::vector<QuestionProgress>& progress, std::int32_t current,
                            std::int32_t firstTimeRight);
