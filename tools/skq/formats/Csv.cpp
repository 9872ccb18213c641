// Questions from a spreadsheet saved as CSV, one question a row. The columns, by position:
//    1  question
//  2-6  answers A to E (D and E may stay empty)
//    7  right answers as letters: "B", or "A,C", "AC", "a c" when several are right
//    8  hint
//    9  picture: a file beside the CSV
//   10  category: "Matematyka/Ułamki" nests Ułamki in Matematyka ("//" stands for a "/" in a name)
// Columns after the tenth are left for the teacher's own notes. A first row whose first cell reads
// "pytanie" or "question" (any case) is a header and is left out; empty rows are too. The separator is
// whichever of ";", tab and "," the first row holds most (";" on a tie), so files of Polish spreadsheet
// programs (";") and of English ones (",") both read. Cells may be quoted: "" inside quotes is a quote,
// and a separator or a line break inside quotes belongs to the cell.
#include "tools/skq/formats/PlainFormats.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <string>

namespace skq {

namespace {

enum Column : std::size_t { kQuestion = 0, kFirstAnswer = 1, kRight = 6, kHint = 7, kPicture = 8, kCategory = 9 };
constexpr std::size_t kColumns = 10;
constexpr std::size_t kAnswerColumns = 5;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

char GuessSeparator(std::string_view text) {
    constexpr std::array<char, 3> kSeparators = {';', '\t', ','};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (const char c : text.substr(std::min(text.find_first_not_of("\r\n"), text.size()))) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && IsLineEnd(c))
            break;
        for (std::size_t i = 0; i < kSeparators.size(); ++i)
            counts[i] += !quoted && c == kSeparators[i];
    }
    return kSeparators[std::max_element(counts.begin(), counts.end()) - counts.begin()];
}

struct Row {
    std::vector<std::string> Cells; // the first kColumns of them
    std::string Fault;              // set when the row's quotes don't pair up
};

// Splits the text into rows and cells.
class CsvRows {
public:
    CsvRows(std::string_view text, char separator) : text_(text), separator_(separator) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    Row Next() {
        Row row;
        for (std::size_t column = 1;; ++column) {
            std::string cell;
            if (At('"')) {
                const std::size_t opened = pos_;
                if (const std::string fault = ReadQuotedCell(cell, column); !fault.empty()) {
                    // A broken quote would swallow the rows after it: only the row it opens in is lost.
                    row.Fault = fault;
                    pos_ = opened;
                    SkipLine();
                    return row;
                }
            } else {
                ReadPlainCell(cell);
            }
            if (column <= kColumns)
                row.Cells.push_back(std::move(cell));
            if (!At(separator_))
                break;
            ++pos_;
        }
        SkipLine();
        return row;
    }

private:
    bool At(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

    void ReadPlainCell(std::string& cell) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_]))
            ++pos_;
        cell = text_.substr(start, pos_ - start);
    }

    // Returns why the cell is broken; empty when it reads.
    std::string ReadQuotedCell(std::string& cell, std::size_t column) {
        ++pos_;
        for (;;) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos)
                return Format(Tr("a quote in column {1} is never closed"), column);
            AppendWithLineFeeds(cell, text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (!At('"'))
                break;
            cell += '"';
            ++pos_;
        }
        if (pos_ == text_.size() || At(separator_) || IsLineEnd(text_[pos_]))
            return {};
        // A closing quote inside a cell that ran over lines is most likely the opening quote of a later cell.
        if (cell.find('\n') != std::string::npos)
            return Format(Tr("a quote in column {1} is not closed"), column);
        return Format(Tr("text follows the closing quote in column {1}"), column);
    }

    static void AppendWithLineFeeds(std::string& cell, std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r')
                cell += text[i];
            else if (i + 1 == text.size() || text[i + 1] != '\n')
                cell += '\n';
        }
    }

    // Moves past the rest of the line and its end.
    void SkipLine() {
        while (pos_ < text_.size() && !IsLineEnd(text_[pos_]))
            ++pos_;
        if (At('\r'))
            ++pos_;
        if (At('\n'))
            ++pos_;
    }

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
};

bool IsHeader(std::string_view firstCell) {
    std::string lower(firstCell);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower == "pytanie" || lower == "question";
}

// Fills the question from its row's cells; returns why it can't be read, empty when it can.
std::string FillQuestion(const Row& row, SourceQuestion& question) {
    const auto cell = [&](std::size_t column) {
        return column < row.Cells.size() ? std::string(TrimBlanks(row.Cells[column])) : std::string();
    };
    question.Text.Text = cell(kQuestion);
    if (question.Text.Text.empty())
        return Tr("no question text");
    std::size_t count = kAnswerColumns;
    while (count > 0 && cell(kFirstAnswer + count - 1).empty())
        --count;
    if (count == 0)
        return Tr("no answers");
    for (std::size_t i = 0; i < count; ++i) {
        std::string answer = cell(kFirstAnswer + i);
        if (answer.empty())
            return Format(Tr("answer {1} is empty while a later one is not"),
                          std::string(1, static_cast<char>('A' + i)));
        question.Answers.push_back(SourceText{std::move(answer), false});
    }
    question.Hint.Text = cell(kHint);
    question.Picture = cell(kPicture);
    question.Category = CategoryPath(cell(kCategory));
    return MarkRightLetters(cell(kRight), question);
}

bool IsEmpty(const Row& row) {
    return std::all_of(row.Cells.begin(), row.Cells.end(),
                       [](const std::string& cell) { return TrimBlanks(cell).empty(); });
}

} // namespace

SourceBank ReadCsv(std::string_view text) {
    SourceBank bank;
    CsvRows rows(text, GuessSeparator(text));
    bool first = true;
    for (int number = 1; !rows.AtEnd(); ++number) {
        const Row row = rows.Next();
        const std::string where = Format(Tr("row {1}"), number);
        if (!row.Fault.empty()) {
            bank.Skipped.push_back(SkippedQuestion{where, row.Fault});
            first = false;
            continue;
        }
        if (IsEmpty(row))
            continue;
        const bool header = first && IsHeader(TrimBlanks(row.Cells[kQuestion]));
        first = false;
        if (header)
            continue;
        SourceQuestion question;
        question.Where = where;
        if (std::string why = FillQuestion(row, question); why.empty())
            bank.Questions.push_back(std::move(question));
        else
            bank.Skipped.push_back(SkippedQuestion{where, std::move(why)});
    }
    return bank;
}

} // namespace skq
