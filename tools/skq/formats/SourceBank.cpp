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

// Answers are lettered A to Z; any further one is numbered.
std::string AnswerName(std::size_t index) {
    return index < 26 ? std::string(1, static_cast<char>('A' + index)) : std::to_string(index + 1);
}

} // namespace

std::string MarkRightByCredit(std::span<const double> credits, SourceQuestion& question) {
    const auto full = std::count_if(credits.begin(), credits.end(), [](double c) { return c >= kFullCredit; });
    const bool fullOnly = !question.SeveralRight && full == 1;
    question.Right.clear();
    std::string dropped;
    std::size_t droppedCount = 0;
    for (std::size_t i = 0; i < credits.size(); ++i) {
        const bool partial = credits[i] > 0 && credits[i] < kFullCredit;
        question.Right.push_back(fullOnly ? credits[i] >= kFullCredit : credits[i] > 0);
        if (fullOnly && partial)
            dropped += (droppedCount++ == 0 ? "" : ", ") + AnswerName(i);
    }
    if (droppedCount == 0)
        return {};
    return Format(TrPlural("partial credit of answer {1} is not kept; only the full-credit answer counts as right",
                           "partial credit of answers {1} is not kept; only the full-credit answer counts as right",
                           droppedCount),
                  dropped);
}

void NoteAnswerPictures(const SourceQuestion& question, std::vector<SourceNote>& notes) {
    for (std::size_t i = 0; i < question.Answers.size(); ++i) {
        const SourceText& answer = question.Answers[i];
        if (answer.Html && !FlattenHtml(answer.Text).Images.empty())
            notes.push_back(
                {question.Where,
                 Format(Tr("answer {1} shows a picture, which the program can't show in an answer; left out"),
                        AnswerName(i))});
    }
}

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
