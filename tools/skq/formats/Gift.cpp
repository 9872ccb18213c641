#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace skq {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// What the format ignores around texts and answers.
constexpr std::string_view kSpaces = " \t\r\n";

// The characters written with a backslash before them.
constexpr std::string_view kEscaped = "\\=~#{}:";

constexpr std::string_view kCategory = "$CATEGORY:";

constexpr std::array<std::string_view, 4> kFormatMarkers = {"[html]", "[plain]", "[moodle]", "[markdown]"};

// Titles are for finding a question in a list, so a few words are enough.
constexpr std::size_t kTitleLength = 40;

std::string_view TrimmedStart(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpaces);
    return first == kNone ? std::string_view() : text.substr(first);
}

bool IsSpace(char c) { return kSpaces.find(c) != kNone; }

// The words of the text on one line, one space apart.
std::string Collapsed(std::string_view text) {
    std::string words;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsSpace(text[i]))
            continue;
        if (!words.empty() && IsSpace(text[i - 1]))
            words += ' ';
        words += text[i];
    }
    return words;
}

// Where the first match starts outside an escape, looking from `from`, which must not be inside an
// escape itself; kNone when nowhere.
template <typename Match> std::size_t FindUnescaped(std::string_view text, std::size_t from, Match match) {
    for (std::size_t i = from; i < text.size(); i += text[i] == '\\' ? 2 : 1)
        if (text[i] != '\\' && match(text.substr(i)))
            return i;
    return kNone;
}

std::size_t FindUnescaped(std::string_view text, std::string_view what, std::size_t from = 0) {
    return FindUnescaped(text, from, [what](std::string_view rest) { return rest.starts_with(what); });
}

std::size_t FindAnswerMark(std::string_view text, std::size_t from) {
    return FindUnescaped(text, from, [](std::string_view rest) { return rest[0] == '=' || rest[0] == '~'; });
}

// A backslash before any other character is no escape and stays.
std::string Unescaped(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && next == 'n') {
            plain += '\n';
            ++i;
        } else if (text[i] == '\\' && kEscaped.find(next) != kNone) {
            plain += next;
            ++i;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

std::string UnescapedTrimmed(std::string_view text) { return std::string(TrimBlanks(Unescaped(text))); }

// The text format marker the text starts with, in lower case; empty when there is none.
std::string_view FormatMarker(std::string_view text) {
    for (const std::string_view marker : kFormatMarkers) {
        if (text.size() >= marker.size() && std::equal(marker.begin(), marker.end(), text.begin(), [](char a, char b) {
                return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
            }))
            return marker;
    }
    return {};
}

// An answer's own format marker, which exporters write when it differs from the question's, overrides
// the question's; Markdown is taken as plain text.
SourceText MarkedText(std::string_view text, bool html) {
    text = TrimmedStart(text);
    const std::string_view marker = FormatMarker(text);
    if (marker.empty())
        return {UnescapedTrimmed(text), html};
    return {UnescapedTrimmed(text.substr(marker.size())), marker == "[html]"};
}

bool IsTrueFalse(std::string_view answers) {
    std::string word(TrimBlanks(answers.substr(0, FindUnescaped(answers, "#"))));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; });
    return word == "T" || word == "F" || word == "TRUE" || word == "FALSE";
}

// Embedded answers as "{1:MULTICHOICE:...}" write them.
bool IsEmbeddedAnswer(std::string_view answers) {
    answers = TrimmedStart(answers);
    const std::size_t kind = answers.find_first_not_of("0123456789");
    if (kind == kNone || answers[kind] != ':')
        return false;
    const std::size_t end =
        answers.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_", kind + 1);
    return end != kNone && end > kind + 1 && answers[end] == ':';
}

