#pragma once

#include "core/base/Bytes.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Questions as the quiz formats teachers already use hold them, before they become question
// files. Every text is UTF-8.
namespace skq {

// A text as its source holds it: plain, or HTML still to be flattened.
struct SourceText {
    std::string Text;
    bool Html = false;

    friend bool operator==(const SourceText&, const SourceText&) = default;
};

// A file the source carries inside itself (Moodle XML's base64 <file>).
struct EmbeddedFile {
    std::string Name;
    Bytes Data;

    friend bool operator==(const EmbeddedFile&, const EmbeddedFile&) = default;
};

struct SourceQuestion {
    std::string Where;                 // names it in messages: "line 12", "question 3 (Ułamki)"
    std::vector<std::string> Category; // category path, outermost first; empty at the top
    SourceText Text;
    std::vector<SourceText> Answers;
    std::vector<bool> Right;   // one per answer
    bool SeveralRight = false; // each answer is chosen on its own, not one of them
    SourceText Hint;
    std::string Picture;             // a file beside the source or an embedded file's name; empty: none
    std::vector<EmbeddedFile> Files; // what the question embeds

    friend bool operator==(const SourceQuestion&, const SourceQuestion&) = default;
};

// A question the source holds but the import leaves out, with the reason in plain words.
struct SkippedQuestion {
    std::string Where;
    std::string Why;

    friend bool operator==(const SkippedQuestion&, const SkippedQuestion&) = default;
};

// Something in a question the import takes that the teacher should know of, in plain words.
struct SourceNote {
    std::string Where;
    std::string What;

    friend bool operator==(const SourceNote&, const SourceNote&) = default;
};

struct SourceBank {
    std::vector<SourceQuestion> Questions;
    std::vector<SkippedQuestion> Skipped;
    std::vector<SourceNote> Notes;
};

// The text without the spaces, tabs and line breaks around it.
std::string_view TrimBlanks(std::string_view text);

// A category path as GIFT's $CATEGORY and Moodle's category questions write it:
// "$course$/top/Ułamki/Dodawanie" gives {"Ułamki", "Dodawanie"}; "//" stands for a "/"
// inside a name.
std::vector<std::string> CategoryPath(std::string_view path);

// The file a picture reference names: "%" and two hex digits stand for that byte, as in a URL.
std::string PercentDecoded(std::string_view text);

// An answer's full credit in percent, as GIFT weights and Moodle fractions write it.
inline constexpr double kFullCredit = 100;

// Marks the answers right by the credit the source gives each, in percent. In a one-answer question
// (SeveralRight false) whose full credit goes to one answer alone, only that answer is right: the program
// has no partial credit. Otherwise every answer with credit is right. Gives the note naming the answers
// whose partial credit is dropped; empty when none is.
std::string MarkRightByCredit(std::span<const double> credits, SourceQuestion& question);

// Whether the question's text or an answer plays or links to sound or video, or its picture names
// such a file: a question whose text says "listen" can't be answered here.
bool NeedsSoundOrVideo(const SourceQuestion& question);
// Why such a question is skipped, in plain words.
std::string SoundOrVideoReason();

// A note for each answer that shows a picture: the program shows none in an answer, so it is left out.
void NoteAnswerPictures(const SourceQuestion& question, std::vector<SourceNote>& notes);

// The readers take UTF-8 without a byte order mark. None fails as a whole: what can't be
// read is skipped with its reason and the rest still comes through.
SourceBank ReadAiken(std::string_view text);
SourceBank ReadGift(std::string_view text);
SourceBank ReadMoodleXml(std::string_view xml);
SourceBank ReadCsv(std::string_view text);

// The writers take plain-text questions (Html false) and give UTF-8 documents.
std::string WriteGift(std::span<const SourceQuestion> questions);
std::string WriteMoodleXml(std::span<const SourceQuestion> questions);

} // namespace skq
