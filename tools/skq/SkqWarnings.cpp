#include "tools/skq/SkqWarnings.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/presentation/TestScreenRules.h"
#include "core/selection/SetTree.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/QuestionDocument.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqUtf8Sources.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace skq {

namespace {

std::string Quoted(std::string_view text) { return "\"" + AnsiToUtf8(text) + "\""; }

// The children of `top` whose names are not among `known`, nor `prefix` followed by digits.
std::vector<std::string> UnknownElements(XmlDocument& document, std::u16string_view top,
                                         const std::vector<std::u16string_view>& known,
                                         std::u16string_view prefix = {}) {
    std::set<std::u16string> names;
    for (std::u16string_view name : known)
        names.insert(UpperCase(name));
    const std::u16string upperPrefix = UpperCase(prefix);
    const XmlNode& node = document.FindOrAddNode(top);
    std::vector<std::string> unknown;
    for (int i = 0; i < node.ChildCount(); ++i) {
        const XmlNode& child = *node.Child(i);
        if (child.Kind != XmlNodeKind::Element)
            continue;
        const std::u16string name = UpperCase(child.Name);
        const bool numbered = !upperPrefix.empty() && name.size() > upperPrefix.size() &&
                              name.starts_with(upperPrefix) &&
                              std::all_of(name.begin() + upperPrefix.size(), name.end(),
                                          [](char16_t c) { return c >= u'0' && c <= u'9'; });
        if (!names.contains(name) && !numbered)
            unknown.push_back(Format(Tr("unknown element <{1}> in {2} (a misspelt name? the program ignores it)"),
                                     WideToUtf8(child.Name), WideToUtf8(top)));
    }
    return unknown;
}

// The answers' element names, od1 to od5.
const std::array<std::u16string, 5>& AnswerElements() {
    namespace E = QuestionElement;
    static const std::array<std::u16string, 5> answers = {E::Answer(1), E::Answer(2), E::Answer(3), E::Answer(4),
                                                          E::Answer(5)};
    return answers;
}

std::vector<std::u16string_view> KnownQuestionElements() {
    namespace E = QuestionElement;
    const std::array<std::u16string, 5>& answers = AnswerElements();
    std::vector<std::u16string_view> known = {E::Encoding, E::Type,        E::AnswerCount, E::Text, E::Key,
                                              E::TextName, E::PictureName, E::Hint,        E::Date};
    known.insert(known.end(), answers.begin(), answers.end());
    return known;
}

void KeyWarnings(const QuestionDocument& question, std::vector<std::string>& warnings) {
    const std::string& key = question.Key;
    const auto count = static_cast<std::size_t>(question.AnswerCount);
    if (key.find_first_not_of("01") != std::string::npos)
        warnings.push_back(
            Format(Tr("the key (odp) {1} holds marks other than 0 and 1; they count as 0"), Quoted(key)));
    if (key.size() != count)
        warnings.push_back(Format(TrPlural("the key (odp) has {1} mark for {2} answers",
                                           "the key (odp) has {1} marks for {2} answers", key.size()),
                                  key.size(), count));
    for (std::size_t k = count; k < key.size(); ++k)
        if (key[k] == '1')
            warnings.push_back(Format(Tr("the key marks answer {1} right, but the question has only {2} answers: it "
                                         "can never be answered right"),
                                      k + 1, count));
    const auto right =
        std::count(key.begin(), key.begin() + static_cast<std::ptrdiff_t>(std::min(count, key.size())), '1');
    if (right == 0)
        warnings.push_back(Tr("no answer is marked right in the key (odp): it can never be answered right"));
    else if (question.QuestionType == 0 && right > 1)
        warnings.push_back(Format(Tr("the question takes one answer at a time (typ 0), but the key marks {1} answers "
                                     "right: it can never be answered right"),
                                  right));
}

void AttachmentWarnings(const QuestionDocument& question, const PackArchive& pak, std::vector<std::string>& warnings) {
    if (!question.PictureName.empty()) {
        if (!pak.Exists(question.PictureName))
            warnings.push_back(Format(Tr("the picture {1} is not in the file"), Quoted(question.PictureName)));
        else if (!IsShownPictureName(question.PictureName))
            warnings.push_back(
                Format(Tr("the picture {1} is of a kind the program doesn't show (it shows .jpg, .gif and .bmp)"),
                       Quoted(question.PictureName)));
    }
    if (!question.TextName.empty() && !pak.Exists(question.TextName))
        warnings.push_back(Format(Tr("the attached text {1} is not in the file"), Quoted(question.TextName)));
}

struct ShownText {
    std::string Name;
    std::u16string_view Element;
    const std::string* Text;
    LabelSize Label;
};

// The texts a learner reads, as the messages name them.
std::vector<ShownText> ShownTexts(const QuestionDocument& question) {
    namespace E = QuestionElement;
    // TRANSLATORS: these name the {1} of the messages about a text below.
    std::vector<ShownText> texts = {{Tr("the question text (tr)"), E::Text, &question.QuestionText, kQuestionLabel},
                                    {Tr("the hint (kom)"), E::Hint, &question.Hint, kHintLabel}};
    for (int k = 1; k <= std::min(question.AnswerCount, 5); ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        texts.push_back(
            {Format(Tr("answer {1} (od{1})"), k), AnswerElements()[index], &question.Answers[index], kAnswerLabel});
    }
    return texts;
}

void TextWarnings(const QuestionDocument& question, std::vector<std::string>& warnings) {
    if (question.QuestionText.empty())
        warnings.push_back(Tr("the question text (tr) is empty"));
    for (int k = 1; k <= std::min(question.AnswerCount, 5); ++k)
        if (question.Answers[static_cast<std::size_t>(k - 1)].empty())
            // TRANSLATORS: {1} is "answer 2 (od2)".
            warnings.push_back(Format(Tr("{1} is empty"), Format(Tr("answer {1} (od{1})"), k)));
    for (const ShownText& shown : ShownTexts(question)) {
        if (LooksLikeUtf8(*shown.Text))
            warnings.push_back(
                // TRANSLATORS: {1} is the question text, the hint or an answer, as named above.
                Format(Tr("{1} looks like UTF-8 stored as Windows-1250: its Polish letters show garbled"), shown.Name));
        if (CutOffOnScreen(*shown.Text, shown.Label))
            // TRANSLATORS: {1} is the question text, the hint or an answer, as named above.
            warnings.push_back(Format(Tr("{1} is longer than the screen shows: its end is cut off"), shown.Name));
    }
}

// A document stored in UTF-16 may hold characters the program, which shows Windows-1250, turns into "?".
void CharacterWarnings(const QuestionDocument& question, XmlDocument& document, std::vector<std::string>& warnings) {
    XmlNode& top = document.FindOrAddNode(QuestionElement::Top);
    const bool encoded = WideToAnsi(FindOrAddChild(top, QuestionElement::Encoding).Text) == kEncodedMark;
    for (const ShownText& shown : ShownTexts(question)) {
        const std::u16string& stored = FindOrAddChild(top, shown.Element).Text;
        std::u16string text;
        try {
            text = encoded ? DecodeBase64Utf16(stored) : stored;
        } catch (const StorageError&) {
            continue; // read as empty, which the other warnings tell
        }
        if (const std::string character = FirstCharOutsideAnsi(text); !character.empty())
            // TRANSLATORS: {1} is the question text, the hint or an answer, as named above; {2} "U+2192 (→)".
            warnings.push_back(Format(Tr("{1} holds {2}, which Windows-1250 lacks: the program shows it as ?"),
                                      shown.Name, character));
    }
}

std::vector<std::string> DocumentWarnings(const QuestionDocument& question, const PackArchive& pak) {
    std::vector<std::string> warnings;
    if (question.AnswerCount < 3 || question.AnswerCount > 5)
        return warnings; // the program refuses it
    KeyWarnings(question, warnings);
    AttachmentWarnings(question, pak, warnings);
    TextWarnings(question, warnings);
    return warnings;
}

} // namespace