// Why the answers make no multiple-choice question; empty when they may.
std::string_view OtherKind(std::string_view answers) {
    const std::string_view body = TrimBlanks(answers);
    if (body.empty())
        return Tr("essay question");
    if (body[0] == '#')
        return Tr("numerical question");
    if (FindUnescaped(body, "~") != kNone)
        return {};
    if (FindUnescaped(body, "->") != kNone)
        return Tr("matching question");
    if (IsTrueFalse(body))
        return Tr("true/false question");
    if (body[0] == '=')
        return Tr("short answer question");
    return {};
}

// "%50%", "%-100%", "%33.33333%" (a decimal comma too).
std::optional<double> Weight(std::string_view written) {
    std::string number(TrimBlanks(written));
    std::replace(number.begin(), number.end(), ',', '.');
    if (number.starts_with('+'))
        number.erase(0, 1);
    double weight = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), weight);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return weight;
}

// Reads "=right ~wrong #feedback ~%50%right" into the question; the reason when it can't. Weights make
// the answers to be chosen each on its own, unless one answer among others alone has full credit and
// none takes credit away; `note` tells of partial credit that is dropped then.
std::string_view ReadChoices(std::string_view choices, bool html, SourceQuestion& question, std::string& note) {
    std::size_t at = FindAnswerMark(choices, 0);
    if (at == kNone || !TrimBlanks(choices.substr(0, at)).empty())
        return Tr("answers not marked with = or ~");
    bool weighted = false;
    std::vector<double> credits;
    while (at != kNone) {
        const std::size_t next = FindAnswerMark(choices, at + 1);
        std::string_view answer = choices.substr(at + 1, next == kNone ? kNone : next - at - 1);
        answer = TrimmedStart(answer.substr(0, FindUnescaped(answer, "#")));
        double credit = choices[at] == '=' ? kFullCredit : 0;
        if (answer.starts_with('%')) {
            const std::size_t end = answer.find('%', 1);
            const std::optional<double> weight = end == kNone ? std::nullopt : Weight(answer.substr(1, end - 1));
            if (!weight)
                return Tr("unreadable answer weight");
            credit = *weight;
            weighted = true;
            answer.remove_prefix(end + 1);
        }
        question.Answers.push_back(MarkedText(answer, html));
        credits.push_back(credit);
        at = next;
    }
    const auto full = std::count_if(credits.begin(), credits.end(), [](double c) { return c >= kFullCredit; });
    const bool takesAway = std::any_of(credits.begin(), credits.end(), [](double c) { return c < 0; });
    question.SeveralRight = weighted && (full != 1 || takesAway || credits.size() == 1);
    note = MarkRightByCredit(credits, question);
    return {};
}

// The text around the answers; text after them makes a gap to fill where they stood.
std::string QuestionText(std::string_view before, std::string_view after) {
    std::string text = UnescapedTrimmed(before);
    const std::string tail = UnescapedTrimmed(after);
    if (tail.empty())
        return text;
    return text.empty() ? "_____ " + tail : text + " _____ " + tail;
}

// Reads what follows the title; the reason when the question is left out, else empty.
std::string_view ReadQuestion(std::string_view rest, SourceQuestion& question, std::string& note) {
    const std::string_view marker = FormatMarker(TrimmedStart(rest));
    if (!marker.empty())
        rest = TrimmedStart(rest).substr(marker.size());
    const bool html = marker == "[html]";
    const std::size_t open = FindUnescaped(rest, "{");
    // Text without answers is what the format calls a description, as other formats name it.
    if (open == kNone)
        return Tr("description, not a question");
    const std::size_t close = FindUnescaped(rest, "}", open + 1);
    if (close == kNone)
        return Tr("unclosed braces");
    const std::string_view answers = rest.substr(open + 1, close - open - 1);
    const std::string_view after = rest.substr(close + 1);
    if (FindUnescaped(answers, "{") != kNone || FindUnescaped(after, "{") != kNone || IsEmbeddedAnswer(answers))
        return Tr("cloze (embedded answers) question");
    const std::size_t general = FindUnescaped(answers, "####");
    const std::string_view choices = answers.substr(0, general);
    if (const std::string_view kind = OtherKind(choices); !kind.empty())
        return kind;
    if (const std::string_view why = ReadChoices(choices, html, question, note); !why.empty())
        return why;
    question.Text = {QuestionText(rest.substr(0, open), after), html};
    // The format has no hints; general feedback is what teachers write one as.
    if (general != kNone)
        question.Hint = {UnescapedTrimmed(answers.substr(general + 4)), html};
    return {};
}

