#include "tools/skq/SkqUtf8Sources.h"

#include "core/base/CodePage.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <vector>

namespace skq {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view AsText(ByteView bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsMultiByteUtf8(std::string_view text) { return !IsAscii(text) && FindInvalidUtf8(text) == kNone; }

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// The encoding attribute of a leading XML declaration, lower-cased; empty when there is none.
std::string DeclaredEncoding(std::string_view xml) {
    if (!xml.starts_with("<?xml"))
        return {};
    const std::string_view declaration = xml.substr(0, xml.find("?>"));
    const std::size_t name = declaration.find("encoding");
    const std::size_t quote = name == kNone ? kNone : declaration.find_first_not_of(" \t\r\n=", name + 8);
    if (quote == kNone || (declaration[quote] != '"' && declaration[quote] != '\''))
        return {};
    const std::size_t end = declaration.find(declaration[quote], quote + 1);
    return end == kNone ? std::string() : LowerAscii(declaration.substr(quote + 1, end - quote - 1));
}

bool DeclaresUtf8(std::string_view xml) {
    const std::string encoding = DeclaredEncoding(xml);
    return encoding == "utf-8" || encoding == "utf8";
}

template <typename Char> std::size_t LineAt(std::basic_string_view<Char> text, std::size_t offset) {
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, Char('\n')));
}

// The text without its byte order mark; throws naming the first byte that isn't UTF-8.
std::u16string DecodeUtf8(std::string_view text, std::string_view name) {
    if (const std::size_t bad = FindInvalidUtf8(text); bad != kNone)
        throw ToolFailure(Format(Tr("{1}: byte {2} (line {3}) is not valid UTF-8; nothing was written"), name, bad,
                                 LineAt(text, bad)));
    return Utf8ToWide(text.starts_with(kUtf8Mark) ? text.substr(kUtf8Mark.size()) : text);
}

std::size_t FindCharOutsideAnsi(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::u16string_view unit = text.substr(i, 1);
        if (AnsiToWide(WideToAnsi(unit)) != unit)
            return i;
    }
    return kNone;
}

// Controls, line and direction marks and lone surrogates would act on the terminal
// instead of showing, so they are named by number alone.
bool ShowsAsItself(char32_t code) {
    const auto within = [code](char32_t first, char32_t last) { return code >= first && code <= last; };
    return code >= 0x20 && !within(0x7F, 0x9F) && !within(0x200B, 0x200F) && !within(0x2028, 0x202E) &&
           !within(0x2060, 0x206F) && !within(0xD800, 0xDFFF) && code != 0xFEFF && !within(0xFFF9, 0xFFFB);
}

// "U+2192 (→)" for the character at the index.
std::string DescribeChar(std::u16string_view text, std::size_t at) {
    const char32_t lead = text[at];
    const bool pair = lead >= 0xD800 && lead < 0xDC00 && at + 1 < text.size();
    const char32_t code = pair ? 0x10000 + ((lead - 0xD800) << 10) + (char32_t(text[at + 1]) - 0xDC00) : lead;
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "U+%04X", static_cast<unsigned>(code));
    if (!ShowsAsItself(code))
        return hex.data();
    return std::string(hex.data()) + " (" + WideToUtf8(text.substr(at, pair ? 2 : 1)) + ")";
}

Bytes Utf16Document(std::u16string_view text) {
    Bytes bytes = {0xFF, 0xFE};
    for (const char16_t unit : text)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
    return bytes;
}

// A stored field whose source text the code page lacks characters of.
struct WideField {
    XmlNode* Stored;
    std::u16string Text;
};

std::vector<WideField> FieldsOutsideAnsi(XmlDocument& stored, XmlDocument& source) {
    XmlNode& storedTop = stored.FindOrAddNode(QuestionElement::Top);
    XmlNode& sourceTop = source.FindOrAddNode(QuestionElement::Top);
    std::vector<WideField> fields;
    for (int i = 0; i < storedTop.ChildCount(); ++i) {
        XmlNode& field = *storedTop.Child(i);
        const std::u16string& text = FindOrAddChild(sourceTop, field.Name).Text;
        if (field.Name != QuestionElement::Encoding && FindCharOutsideAnsi(text) != kNone)
            fields.push_back({&field, text});
    }
    return fields;
}

// message: {1} the source's name, {2} the field's element, {3} the character.
std::string FieldProblem(const char* message, std::string_view name, const WideField& field) {
    return Format(message, name, WideToUtf8(field.Stored->Name),
                  DescribeChar(field.Text, FindCharOutsideAnsi(field.Text)));
}

} // namespace

bool IsUtf8Document(ByteView xml) {
    const std::string_view text = AsText(xml);
    return text.starts_with(kUtf8Mark) || IsMultiByteUtf8(text) || (!IsAscii(text) && DeclaresUtf8(text));
}

bool IsUtf8Text(ByteView text) { return AsText(text).starts_with(kUtf8Mark) || IsMultiByteUtf8(AsText(text)); }

PackedQuestion PackUtf8Question(ByteView xml, std::string_view name, const StoredForm& form, std::ostream& warnings) {
    // Read as the program reads the UTF-16 form, so the fields come out as it would see them.
    XmlDocument source;
    source.LoadFromStream(Utf16Document(DecodeUtf8(AsText(xml), name)));
    return PackWideQuestion(source, name, form, warnings);
}

PackedQuestion PackWideQuestion(XmlDocument& source, std::string_view name, const StoredForm& form,
                                std::ostream& warnings) {
    PackedQuestion packed{ReadQuestionXml(source), {}};

    Question40Form wideForm = form.Form40;
    wideForm.WideText = true;
    XmlDocument stored;
    stored.LoadFromStream(WriteQuestion40(packed.Fields, wideForm));
    const std::vector<WideField> wideFields = FieldsOutsideAnsi(stored, source);
    if (wideFields.empty()) {
        packed.Stored = WriteQuestionDocument(packed.Fields, form);
        return packed;
    }
    if (form.Legacy)
        throw ToolFailure(
            FieldProblem(Tr("{1}: <{2}> holds {3}, which Windows-1250 lacks; the 3.5 layout can't store it"), name,
                         wideFields.front()));
    for (const WideField& field : wideFields) {
        field.Stored->Text = form.Form40.Encoded ? EncodeBase64Utf16(field.Text) : field.Text;
        warnings << FieldProblem(Tr("{1}: <{2}> holds {3}, which Windows-1250 lacks; stored as UTF-16, the program "
                                    "shows it as ?"),
                                 name, field)
                 << '\n';
    }
    stored.SaveToStream(packed.Stored);
    return packed;
}

std::string FirstCharOutsideAnsi(std::u16string_view text) {
    const std::size_t at = FindCharOutsideAnsi(text);
    return at == kNone ? std::string() : DescribeChar(text, at);
}

Bytes Utf8TextToAnsi(ByteView text, std::string_view name) {
    const std::u16string wide = DecodeUtf8(AsText(text), name);
    if (const std::size_t at = FindCharOutsideAnsi(wide); at != kNone)
        throw ToolFailure(Format(Tr("{1}: line {2} holds {3}, which Windows-1250 lacks; nothing was written"), name,
                                 LineAt(std::u16string_view(wide), at), DescribeChar(wide, at)));
    const std::string ansi = WideToAnsi(wide);
    return Bytes(ansi.begin(), ansi.end());
}

} // namespace skq
