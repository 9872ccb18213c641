#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace skq {

namespace {

constexpr std::string_view kPluginFile = "@@PLUGINFILE@@/";

// The question kinds the program has no form for, and how a teacher knows them.
constexpr std::array<std::pair<std::string_view, const char*>, 13> kOtherKinds = {{
    {"truefalse", TrLater("true/false question")},
    {"shortanswer", TrLater("short answer question")},
    {"matching", TrLater("matching question")},
    {"numerical", TrLater("numerical question")},
    {"essay", TrLater("essay question")},
    {"multianswer", TrLater("cloze (embedded answers) question")},
    {"ddwtos", TrLater("drag and drop into text question")},
    {"gapselect", TrLater("select missing words question")},
    {"calculated", TrLater("calculated question")},
    {"calculatedsimple", TrLater("calculated question")},
    {"calculatedmulti", TrLater("calculated question")},
    {"randomsamatch", TrLater("random short-answer matching question")},
    {"description", TrLater("description, not a question")},
}};

// pugixml's output gathered in a string.
class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, std::size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

// An element's text: its character data and CDATA sections joined, and markup written inside
// without escaping (hand-made files do that with HTML) kept as markup.
std::string TextOf(pugi::xml_node element) {
    std::string text;
    for (const pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        } else if (child.type() == pugi::node_element) {
            StringWriter markup(text);
            child.print(markup, "", pugi::format_raw, pugi::encoding_utf8);
        }
    }
    return text;
}

// Moodle's text formats: HTML and auto-format hold HTML; plain text and Markdown don't.
bool IsHtmlFormat(std::string_view format) { return format != "plain_text" && format != "markdown"; }

// The <text> of an element whose format attribute tells how to read it.
SourceText FormattedText(pugi::xml_node element) {
    return {TextOf(element.child("text")), IsHtmlFormat(element.attribute("format").value())};
}

// An answer's credit in percent; none when the fraction is missing or unreadable.
double Credit(std::string_view fraction) {
    const std::string trimmed(TrimBlanks(fraction));
    double value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return error == std::errc() ? value : 0;
}

// Moodle reads an absent <single> as single and "false", "0" or nothing as several.
bool HasSeveralRight(pugi::xml_node question) {
    const pugi::xml_node single = question.child("single");
    if (!single)
        return false;
    const std::string value(TrimBlanks(TextOf(single)));
    return value.empty() || value == "false" || value == "0";
}

// Every <file> inside an element, however deep, in document order.
std::vector<pugi::xml_node> FileElements(pugi::xml_node element) {
    struct Collector : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> Files;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_element && std::strcmp(node.name(), "file") == 0)
                Files.push_back(node);
            return true;
        }
    } collector;
    element.traverse(collector);
    return collector.Files;
}

// The name the HTML refers to a file by, after "@@PLUGINFILE@@/": its folder and file name.
std::string FileName(pugi::xml_node file) {
    std::string_view folder = file.attribute("path").value();
    while (folder.starts_with('/'))
        folder.remove_prefix(1);
    if (!folder.empty() && !folder.ends_with('/'))
        return std::string(folder) + '/' + file.attribute("name").value();
    return std::string(folder) + file.attribute("name").value();
}

