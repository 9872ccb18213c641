#pragma once

#include <string>
#include <vector>

// The lines of a report or box text, which breaks its lines with "\r".
inline std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\r')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}
