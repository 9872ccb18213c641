#include "tools/skq/formats/HtmlText.h"

#include "core/base/CodePage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace skq {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

#include "tools/skq/formats/HtmlEntities.inc"

static_assert(std::is_sorted(kHtmlEntities.begin(), kHtmlEntities.end(),
                             [](const HtmlEntity& a, const HtmlEntity& b) { return a.Name < b.Name; }),
              "the entities are looked up by binary search");

constexpr std::size_t kLongestEntityName =
    std::max_element(kHtmlEntities.begin(), kHtmlEntities.end(), [](const HtmlEntity& a, const HtmlEntity& b) {
        return a.Name.size() < b.Name.size();
    })->Name.size();
// Numeric references longer than "&#x10FFFF;" with a leading zero stay as written, as they always have.
constexpr std::size_t kLongestNumber = 9;
// The search for an entity's ";" stops past the longest name, whatever the text holds after: linear time.
constexpr std::size_t kEntitySearch = kLongestEntityName + 2;

// Files a question can't show or play: sound and video.
constexpr std::array<std::string_view, 10> kSoundAndVideo = {"mp3", "ogg",  "oga", "wav", "m4a",
                                                             "mp4", "webm", "ogv", "mov", "avi"};

constexpr std::size_t kLongestExtension = 4; // "webm"

// Tags that play sound or video whatever they name.
constexpr std::array<std::string_view, 2> kPlayingTags = {"audio", "video"};

// The attribute naming the file each tag shows, plays or links to.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kReferringTags = {{
    {"img", "src"},
    {"a", "href"},
    {"audio", "src"},
    {"video", "src"},
    {"source", "src"},
    {"embed", "src"},
    {"object", "data"},
}};

// Tags that start and end a block: a line break on either side.
constexpr std::array<std::string_view, 20> kBlockTags = {
    "p",  "div", "li", "ul", "ol", "tr", "table", "h1",   "h2",         "h3",
    "h4", "h5",  "h6", "dd", "dt", "dl", "pre",   "form", "blockquote", "hr",
};

// Tags whose content is no text.
constexpr std::array<std::string_view, 4> kHiddenTags = {"script", "style", "head", "title"};

template <std::size_t N> bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Utf8Of(char32_t code) {
    if (code < 0x80)
        return std::string(1, static_cast<char>(code));
    std::u16string wide;
    if (code >= 0x10000) {
        wide += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        wide += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        wide += static_cast<char16_t>(code);
    }
    return WideToUtf8(wide);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return LowerAscii(c); });
    return lower;
}

// What an entity at the start of the text ("&...;") stands for; Length 0 when it is no entity, and the
// ampersand stays as written.
struct Entity {
    char32_t First = 0;
    char32_t Second = 0; // 0: none
    std::size_t Length = 0;
};

// A no-break space is a plain one, as "&nbsp;" has always given.
char32_t Shown(char32_t code) { return code == 0xA0 ? ' ' : code; }

// Legacy names without the ";" (HTML takes "&copy" in text) stay as written: "R&D" or a URL's "&para=1" is no
// entity in a quiz text.
Entity ReadEntity(std::string_view text) {
    const std::size_t end = text.substr(0, kEntitySearch).find(';');
    if (end == kNone || end < 2)
        return {};
    const std::string_view body = text.substr(1, end - 1);
    if (body[0] == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const std::string_view digits = body.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        const bool valid = body.size() <= kLongestNumber && error == std::errc() &&
                           rest == digits.data() + digits.size() && !digits.empty() && code > 0 && code <= 0x10FFFF &&
                           (code < 0xD800 || code > 0xDFFF);
        return valid ? Entity{Shown(code), 0, end + 1} : Entity{};
    }
    const auto found =
        std::lower_bound(kHtmlEntities.begin(), kHtmlEntities.end(), body,
                         [](const HtmlEntity& entity, std::string_view name) { return entity.Name < name; });
    if (found == kHtmlEntities.end() || found->Name != body)
        return {};
    return {Shown(found->First), found->Second, end + 1};
}

