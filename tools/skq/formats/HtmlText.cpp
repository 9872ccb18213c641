#include "tools/skq/formats/HtmlText.h"

#include "core/base/CodePage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace skq {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Names longer than this are no entities.
constexpr std::size_t kLongestEntityName = 9;
// The search for an entity's ";" stops here, past the longest name HTML knows, whatever the text holds after.
constexpr std::size_t kEntitySearch = 40;

// The named entities quiz texts use: markup, Latin-1 letters and signs, typography.
constexpr std::array<std::pair<std::string_view, char32_t>, 72> kEntities = {{
    {"amp", '&'},      {"lt", '<'},       {"gt", '>'},       {"quot", '"'},      {"apos", '\''},    {"nbsp", ' '},
    {"shy", 0xAD},     {"copy", 0xA9},    {"reg", 0xAE},     {"deg", 0xB0},      {"plusmn", 0xB1},  {"sup2", 0xB2},
    {"sup3", 0xB3},    {"micro", 0xB5},   {"para", 0xB6},    {"middot", 0xB7},   {"frac14", 0xBC},  {"frac12", 0xBD},
    {"frac34", 0xBE},  {"times", 0xD7},   {"divide", 0xF7},  {"laquo", 0xAB},    {"raquo", 0xBB},   {"sect", 0xA7},
    {"euro", 0x20AC},  {"ndash", 0x2013}, {"mdash", 0x2014}, {"hellip", 0x2026}, {"lsquo", 0x2018}, {"rsquo", 0x2019},
    {"sbquo", 0x201A}, {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E},  {"bull", 0x2022},  {"prime", 0x2032},
    {"Prime", 0x2033}, {"minus", 0x2212}, {"le", 0x2264},    {"ge", 0x2265},     {"ne", 0x2260},    {"asymp", 0x2248},
    {"infin", 0x221E}, {"radic", 0x221A}, {"pi", 0x3C0},     {"alpha", 0x3B1},   {"beta", 0x3B2},   {"gamma", 0x3B3},
    {"delta", 0x3B4},  {"Delta", 0x394},  {"larr", 0x2190},  {"rarr", 0x2192},   {"aacute", 0xE1},  {"Aacute", 0xC1},
    {"eacute", 0xE9},  {"Eacute", 0xC9},  {"oacute", 0xF3},  {"Oacute", 0xD3},   {"uacute", 0xFA},  {"Uacute", 0xDA},
    {"auml", 0xE4},    {"Auml", 0xC4},    {"ouml", 0xF6},    {"Ouml", 0xD6},     {"uuml", 0xFC},    {"Uuml", 0xDC},
    {"szlig", 0xDF},   {"ccedil", 0xE7},  {"Ccedil", 0xC7},  {"iacute", 0xED},   {"Iacute", 0xCD},  {"yacute", 0xFD},
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

// The character an entity at the start of the text ("&...;") stands for and its length;
// {0, 0} when it is no entity, and the ampersand stays as written.
std::pair<char32_t, std::size_t> ReadEntity(std::string_view text) {
    const std::size_t end = text.substr(0, kEntitySearch).find(';');
    if (end == kNone || end < 2 || end > kLongestEntityName + 1)
        return {0, 0};
    const std::string_view body = text.substr(1, end - 1);
    if (body[0] == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const std::string_view digits = body.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        const bool valid = error == std::errc() && rest == digits.data() + digits.size() && !digits.empty() &&
                           code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        return valid ? std::pair{char32_t(code == 0xA0 ? ' ' : code), end + 1} : std::pair{char32_t(0), std::size_t(0)};
    }
    for (const auto& [name, code] : kEntities)
        if (name == body)
            return {code, end + 1};
    return {0, 0};
}

struct Tag {
    std::string Name; // lower case, without "/"
    bool Closing = false;
    std::string Source; // the src attribute, for <img>
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
    if (tag.Name == "img")
        tag.Source = AttributeValue(text.substr(0, end), "src");
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

FlatText FlattenHtml(std::string_view html) {
    FlatText flat;
    PlainTextBuilder text;
    const std::size_t lastClose = html.rfind('>');
    std::size_t at = 0;
    while (at < html.size()) {
        const std::string_view rest = html.substr(at);
        if (rest[0] == '&') {
            const auto [code, length] = ReadEntity(rest);
            text.AddChar(length ? code : '&');
            at += length ? length : 1;
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
        else if (tag.Name == "img" && !tag.Source.empty())
            flat.Images.push_back(FlattenHtml(tag.Source).Text);
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