bool LooksLikeUtf8(std::string_view text) {
    const bool beyondAscii = std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    return beyondAscii && FindInvalidUtf8(text) == std::string_view::npos;
}

std::vector<std::string> QuestionWarnings(const PackArchive& pak) {
    if (pak.Exists(kQuestionDocument35))
        return DocumentWarnings(
            ReadQuestionLines(SplitLines(*pak.Extract(kQuestionDocument35, EntryCap::kQuestionDocument))), pak);
    const std::optional<Bytes> data = pak.Extract(kQuestionDocument40, EntryCap::kQuestionDocument);
    if (!data)
        return {};
    XmlDocument document;
    document.LoadFromStream(*data);
    const QuestionDocument question = ReadQuestionXml(document);
    std::vector<std::string> warnings = DocumentWarnings(question, pak);
    if (question.AnswerCount >= 3 && question.AnswerCount <= 5)
        CharacterWarnings(question, document, warnings);
    const std::vector<std::string> unknown = UnknownElements(document, QuestionElement::Top, KnownQuestionElements());
    warnings.insert(warnings.end(), unknown.begin(), unknown.end());
    return warnings;
}

std::vector<std::string> SetListWarnings(const PackArchive& pak, const std::vector<std::string>& lines) {
    std::vector<std::string> warnings;
    if (const std::optional<Bytes> data = pak.Extract(kSetListDocument40, EntryCap::kSetListDocument)) {
        XmlDocument document;
        document.LoadFromStream(*data);
        namespace E = SetListElement;
        warnings =
            UnknownElements(document, E::Top, {E::Encoding, E::EntryCount, E::Name, E::Date, E::Note}, E::EntryPrefix);
    }
    // A category leads nowhere unless a set hangs somewhere below it.
    std::vector<SetListEntry> entries;
    for (const std::string& line : lines) {
        SetListEntry entry;
        if (!ParseEntryLine(line, entry))
            break; // the tree stops there; the caller reports it
        entries.push_back(std::move(entry));
    }
    std::map<std::int32_t, std::int32_t> parentOf;
    for (const SetListEntry& entry : entries)
        parentOf.try_emplace(entry.Id, entry.ParentId);
    std::set<std::int32_t> holdingSets;
    for (const SetListEntry& entry : entries) {
        if (entry.Folder.empty())
            continue;
        std::int32_t id = entry.ParentId;
        // Bounded, so a parent loop in a damaged list ends.
        for (std::size_t step = 0; step < entries.size() && holdingSets.insert(id).second; ++step) {
            const auto parent = parentOf.find(id);
            if (parent == parentOf.end())
                break;
            id = parent->second;
        }
    }
    for (const SetListEntry& entry : entries)
        if (entry.Folder.empty() && !holdingSets.contains(entry.Id))
            warnings.push_back(Format(Tr("the category {1} holds no sets"), Quoted(entry.Name)));
    return warnings;
}

} // namespace skq