bool IsCharacterData(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The file's base64, maybe broken into lines and pieces of character data, decoded straight
// from the parsed text: a large file is never copied before decoding. False when it isn't
// base64; markup inside is no base64 either.
bool DecodeFileData(pugi::xml_node file, Bytes& data) {
    Base64Decoder decoder;
    std::size_t characters = 0;
    for (const pugi::xml_node child : file.children()) {
        if (child.type() == pugi::node_element)
            return false;
        if (IsCharacterData(child))
            characters += std::strlen(child.value());
    }
    decoder.Reserve(characters);
    try {
        for (const pugi::xml_node child : file.children())
            if (IsCharacterData(child))
                decoder.Add(child.value());
    } catch (const StorageError&) {
        return false;
    }
    if (!decoder.Whole())
        return false;
    data = std::move(decoder.Data());
    return true;
}

// Files of the text, the answers and the feedback alike; a name met again is the same file.
std::string ReadFiles(pugi::xml_node question, std::vector<EmbeddedFile>& files) {
    std::unordered_set<std::string> names;
    for (const pugi::xml_node file : FileElements(question)) {
        if (*file.attribute("name").value() == '\0')
            continue;
        EmbeddedFile embedded{FileName(file), {}};
        if (!DecodeFileData(file, embedded.Data))
            return Format(Tr("embedded file {1} is not base64"), embedded.Name);
        if (names.insert(embedded.Name).second)
            files.push_back(std::move(embedded));
    }
    return {};
}

// Whether the text shows a picture of its own.
bool ShowsPicture(const SourceText& text) { return text.Html && !FlattenHtml(text.Text).Images.empty(); }

// The one file of the question text is its picture when the text doesn't show it with <img>.
std::string LonePicture(pugi::xml_node element, const SourceText& text) {
    const auto files = element.children("file");
    if (std::distance(files.begin(), files.end()) != 1)
        return {};
    if (ShowsPicture(text))
        return {};
    return FileName(*files.begin());
}

// Moodle 1.9 names a question's picture in <image>, with its data in <image_base64> beside it; without the data
// the picture is a file beside the source. A picture the text shows comes first.
std::string ReadOldPicture(pugi::xml_node question, SourceQuestion& read) {
    const std::string name(TrimBlanks(TextOf(question.child("image"))));
    if (name.empty())
        return {};
    if (const pugi::xml_node base64 = question.child("image_base64")) {
        EmbeddedFile embedded{name, {}};
        if (!DecodeFileData(base64, embedded.Data))
            return Format(Tr("embedded file {1} is not base64"), name);
        const bool known = std::any_of(read.Files.begin(), read.Files.end(),
                                       [&](const EmbeddedFile& file) { return file.Name == name; });
        if (!embedded.Data.empty() && !known)
            read.Files.push_back(std::move(embedded));
    }
    if (read.Picture.empty() && !ShowsPicture(read.Text))
        read.Picture = name;
    return {};
}

// Sound or video the question text or an answer carries as a file, or as Moodle 1.9's picture.
bool CarriesSoundOrVideo(pugi::xml_node question) {
    if (IsSoundOrVideoName(TrimBlanks(TextOf(question.child("image")))))
        return true;
    const auto carries = [](pugi::xml_node holder) {
        const auto files = holder.children("file");
        return std::any_of(files.begin(), files.end(),
                           [](pugi::xml_node file) { return IsSoundOrVideoName(FileName(file)); });
    };
    const auto answers = question.children("answer");
    return carries(question.child("questiontext")) || std::any_of(answers.begin(), answers.end(), carries);
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// The entity references of a question's texts that stay in them as written: pugixml expands
// character references and XML's own five entities, never a document type's. An HTML text
// still has the flattener's entities expanded later; any other reference is noted, the first
// few by name.
class UnexpandedEntities {
public:
    explicit UnexpandedEntities(std::string_view xml) : xml_(xml) {}

    // Looks at every piece of character data inside the <text> as the file writes it.
    void Look(pugi::xml_node text, bool html) {
        struct Walker : pugi::xml_tree_walker {
            Walker(UnexpandedEntities& seen, bool inHtml) : Seen(seen), Html(inHtml) {}
            bool for_each(pugi::xml_node& node) override {
                if (node.type() == pugi::node_pcdata)
                    Seen.LookInSource(node.offset_debug(), Html);
                return true;
            }
            UnexpandedEntities& Seen;
            bool Html;
        } walker(*this, html);
        text.traverse(walker);
    }

    // The note for the question; empty when there is nothing to tell.
    std::string Note() const {
        if (names_.empty())
            return {};
        std::string list;
        for (const std::string& name : names_)
            list += (list.empty() ? "&" : ", &") + name + ";";
        if (more_)
            list = Format(Tr("{1} and others"), list);
        return Format(TrPlural("entity {1} is not expanded; kept as written",
                               "entities {1} are not expanded; kept as written", names_.size()),
                      list);
    }

private:
    static constexpr std::size_t kNamed = 5;
    static constexpr std::size_t kLongestName = 32;

    // pugixml tells where a piece of character data starts in the source, which holds its
    // references as written; it ends at the next "<". An unknown offset shows nothing.
    void LookInSource(std::ptrdiff_t offset, bool html) {
        if (offset < 0 || static_cast<std::size_t>(offset) >= xml_.size())
            return;
        std::string_view source = xml_.substr(static_cast<std::size_t>(offset));
        source = source.substr(0, source.find('<'));
        for (std::size_t at = source.find('&'); at != std::string_view::npos; at = source.find('&', at + 1)) {
            std::size_t end = at + 1;
            while (end < source.size() && end - at <= kLongestName && IsNameChar(source[end]))
                ++end;
            if (end == at + 1 || end == source.size() || source[end] != ';' || !IsNameStart(source[at + 1]))
                continue;
            Add(source.substr(at + 1, end - at - 1), html);
        }
    }

    void Add(std::string_view name, bool html) {
        constexpr std::array<std::string_view, 5> kExpanded = {"amp", "lt", "gt", "quot", "apos"};
        if (std::find(kExpanded.begin(), kExpanded.end(), name) != kExpanded.end() ||
            std::find(names_.begin(), names_.end(), name) != names_.end() || more_)
            return;
        if (html && KnownToTheFlattener(name))
            return;
        if (names_.size() < kNamed)
            names_.emplace_back(name);
        else
            more_ = true;
    }

    // Remembered, so that a text full of one entity asks the flattener once.
    bool KnownToTheFlattener(std::string_view name) {
        if (known_.contains(name))
            return true;
        const std::string reference = "&" + std::string(name) + ";";
        if (FlattenHtml(reference).Text == reference)
            return false;
        known_.emplace(name);
        return true;
    }

    std::string_view xml_;
    std::vector<std::string> names_;
    bool more_ = false;
    std::set<std::string, std::less<>> known_;
};

// Fills in a multiple-choice question; gives why it can't be read, or nothing. `creditNote` tells of
// partial credit the question loses.
std::string ReadMultichoice(pugi::xml_node question, SourceQuestion& read, UnexpandedEntities& entities,
                            std::string& creditNote) {
    const pugi::xml_node text = question.child("questiontext");
    if (!text.child("text"))
        return Tr("no question text");
    read.Text = FormattedText(text);
    entities.Look(text.child("text"), read.Text.Html);
    std::vector<double> credits;
    for (const pugi::xml_node answer : question.children("answer")) {
        read.Answers.push_back(FormattedText(answer));
        entities.Look(answer.child("text"), read.Answers.back().Html);
        credits.push_back(Credit(answer.attribute("fraction").value()));
    }
    if (read.Answers.empty())
        return Tr("no answers");
    read.SeveralRight = HasSeveralRight(question);
    creditNote = MarkRightByCredit(credits, read);
    if (const pugi::xml_node hint = question.child("hint")) {
        read.Hint = FormattedText(hint);
        entities.Look(hint.child("text"), read.Hint.Html);
    }
    if (CarriesSoundOrVideo(question) || NeedsSoundOrVideo(read))
        return SoundOrVideoReason();
    if (std::string problem = ReadFiles(question, read.Files); !problem.empty())
        return problem;
    read.Picture = LonePicture(text, read.Text);
    return ReadOldPicture(question, read);
}

std::string KindProblem(std::string_view type) {
    if (type.empty())
        return Tr("question without a type");
    for (const auto& [name, why] : kOtherKinds)
        if (name == type)
            return Tr(why);
    return Format(Tr("question of the kind {1}"), type);
}

std::string QuestionWhere(pugi::xml_node question, int number) {
    const std::string name(TrimBlanks(TextOf(question.child("name").child("text"))));
    std::string where = Format(Tr("question {1}"), number);
    return name.empty() ? where : where + " (" + name + ")";
}

std::vector<std::string> CategoryOf(pugi::xml_node question) {
    const pugi::xml_node category = question.child("category");
    // Older files write the path straight into <category>.
    return CategoryPath(TextOf(category.child("text") ? category.child("text") : category));
}

SkippedQuestion ParseProblem(std::string_view xml, const pugi::xml_parse_result& result) {
    const std::size_t offset =
        std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)), xml.size());
    const auto line = std::count(xml.begin(), xml.begin() + static_cast<std::ptrdiff_t>(offset), '\n') + 1;
    return {Format(Tr("line {1}"), line),
            Format(Tr("not readable XML: {1} at byte {2}"), result.description(), offset)};
}