bool HasSoundOrVideoExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == kNone)
        return false;
    // Letters and digits alone: a name that lost a control character or a space on its way still plays.
    std::string extension;
    for (const char c : name.substr(dot + 1)) {
        if ((c >= '0' && c <= '9') || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z'))
            extension += LowerAscii(c);
        if (extension.size() > kLongestExtension)
            return false;
    }
    return IsOneOf(extension, kSoundAndVideo);
}

struct Tag {
    std::string Name; // lower case, without "/"
    bool Closing = false;
    std::string Reference; // the file an opening tag of kReferringTags names, as written
    std::size_t Length = 0;
};

// The value of an attribute in a tag's text, quoted or not; empty when absent.
std::string AttributeValue(std::string_view tag, std::string_view attribute) {
    const std::string lower = LowerAscii(tag);
    for (std::size_t at = lower.find(attribute); at != kNone; at = lower.find(attribute, at + 1)) {
        if (at == 0 || !IsSpace(lower[at - 1]))
            continue;
        std::size_t value = lower.find_first_not_of(" \t\r\n", at + attribute.size());
        if (value == kNone || lower[value] != '=')
            continue;
        value = lower.find_first_not_of(" \t\r\n", value + 1);
        if (value == kNone)
            return {};
        if (tag[value] == '"' || tag[value] == '\'') {
            const std::size_t end = tag.find(tag[value], value + 1);
            return std::string(tag.substr(value + 1, end == kNone ? kNone : end - value - 1));
        }
        const std::size_t end = tag.find_first_of(" \t\r\n>", value);
        return std::string(tag.substr(value, end == kNone ? kNone : end - value));
    }
    return {};
}

// A tag at the start of the text ("<...>"), or Length 0 when the "<" is text. lastClose is where the text's
// last ">" is: with none after the name there is no tag, known without a search to the end for every "<".
Tag ReadTag(std::string_view text, std::size_t lastClose) {
    Tag tag;
    std::size_t at = 1;
    tag.Closing = at < text.size() && text[at] == '/';
    at += tag.Closing;
    const std::size_t nameEnd =
        text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", at);
    if (nameEnd == kNone || nameEnd == at || lastClose == kNone || lastClose < nameEnd)
        return {};
    const std::size_t end = text.find('>', nameEnd);
    tag.Name = LowerAscii(text.substr(at, nameEnd - at));
    tag.Length = end + 1;
    for (const auto& [name, attribute] : kReferringTags)
        if (!tag.Closing && tag.Name == name)
            tag.Reference = AttributeValue(text.substr(0, end), attribute);
    return tag;
}

// Builds the plain text: spaces collapse, lines lose their edge spaces, blocks break lines.
class PlainTextBuilder {
public:
    void AddText(std::string_view text) {
        for (const char c : text) {
            if (IsSpace(c)) {
                pendingSpace_ = true;
            } else {
                FlushSpace();
                text_ += c;
            }
        }
    }

    // A character written as an entity: kept even when it is a space.
    void AddChar(char32_t code) {
        FlushSpace();
        text_ += Utf8Of(code);
    }

    void AddEntity(const Entity& entity) {
        AddChar(entity.First);
        if (entity.Second != 0)
            text_ += Utf8Of(entity.Second);
    }

    void LineBreak() {
        pendingSpace_ = false;
        text_ += '\n';
    }

    // A break unless the text is at a line's start already.
    void BlockBreak() {
        pendingSpace_ = false;
        if (!text_.empty() && text_.back() != '\n')
            text_ += '\n';
    }

    std::string Finish() {
        while (!text_.empty() && text_.back() == '\n')
            text_.pop_back();
        const std::size_t start = text_.find_first_not_of('\n');
        return start == kNone ? std::string() : text_.substr(start);
    }

private:
    void FlushSpace() {
        if (pendingSpace_ && !text_.empty() && text_.back() != '\n')
            text_ += ' ';
        pendingSpace_ = false;
    }

    std::string text_;
    bool pendingSpace_ = false;
};