void ReadBlock(std::string_view block, std::size_t line, const std::vector<std::string>& category, SourceBank& bank) {
    std::string where = Format(Tr("line {1}"), line);
    std::string_view rest = TrimmedStart(block);
    if (rest.starts_with("::")) {
        const std::size_t end = FindUnescaped(rest, "::", 2);
        if (end == kNone) {
            bank.Skipped.push_back({where, Tr("title without its closing ::")});
            return;
        }
        const std::string title = Collapsed(Unescaped(rest.substr(2, end - 2)));
        if (!title.empty())
            where += " (" + title + ")";
        rest.remove_prefix(end + 2);
    }
    SourceQuestion question;
    question.Where = where;
    question.Category = category;
    std::string note;
    if (const std::string_view why = ReadQuestion(rest, question, note); !why.empty()) {
        bank.Skipped.push_back({std::move(where), std::string(why)});
        return;
    }
    if (!note.empty())
        bank.Notes.push_back({std::move(where), std::move(note)});
    NoteAnswerPictures(question, bank.Notes);
    bank.Questions.push_back(std::move(question));
}

std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (kEscaped.find(c) != kNone)
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// Line breaks would end a comment or category line early.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

std::string CategoryLine(const std::vector<std::string>& category) {
    std::string path = "$course$/top";
    for (const std::string& name : category) {
        path += '/';
        // Names lose their edge spaces when read, so a space keeps a leading "/" from doubling the separator.
        if (name.starts_with('/'))
            path += ' ';
        for (const char c : OneLine(name))
            path += c == '/' ? "//" : std::string(1, c);
    }
    return path;
}

std::string ShortTitle(std::string_view text) {
    const std::string words = Collapsed(text);
    if (words.size() <= kTitleLength)
        return words;
    std::size_t cut = words.rfind(' ', kTitleLength);
    if (cut == kNone) {
        cut = kTitleLength;
        while (cut > 0 && (static_cast<unsigned char>(words[cut]) & 0xC0) == 0x80)
            --cut;
    }
    return words.substr(0, cut);
}

// Whether reading gives the text back unchanged without HTML: the reader trims texts, and a line
// break would end the line the text is written on.
bool ReadsBackAsPlain(std::string_view text) {
    return text.find_first_of("\r\n") == kNone && (text.empty() || (!IsSpace(text.front()) && !IsSpace(text.back())));
}

bool NeedsHtml(const SourceQuestion& question) {
    // A leading "%" would be read as a weight.
    const auto plainAnswer = [](const SourceText& answer) {
        return ReadsBackAsPlain(answer.Text) && !answer.Text.starts_with('%');
    };
    return !question.Picture.empty() || !ReadsBackAsPlain(question.Text.Text) ||
           !ReadsBackAsPlain(question.Hint.Text) ||
           !std::all_of(question.Answers.begin(), question.Answers.end(), plainAnswer);
}

std::string AnswerHtml(std::string_view text) {
    std::string html = HtmlFromPlainText(text);
    if (html.starts_with('%'))
        html.replace(0, 1, "&#37;");
    return html;
}

std::string WeightOfRight(std::size_t rightCount) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      100.0 / static_cast<double>(rightCount), std::chars_format::fixed, 5);
    std::string weight(buffer.data(), result.ptr);
    weight.erase(weight.find_last_not_of('0') + 1);
    if (weight.ends_with('.'))
        weight.pop_back();
    return weight;
}

