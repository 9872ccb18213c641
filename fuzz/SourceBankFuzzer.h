// The one body of the quiz format readers' fuzz targets: whatever the input, every question read has a right
// flag for each answer and at least one set, and every skipped one says where and why.
#pragma once

#include "tools/skq/formats/SourceBank.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

template <skq::SourceBank (*Read)(std::string_view)> int FuzzSourceReader(const std::uint8_t* data, std::size_t size) {
    const skq::SourceBank bank = Read(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const skq::SourceQuestion& question : bank.Questions) {
        if (question.Where.empty() || question.Right.size() != question.Answers.size() ||
            std::count(question.Right.begin(), question.Right.end(), true) == 0)
            std::abort();
    }
    for (const skq::SkippedQuestion& skipped : bank.Skipped) {
        if (skipped.Where.empty() || skipped.Why.empty())
            std::abort();
    }
    return 0;
}
