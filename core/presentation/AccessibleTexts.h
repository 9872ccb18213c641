#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What a screen reader says for controls whose look alone carries their state.

// An answer's letter tile. After the check the tile also tells whether the answer is
// right: a right answer says so whether chosen or not, a wrong one only when chosen.
struct AnswerTileFacts {
    int Position = 1; // display position, 1 for A
    std::u16string_view Text;
    bool Chosen = false;
    bool Checked = false;
    bool Correct = false;
};
std::u16string AnswerTileName(const AnswerTileFacts& tile);

// A row of the set tree: its name, what it is, its level counted from 1 and, for a
// category, whether it is open.
struct SetTreeRowFacts {
    std::u16string_view Name;
    std::int32_t Level = 0; // as the set list gives it, 0 at the top
    bool Category = false;
    bool Open = false;
};
std::u16string SetTreeRowName(const SetTreeRowFacts& row);