// A name for the question bank's list: the text's first words.
std::string ShortTitle(std::string_view text, std::size_t number) {
    constexpr std::size_t kLongest = 60;
    std::string title;
    for (const char c : text.substr(0, text.find('\n'))) {
        const bool space = c == ' ' || c == '\t' || c == '\r';
        if (!space || (!title.empty() && title.back() != ' '))
            title += space ? ' ' : c;
    }
    title = std::string(TrimBlanks(title));
    if (title.size() > kLongest) {
        std::size_t cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80)
            --cut;
        title = title.substr(0, cut) + "…";
    }
    return title.empty() ? "Pytanie " + std::to_string(number) : title;
}

// The path as category questions write it; "/" inside a name is doubled.
std::string CategoryText(const std::vector<std::string>& path) {
    std::string text = "$course$/top";
    for (const std::string& name : path) {
        text += '/';
        for (const char c : name)
            text += c == '/' ? "//" : std::string(1, c);
    }
    return text;
}

// A file name as a URL path: only unreserved characters and "/" stay as they are.
std::string PercentEncoded(std::string_view name) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (unreserved || (c != '\0' && std::strchr("-._~/", c) != nullptr)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

// Only characters XML 1.0 allows: a vertical tab or form feed (Word's manual line and page
// breaks) becomes a line break; other control characters, U+FFFE, U+FFFF and bytes that are
// no UTF-8 (encoded surrogates among them) are dropped.
std::string XmlChars(std::string_view utf8) {
    std::string chars;
    chars.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t bad = FindInvalidUtf8(utf8);
        const std::string_view good = utf8.substr(0, bad);
        for (std::size_t i = 0; i < good.size(); ++i) {
            const char c = good[i];
            if (c == '\v' || c == '\f')
                chars += '\n';
            else if (c == '\xEF' && (good.substr(i + 1, 2) == "\xBF\xBE" || good.substr(i + 1, 2) == "\xBF\xBF"))
                i += 2;
            else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                chars += c;
        }
        utf8.remove_prefix(bad == std::string_view::npos ? utf8.size() : bad + 1);
    }
    return chars;
}