// The length of a comment, declaration or processing instruction at the start, else 0.
std::size_t SkipMarkup(std::string_view text) {
    if (text.starts_with("<!--")) {
        const std::size_t end = text.find("-->", 4);
        return end == kNone ? text.size() : end + 3;
    }
    if (text.starts_with("<!") || text.starts_with("<?")) {
        const std::size_t end = text.find('>');
        return end == kNone ? text.size() : end + 1;
    }
    return 0;
}

// What an opening tag shows or plays. A blank src is no picture, so that a later one is taken.
void AddReference(const Tag& tag, FlatText& flat) {
    if (IsOneOf(tag.Name, kPlayingTags))
        flat.SoundOrVideo = true;
    if (tag.Reference.empty())
        return;
    // The value holds no ">", so flattening it finds no tag: one level deep at most.
    std::string reference = FlattenHtml(tag.Reference).Text;
    flat.SoundOrVideo = flat.SoundOrVideo || IsSoundOrVideoName(reference);
    if (tag.Name == "img" && reference.find_first_not_of(" \t\n") != kNone)
        flat.Images.push_back(std::move(reference));
}

// Where the hidden element's closing tag ends, or the end of the text. Compared in place: no copy of the rest of
// the text for each hidden element.
std::size_t EndOfHidden(std::string_view html, std::size_t from, std::string_view name) {
    const auto namedAt = [&](std::size_t at) {
        return html.size() - at >= name.size() &&
               std::equal(name.begin(), name.end(), html.begin() + static_cast<std::ptrdiff_t>(at),
                          [](char lower, char c) { return lower == LowerAscii(c); });
    };
    for (std::size_t close = html.find("</", from); close != kNone; close = html.find("</", close + 1)) {
        if (namedAt(close + 2)) {
            const std::size_t end = html.find('>', close);
            return end == kNone ? html.size() : end + 1;
        }
    }
    return html.size();
}

} // namespace

bool IsSoundOrVideoName(std::string_view reference) {
    // Either as a file's name or as a URL with a query or a fragment after the file.
    return HasSoundOrVideoExtension(reference) ||
           HasSoundOrVideoExtension(reference.substr(0, reference.find_first_of("?#")));
}

FlatText FlattenHtml(std::string_view html) {
    FlatText flat;
    PlainTextBuilder text;
    const std::size_t lastClose = html.rfind('>');
    std::size_t at = 0;
    while (at < html.size()) {
        const std::string_view rest = html.substr(at);
        if (rest[0] == '&') {
            const Entity entity = ReadEntity(rest);
            if (entity.Length)
                text.AddEntity(entity);
            else
                text.AddChar('&');
            at += entity.Length ? entity.Length : 1;
            continue;
        }
        if (rest[0] != '<') {
            const std::size_t next = rest.find_first_of("<&");
            text.AddText(rest.substr(0, next));
            at += next == kNone ? rest.size() : next;
            continue;
        }
        if (const std::size_t markup = SkipMarkup(rest)) {
            at += markup;
            continue;
        }
        const Tag tag = ReadTag(rest, lastClose == kNone || lastClose < at ? kNone : lastClose - at);
        if (tag.Length == 0) {
            text.AddChar('<');
            ++at;
            continue;
        }
        at += tag.Length;
        if (tag.Name == "br")
            text.LineBreak();
        else if (IsOneOf(tag.Name, kBlockTags))
            text.BlockBreak();
        else if (!tag.Closing && IsOneOf(tag.Name, kHiddenTags))
            at = EndOfHidden(html, at, tag.Name);
        else if (!tag.Closing)
            AddReference(tag, flat);
    }
    flat.Text = text.Finish();
    return flat;
}

std::string HtmlFromPlainText(std::string_view text) {
    std::string html;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // Spaces that HTML would collapse or drop stay as entities.
        const bool edge = i == 0 || i + 1 == text.size() || IsSpace(text[i - 1]) || IsSpace(text[i + 1]);
        switch (c) {
        case ' ': html += edge ? "&nbsp;" : " "; break;
        case '\t': html += "&#9;"; break;
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        case '\n': html += "<br>"; break;
        case '\r': break;
        default: html += c;
        }
    }
    return html;
}

} // namespace skq
