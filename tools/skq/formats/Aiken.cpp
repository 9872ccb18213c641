// The Aiken format: a question's text (one or more lines), its answers "A) text" or "A. text", then
// "ANSWER: B" ("ANSWER: A, C" when several are right). Blank lines separate questions. As other readers
// do, answers may also have a lower-case letter or no space after it ("a) text", "A)text").
#include "tools/skq/formats/PlainFormats.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <optional>
#include <string>
#include <vector>

namespace skq {

namespace {

struct Option {
    char Letter = 'A'; // in upper case
    std::string_view Text;
    bool Loose = false; // a lower-case letter or no space after the mark
};

// "A) text" or "A. text", or loosely "a) text" and "A)text"; none for any other (trimmed) line.
std::optional<Option> ReadOption(std::string_view line) {
    if (line.size() < 2 || (line[1] != ')' && line[1] != '.'))
        return std::nullopt;
    const bool upper = line[0] >= 'A' && line[0] <= 'Z';
    if (!upper && (line[0] < 'a' || line[0] > 'z'))
        return std::nullopt;
    const bool spaced = line.size() == 2 || line[2] == ' ' || line[2] == '\t';
    return Option{static_cast<char>(upper ? line[0] : line[0] - 'a' + 'A'), TrimBlanks(line.substr(2)),
                  !upper || !spaced};
}

// What follows "ANSWER:" (any letter case); none when the line is no answer line.
std::optional<std::string_view> AnswerLetters(std::string_view line) {
    constexpr std::string_view kKey = "ANSWER";
    if (line.size() < kKey.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kKey.size(); ++i) {
        if ((line[i] & ~0x20) != kKey[i])
            return std::nullopt;
    }
    const std::string_view rest = TrimBlanks(line.substr(kKey.size()));
    if (rest.empty() || rest[0] != ':')
        return std::nullopt;
    return rest.substr(1);
}

class AikenReader {
public:
    SourceBank Read(std::string_view text) {
        int number = 0;
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                end = text.size();
            Take(++number, TrimBlanks(text.substr(start, end - start)));
            start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        }
        if (open_)
            Close(std::nullopt);
        return std::move(bank_);
    }

private:
    void Take(int number, std::string_view line) {
        const std::optional<Option> option = ReadOption(line);
        if (!open_) {
            if (!line.empty())
                Open(number, line);
        } else if (line.empty()) {
            Close(std::nullopt);
        } else if (const auto letters = AnswerLetters(line)) {
            Close(*letters);
        } else if (option && TakesOption(*option)) {
            AddOption(*option, line);
        } else if (question_.Answers.empty()) {
            AddTextLine(line);
        } else if (!looseLines_.empty()) {
            TakeBackLooseAnswers();
            AddTextLine(line);
        } else {
            // Text after the answers starts the next question; this one never got its ANSWER line.
            Close(std::nullopt);
            Open(number, line);
        }
    }

    // Lines of text may look like loose answers ("a) first statement" before the answers), so a loose
    // answer must have the next letter, and while every answer is loose, a line of text or a strict A)
    // makes them lines of the question's text again.
    bool TakesOption(const Option& option) {
        if (!option.Loose && option.Letter == 'A' && !looseLines_.empty())
            TakeBackLooseAnswers();
        return !option.Loose || option.Letter == static_cast<char>('A' + question_.Answers.size());
    }

    void TakeBackLooseAnswers() {
        for (const std::string& line : looseLines_)
            AddTextLine(line);
        looseLines_.clear();
        question_.Answers.clear();
        fault_.clear();
    }

    void AddTextLine(std::string_view line) {
        question_.Text.Text += '\n';
        question_.Text.Text += line;
        ++textLines_;
    }

    void Open(int number, std::string_view line) {
        open_ = true;
        question_ = SourceQuestion{};
        question_.Where = Format(Tr("line {1}"), number);
        question_.Text.Text = line;
        textLines_ = 1;
        looseLines_.clear();
        fault_.clear();
    }

    void AddOption(const Option& option, std::string_view line) {
        if (option.Loose && looseLines_.size() == question_.Answers.size())
            looseLines_.emplace_back(line);
        else
            looseLines_.clear();
        const char expected = static_cast<char>('A' + question_.Answers.size());
        if (option.Letter != expected && fault_.empty())
            fault_ = Format(Tr("answer {1} comes where {2} should"), std::string(1, option.Letter),
                            std::string(1, expected));
        question_.Answers.push_back(SourceText{std::string(option.Text), false});
    }

    void Close(std::optional<std::string_view> letters) {
        open_ = false;
        std::string why = fault_;
        if (why.empty() && question_.Answers.empty())
            why = textLines_ > 1 ? Tr("answers not in the A) … layout") : Tr("no answers");
        else if (why.empty() && !letters)
            why = Tr("no ANSWER line");
        else if (why.empty())
            why = MarkRightLetters(*letters, question_);
        if (why.empty())
            bank_.Questions.push_back(std::move(question_));
        else
            bank_.Skipped.push_back(SkippedQuestion{question_.Where, why});
    }

    SourceBank bank_;
    bool open_ = false;
    SourceQuestion question_;
    std::string fault_; // the first thing found wrong with the open question
    std::size_t textLines_ = 0;
    std::vector<std::string> looseLines_; // the lines of the answers while every one is loose
};

} // namespace

SourceBank ReadAiken(std::string_view text) { return AikenReader().Read(text); }

} // namespace skq
