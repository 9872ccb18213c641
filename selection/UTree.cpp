#include "selection/UTree.h"

#include <charconv>

std::string ReadEntryField(std::string_view line, std::size_t& position) {
    for (std::size_t at = position; at < line.size(); ++at) {
        if (line[at] == '*' && (at == 0 || line[at - 1] != '@')) {
            std::string field(line.substr(position, at - position));
            position = at + 1;
            return field;
        }
    }
    return {};
}

namespace {

bool ReadNumberField(std::string_view line, std::size_t& position, std::int32_t& value) {
    const std::string field = ReadEntryField(line, position);
    const char* begin = field.data();
    if (!field.empty() && field[0] == '+')
        ++begin;
    const auto [end, error] = std::from_chars(begin, field.data() + field.size(), value);
    return !field.empty() && error == std::errc{} && end == field.data() + field.size();
}

} // namespace

bool ParseEntryLine(std::string_view line, SetListEntry& entry) {
    std::size_t position = 0;
    for (std::int32_t* number : {&entry.Id, &entry.Level, &entry.DescendantCount, &entry.ParentId, &entry.Visible,
                                 &entry.State}) {
        if (!ReadNumberField(line, position, *number))
            return false;
    }
    entry.Name = ReadEntryField(line, position);
    entry.Folder = ReadEntryField(line, position);
    return true;
}
