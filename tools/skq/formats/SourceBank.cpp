#include "tools/skq/formats/SourceBank.h"

namespace skq {

namespace {

// The context a path starts from ("$course$", "$system$", ...) and the root every context has.
bool IsContextPart(const std::string& part, bool first) {
    return (first && part.size() >= 2 && part.front() == '$' && part.back() == '$') || part == "top";
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string> CategoryPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    bool leading = true;
    const auto finish = [&] {
        std::string name(TrimBlanks(part));
        part.clear();
        if (name.empty() || (leading && IsContextPart(name, parts.empty())))
            return;
        leading = false;
        parts.push_back(std::move(name));
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '/')
            part += path[i];
        else if (i + 1 < path.size() && path[i + 1] == '/')
            part += path[++i];
        else
            finish();
    }
    finish();
    return parts;
}

} // namespace skq