// The plain text as HTML; its vertical tabs and form feeds break the line.
std::string HtmlOf(std::string_view text) { return HtmlFromPlainText(XmlChars(text)); }

// A grade in percent with at most five decimals, as Moodle lists them: "100", "33.33333".
std::string FractionText(double percent) {
    std::array<char, 32> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), percent, std::chars_format::fixed, 5);
    std::string text(buffer.data(), end);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

// <name format="html"><text><![CDATA[html]]></text></name>
pugi::xml_node AppendHtml(pugi::xml_node parent, const char* name, const std::string& html) {
    pugi::xml_node element = parent.append_child(name);
    element.append_attribute("format") = "html";
    element.append_child("text").append_child(pugi::node_cdata).set_value(XmlChars(html).c_str());
    return element;
}

void AppendPlain(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).text().set(XmlChars(text).c_str());
}

void SetAttribute(pugi::xml_node element, const char* name, const std::string& value) {
    element.append_attribute(name) = XmlChars(value).c_str();
}

void AppendCategory(pugi::xml_node quiz, const std::vector<std::string>& path) {
    pugi::xml_node question = quiz.append_child("question");
    question.append_attribute("type") = "category";
    AppendPlain(question.append_child("category"), "text", CategoryText(path));
}

// The picture as its own paragraph below the text, and its data beside it. The picture's name
// is the one its <file> gets: only what XML allows.
std::string QuestionHtml(const SourceQuestion& question) {
    const std::string text = HtmlOf(question.Text.Text);
    if (question.Picture.empty())
        return text;
    return "<p>" + text + R"(</p><p><img src=")" + std::string(kPluginFile) +
           PercentEncoded(XmlChars(question.Picture)) + R"(" alt=""></p>)";
}

