#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One entry of the set tree, as a set list line gives it.
struct SetListEntry {
    std::int32_t Id = 0;
    std::int32_t Level = 0;
    std::int32_t DescendantCount = 0;
    std::int32_t ParentId = 0;
    std::string Name;
    std::string Folder;  // relative to the set list file's folder; empty for a category
    std::int32_t Visible = 0;
    std::int32_t State = 0;
};

// The text from position up to the next "*" not directly after "@"; the position
// moves past that "*". Without one the field is empty and the position stays.
std::string ReadEntryField(std::string_view line, std::size_t& position);

// Splits an entry line of eight "*"-ended fields: id, level, descendant count,
// parent id, visible, state, name, folder. False when a number field is not a
// decimal integer; the fields before it are filled.
bool ParseEntryLine(std::string_view line, SetListEntry& entry);