// Readers take "%" in a picture's name for the start of an escape, as in any URL; control
// characters, which HTML would turn into spaces or breaks, are escaped the same way.
std::string PercentEscaped(std::string_view name) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || byte < 0x20 || byte == 0x7F)
            escaped += {'%', kHex[byte >> 4], kHex[byte & 15]};
        else
            escaped += c;
    }
    return escaped;
}

// A text that starts like a format marker gets one of its own in front, so that reading keeps it.
std::string MarkerSafe(std::string_view text, bool html) {
    if (FormatMarker(text).empty())
        return std::string(text);
    return (html ? "[html]" : "[plain]") + std::string(text);
}

std::string FirstLine(const SourceQuestion& question, bool html) {
    const std::string& text = question.Text.Text;
    const std::string title = ShortTitle(text);
    std::string line = title.empty() ? "" : "::" + Escaped(title) + "::";
    if (html) {
        std::string picture;
        if (!question.Picture.empty())
            picture = "<img src=\"" + HtmlFromPlainText(PercentEscaped(question.Picture)) + "\">";
        return line + "[html]" + Escaped(HtmlFromPlainText(text) + picture);
    }
    return line + Escaped(MarkerSafe(text, false));
}

void WriteQuestion(const SourceQuestion& question, std::string& gift) {
    if (!question.Where.empty())
        gift += "// " + OneLine(question.Where) + '\n';
    const bool html = NeedsHtml(question);
    const std::string first = FirstLine(question, html);
    gift += first.empty() ? "{\n" : first + " {\n";
    const std::size_t answers = question.Answers.size();
    const auto isRight = [&](std::size_t i) { return i < question.Right.size() && question.Right[i]; };
    std::size_t rightCount = 0;
    for (std::size_t i = 0; i < answers; ++i)
        rightCount += isRight(i);
    for (std::size_t i = 0; i < answers; ++i) {
        if (question.SeveralRight)
            gift += isRight(i) ? "~%" + WeightOfRight(rightCount) + "%" : "~%-100%";
        else
            gift += isRight(i) ? '=' : '~';
        const std::string& text = question.Answers[i].Text;
        gift += Escaped(MarkerSafe(html ? AnswerHtml(text) : text, html)) + '\n';
    }
    const std::string& hint = question.Hint.Text;
    if (!hint.empty())
        gift += "####" + Escaped(html ? HtmlFromPlainText(hint) : hint) + '\n';
    gift += "}\n\n";
}

} // namespace

// Questions are blocks of lines between blank lines. A text's own line breaks stay as they are:
// a plain text keeps them, an HTML text leaves them to the flattening, as a browser would.
SourceBank ReadGift(std::string_view text) {
    SourceBank bank;
    std::vector<std::string> category;
    std::string block;
    std::size_t blockLine = 0;
    const auto finishBlock = [&] {
        if (!block.empty())
            ReadBlock(block, blockLine, category, bank);
        block.clear();
    };
    std::size_t lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find_first_of("\r\n", at);
        const std::string_view line = text.substr(at, end == kNone ? kNone : end - at);
        at = end == kNone ? text.size() : end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        ++lineNumber;
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.starts_with("//"))
            continue;
        const bool categoryLine = trimmed.starts_with(kCategory);
        if (trimmed.empty() || categoryLine) {
            finishBlock();
            if (categoryLine)
                category = CategoryPath(trimmed.substr(kCategory.size()));
            continue;
        }
        if (block.empty())
            blockLine = lineNumber;
        else
            block += '\n';
        block += line;
    }
    finishBlock();
    return bank;
}

// Questions that need HTML to come back as written (line breaks, edge spaces, a picture) are
// written as HTML whole, answers and hint included, as the reader takes the marker for all of them.
std::string WriteGift(std::span<const SourceQuestion> questions) {
    std::string gift;
    std::vector<std::string> category;
    for (const SourceQuestion& question : questions) {
        if (question.Category != category) {
            category = question.Category;
            gift += std::string(kCategory) + " " + CategoryLine(category) + "\n\n";
        }
        WriteQuestion(question, gift);
    }
    return gift;
}

} // namespace skq