void AppendPictureFile(pugi::xml_node questionText, const SourceQuestion& question) {
    const auto file = std::find_if(question.Files.begin(), question.Files.end(),
                                   [&](const EmbeddedFile& embedded) { return embedded.Name == question.Picture; });
    if (file == question.Files.end())
        return;
    const std::string name = XmlChars(file->Name);
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    pugi::xml_node element = questionText.append_child("file");
    SetAttribute(element, "name", name.substr(folder.size()));
    SetAttribute(element, "path", "/" + folder);
    element.append_attribute("encoding") = "base64";
    element.text().set(EncodeBase64(file->Data).c_str());
}

// Single: the right answer gets all. Several: the right ones share all, a wrong one takes all away.
std::string AnswerFraction(const SourceQuestion& question, std::size_t answer) {
    const auto rightCount = std::count(question.Right.begin(), question.Right.end(), true);
    if (answer < question.Right.size() && question.Right[answer])
        return question.SeveralRight ? FractionText(100.0 / static_cast<double>(rightCount)) : "100";
    return question.SeveralRight && rightCount > 0 ? "-100" : "0";
}

void AppendQuestion(pugi::xml_node quiz, const SourceQuestion& question, std::size_t number) {
    pugi::xml_node element = quiz.append_child("question");
    element.append_attribute("type") = "multichoice";
    AppendPlain(element.append_child("name"), "text", ShortTitle(XmlChars(question.Text.Text), number));
    AppendPictureFile(AppendHtml(element, "questiontext", QuestionHtml(question)), question);
    AppendPlain(element, "single", question.SeveralRight ? "false" : "true");
    // The program orders the answers by its own rules.
    AppendPlain(element, "shuffleanswers", "0");
    AppendPlain(element, "answernumbering", "abc");
    for (std::size_t i = 0; i < question.Answers.size(); ++i) {
        pugi::xml_node answer = AppendHtml(element, "answer", HtmlOf(question.Answers[i].Text));
        answer.prepend_attribute("fraction") = AnswerFraction(question, i).c_str();
    }
    if (!question.Hint.Text.empty())
        AppendHtml(element, "hint", HtmlOf(question.Hint.Text));
}

} // namespace

SourceBank ReadMoodleXml(std::string_view xml) {
    SourceBank bank;
    pugi::xml_document document;
    // Entities of a DTD are left unexpanded, so no document grows beyond its size.
    const pugi::xml_parse_result result =
        document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        bank.Skipped.push_back(ParseProblem(xml, result));
        return bank;
    }
    const pugi::xml_node quiz = document.child("quiz");
    if (!quiz) {
        bank.Skipped.push_back({Format(Tr("line {1}"), 1), Tr("no <quiz> element")});
        return bank;
    }
    std::vector<std::string> category;
    int number = 0;
    for (const pugi::xml_node question : quiz.children("question")) {
        const std::string_view type = question.attribute("type").value();
        if (type == "category") {
            category = CategoryOf(question);
            continue;
        }
        SourceQuestion read;
        read.Where = QuestionWhere(question, ++number);
        read.Category = category;
        UnexpandedEntities entities(xml);
        std::string creditNote;
        std::string problem =
            type == "multichoice" ? ReadMultichoice(question, read, entities, creditNote) : KindProblem(type);
        if (!problem.empty()) {
            bank.Skipped.push_back({std::move(read.Where), std::move(problem)});
            continue;
        }
        if (std::string note = entities.Note(); !note.empty())
            bank.Notes.push_back({read.Where, std::move(note)});
        if (!creditNote.empty())
            bank.Notes.push_back({read.Where, std::move(creditNote)});
        NoteAnswerPictures(read, bank.Notes);
        bank.Questions.push_back(std::move(read));
    }
    return bank;
}

std::string WriteMoodleXml(std::span<const SourceQuestion> questions) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node quiz = document.append_child("quiz");
    std::vector<std::string> category;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        if (questions[i].Category != category) {
            category = questions[i].Category;
            AppendCategory(quiz, category);
        }
        AppendQuestion(quiz, questions[i], i + 1);
    }
    std::string xml;
    StringWriter writer(xml);
    document.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return xml;
}

} // namespace skq
