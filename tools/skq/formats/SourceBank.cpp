#include "tools/skq/formats/SourceBank.h"

#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <cctype>
#include <string>

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

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [&](std::size_t at) {
            return at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at]));
        };
        if (text[i] == '%' && hex(i + 1) && hex(i + 2)) {
            decoded += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

bool NeedsSoundOrVideo(const SourceQuestion& question) {
    const auto plays = [](const SourceText& text) { return text.Html && FlattenHtml(text.Text).SoundOrVideo; };
    return IsSoundOrVideoName(question.Picture) || plays(question.Text) ||
           std::any_of(question.Answers.begin(), question.Answers.end(), plays);
}

std::string SoundOrVideoReason() { return Tr("needs sound or video the program can't play"); }

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
