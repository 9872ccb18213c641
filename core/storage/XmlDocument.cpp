#include "core/storage/XmlDocument.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Texts, comments and attribute names lose every character below this code at both ends.
constexpr char16_t kFirstKeptCode = 33;
constexpr std::size_t kCountBytes = 4; // size field in front of a binary node's data

bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// --- entities -----------------------------------------------------------------------------------

struct Entity {
    std::u16string_view name; // after the ampersand, in lower case
    char16_t character;
};
constexpr std::array<Entity, 4> kEntities = {{{u"quot;", u'"'}, {u"gt;", u'>'}, {u"lt;", u'<'}, {u"amp;", u'&'}}};

// Entity names are ASCII and no other character upper-cases to one of their letters,
// so folding ASCII letters is the whole case-insensitive comparison.
bool SameEntityUnit(char16_t unit, char16_t lowerName) {
    return unit == lowerName || (lowerName >= u'a' && lowerName <= u'z' && (unit | 0x20) == lowerName);
}

// The entity whose name starts at `from` (just after an ampersand), or nullptr.
template <typename UnitAt> const Entity* MatchEntity(const UnitAt& at, std::size_t from, std::size_t to) {
    for (const Entity& entity : kEntities) {
        if (to - from < entity.name.size())
            continue;
        std::size_t i = 0;
        while (i < entity.name.size() && SameEntityUnit(at(from + i), entity.name[i]))
            ++i;
        if (i == entity.name.size())
            return &entity;
    }
    return nullptr;
}

void AppendEscaped(std::u16string& out, std::u16string_view text) {
    for (const char16_t c : text) {
        switch (c) {
        case u'&': out.append(u"&amp;"); break;
        case u'<': out.append(u"&lt;"); break;
        case u'>': out.append(u"&gt;"); break;
        case u'"': out.append(u"&quot;"); break;
        default: out.push_back(c);
        }
    }
}

// Names compare with Unicode upper-casing; names are nearly always ASCII, which is folded here
// without a call per character.
bool SameName(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = a[i], y = b[i];
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return SameTextIgnoringCase(a, b);
        const auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c; };
        if (upper(x) != upper(y))
            return false;
    }
    // An ASCII prefix matched; the longer name holds extra characters, so only equal sizes match.
    return a.size() == b.size();
}

// --- input --------------------------------------------------------------------------------------

// Windows-1250 to UTF-16 for every byte. A constant object, not a function's static, so the
// compiler knows that no store into a text being converted can change it. It is filled during
// static initialisation; nothing reads a document before main.
const std::array<char16_t, 256> kAnsiToWide = [] {
    std::array<char16_t, 256> table{};
    for (unsigned b = 0; b < table.size(); ++b)
        table[b] = AnsiCharToWide(static_cast<unsigned char>(b));
    return table;
}();

// 8-bit input in Windows-1250. Every character the parser looks for is ASCII, which the code
// page maps to itself, and no byte from 0x80 up maps below 33, so structure is found on the raw
// bytes and only the pieces kept in the tree are converted.
class AnsiInput {
public:
    static constexpr std::size_t kUnitBytes = 1;

    explicit AnsiInput(ByteView bytes) : data_(bytes.data()), size_(bytes.size()) {}

    std::size_t Size() const { return size_; }
    char16_t operator[](std::size_t i) const { return data_[i]; }
    const std::uint8_t* BytesAt(std::size_t i) const { return data_ + i; }

    // Position of the first ASCII character c in from .. to - 1, or to.
    std::size_t Find(char16_t c, std::size_t from, std::size_t to) const {
        if (from >= to)
            return to;
        const void* hit = std::memchr(data_ + from, c, to - from);
        return hit ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data_) : to;
    }

    bool SameUnits(std::size_t from, std::size_t to, std::u16string_view text) const {
        if (to - from != text.size())
            return false;
        return std::equal(text.begin(), text.end(), data_ + from,
                          [](char16_t c, std::uint8_t byte) { return c == kAnsiToWide[byte]; });
    }

    void AppendConverted(std::u16string& out, std::size_t from, std::size_t to) const {
        AppendText<false>(out, from, to);
    }
    void AppendUnescaped(std::u16string& out, std::size_t from, std::size_t to) const {
        AppendText<true>(out, from, to);
    }

private:
    // Input goes in blocks of 16 bytes and then 8 where it can, the rest byte by byte.
    template <bool unescape> void AppendText(std::u16string& out, std::size_t from, std::size_t to) const {
        const std::size_t start = out.size();
        out.resize(start + (to - from)); // entities only shorten the text
        char16_t* target = out.data() + start;
        for (std::size_t i = from; i < to;) {
            if (WidenBlock<16, unescape>(i, to, target) || WidenBlock<8, unescape>(i, to, target))
                continue;
            for (const std::size_t blockEnd = std::min(i + 8, to); i < blockEnd;)
                ConvertOne<unescape>(i, to, target);
        }
        if (unescape)
            out.resize(static_cast<std::size_t>(target - out.data()));
    }

    // One character, or an entity when unescaping, from i on.
    template <bool unescape> void ConvertOne(std::size_t& i, std::size_t to, char16_t*& target) const {
        if (unescape && data_[i] == '&') {
            const auto byteAt = [this](std::size_t at) { return static_cast<char16_t>(data_[at]); };
            if (const Entity* entity = MatchEntity(byteAt, i + 1, to)) {
                *target++ = entity->character;
                i += 1 + entity->name.size();
                return;
            }
        }
        *target++ = kAnsiToWide[data_[i++]];
    }

    // Converts the block of n bytes at i when it is whole and holds no ampersand to replace: it is
    // widened whole, and then its few bytes from 0x80 up are looked up.
    template <std::size_t n, bool unescape> bool WidenBlock(std::size_t& i, std::size_t to, char16_t*& target) const {
        if (to - i < n || std::endian::native != std::endian::little)
            return false;
        std::array<std::uint64_t, n / 8> words;
        std::memcpy(words.data(), data_ + i, n);
        if (unescape && std::any_of(words.begin(), words.end(), HasAmpersand))
            return false;
        std::array<std::uint8_t, n> bytes; // a copy the compiler knows no store can change
        std::memcpy(bytes.data(), data_ + i, n);
        for (std::size_t k = 0; k < n; ++k)
            target[k] = bytes[k];
        for (std::size_t word = 0; word < n / 8; ++word) {
            for (std::uint64_t marks = words[word] & kHighBits; marks != 0; marks &= marks - 1) {
                const std::size_t k = word * 8 + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
                target[k] = kAnsiToWide[bytes[k]];
            }
        }
        i += n;
        target += n;
        return true;
    }

    static constexpr std::uint64_t kEveryByte = 0x0101010101010101;
    static constexpr std::uint64_t kHighBits = 0x8080808080808080;

    static bool HasAmpersand(std::uint64_t word) {
        const std::uint64_t zeroWhereAmpersand = word ^ (kEveryByte * '&');
        return ((zeroWhereAmpersand - kEveryByte) & ~zeroWhereAmpersand & kHighBits) != 0;
    }

    const std::uint8_t* data_;
    std::size_t size_;
};

// UTF-16LE input after the byte order mark; an odd last byte is not part of it.
class Utf16Input {
public:
    static constexpr std::size_t kUnitBytes = 2;

    explicit Utf16Input(ByteView bytes) : data_(bytes.data()), size_(bytes.size() / 2) {}

    std::size_t Size() const { return size_; }
    char16_t operator[](std::size_t i) const { return ReadLittle16(ByteView(data_, 2 * size_), 2 * i); }
    const std::uint8_t* BytesAt(std::size_t i) const { return data_ + 2 * i; }

    // Position of the first ASCII character c in from .. to - 1, or to: the byte is found with
    // memchr and taken when it is the low byte of a unit whose high byte is zero.
    std::size_t Find(char16_t c, std::size_t from, std::size_t to) const {
        const std::uint8_t* end = data_ + 2 * to;
        for (const std::uint8_t* at = data_ + 2 * from; at < end;) {
            const void* hit = std::memchr(at, c, static_cast<std::size_t>(end - at));
            if (!hit)
                break;
            const auto offset = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data_);
            if (offset % 2 == 0 && data_[offset + 1] == 0)
                return offset / 2;
            at = data_ + offset + 1;
        }
        return to;
    }

    bool SameUnits(std::size_t from, std::size_t to, std::u16string_view text) const {
        if (to - from != text.size())
            return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if ((*this)[from + i] != text[i])
                return false;
        }
        return true;
    }

    void AppendConverted(std::u16string& out, std::size_t from, std::size_t to) const {
        const std::size_t start = out.size();
        out.resize(start + (to - from));
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(out.data() + start, data_ + 2 * from, 2 * (to - from));
        } else {
            for (std::size_t i = from; i < to; ++i)
                out[start + i - from] = (*this)[i];
        }
    }

    // Copies the runs between ampersands whole.
    void AppendUnescaped(std::u16string& out, std::size_t from, std::size_t to) const {
        out.reserve(out.size() + (to - from));
        const auto unitAt = [this](std::size_t i) { return (*this)[i]; };
        while (from < to) {
            const std::size_t ampersand = Find(u'&', from, to);
            AppendConverted(out, from, ampersand);
            if (ampersand == to)
                return;
            if (const Entity* entity = MatchEntity(unitAt, ampersand + 1, to)) {
                out.push_back(entity->character);
                from = ampersand + 1 + entity->name.size();
            } else {
                out.push_back(u'&');
                from = ampersand + 1;
            }
        }
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

} // namespace

// --- reader -------------------------------------------------------------------------------------

namespace xml_detail {

// Builds the tree under the root from the input. Open elements are kept on an explicit stack, so
// nesting costs no call depth and is bounded by kMaxXmlDepth.
template <typename Input> class Reader {
public:
    Reader(const Input& input, XmlNode& root) : in_(input), size_(input.Size()) {
        open_.reserve(32);
        open_.push_back(&root);
    }

    // True when the whole input parsed; the tree keeps what was read before a failure.
    bool Parse() {
        for (;;) {
            SkipSpace();
            if (pos_ >= size_)
                return true; // elements still open keep what they have
            if (in_[pos_] != u'<')
                return false; // also text after a child's end tag
            ++pos_;
            if (pos_ < size_ && in_[pos_] == u'/') {
                ++pos_;
                if (!ReadEndTag())
                    return false;
                if (open_.empty())
                    return true; // an empty end tag at the top closes the unnamed root
            } else if (!ReadNode()) {
                return false;
            }
        }
    }

private:
    bool At(std::size_t i, char16_t c) const { return i < size_ && in_[i] == c; }

    void SkipSpace() {
        while (pos_ < size_ && IsXmlSpace(in_[pos_]))
            ++pos_;
    }

    bool Consume(char16_t c) {
        if (!At(pos_, c))
            return false;
        ++pos_;
        return true;
    }

    template <typename Stop> std::size_t ScanUntil(const Stop& stop) {
        while (pos_ < size_ && !stop(in_[pos_]))
            ++pos_;
        return pos_;
    }

    std::pair<std::size_t, std::size_t> Trimmed(std::size_t from, std::size_t to) const {
        while (from < to && in_[from] < kFirstKeptCode)
            ++from;
        while (to > from && in_[to - 1] < kFirstKeptCode)
            --to;
        return {from, to};
    }

    // Start of the next occurrence of the ASCII sequence at or after from, or the input's size.
    std::size_t FindSequence(std::u16string_view sequence, std::size_t from) const {
        for (std::size_t at = from;; ++at) {
            at = in_.Find(sequence[0], at, size_);
            if (size_ - at < sequence.size())
                return size_;
            std::size_t i = 1;
            while (i < sequence.size() && in_[at + i] == sequence[i])
                ++i;
            if (i == sequence.size())
                return at;
        }
    }

    // After "</": the name must close the innermost open element.
    bool ReadEndTag() {
        const std::u16string& expected = open_.back()->Name;
        const std::size_t nameStart = pos_;
        if (SpelledAt(nameStart, expected)) {
            pos_ += expected.size(); // the usual case: the very name of the start tag
        } else {
            const std::size_t nameEnd = ScanUntil([](char16_t c) { return IsXmlSpace(c) || c == u'>'; });
            name_.clear();
            in_.AppendConverted(name_, nameStart, nameEnd);
            if (!SameName(name_, expected))
                return false;
        }
        SkipSpace();
        if (!Consume(u'>'))
            return false;
        open_.pop_back();
        return true;
    }

    // The name stands at the position as a whole word of an end tag.
    bool SpelledAt(std::size_t at, std::u16string_view name) const {
        const std::size_t end = at + name.size();
        return end < size_ && (IsXmlSpace(in_[end]) || in_[end] == u'>') && in_.SameUnits(at, end, name);
    }

    // After "<": an element, instruction or binary node with its content, a comment, or a CDATA
    // section.
    bool ReadNode() {
        if (At(pos_, u'!'))
            return ReadCommentOrCData();
        const XmlNodeKind kind = Consume(u'?')   ? XmlNodeKind::Instruction
                                 : Consume(u'&') ? XmlNodeKind::Binary
                                                 : XmlNodeKind::Element;
        XmlNode* node = NewNode(kind);
        if (!node)
            return false;
        const std::size_t nameStart = pos_;
        ScanUntil([](char16_t c) { return IsXmlSpace(c) || c == u'/' || c == u'>'; });
        if (pos_ == nameStart)
            return false;
        in_.AppendConverted(node->Name, nameStart, pos_);
        bool selfClosed = false;
        if (!ReadAttributes(*node, selfClosed))
            return false;
        if (kind == XmlNodeKind::Binary) {
            if (!ReadBinaryData(*node))
                return false;
        } else {
            ReadText(node->Text);
        }
        AddNode(*node, selfClosed || kind == XmlNodeKind::Instruction);
        return true;
    }

    // Up to and including the end of the start tag.
    bool ReadAttributes(XmlNode& node, bool& selfClosed) {
        for (;;) {
            SkipSpace();
            if (pos_ >= size_)
                return false;
            if (in_[pos_] == u'/') {
                if (!At(pos_ + 1, u'>'))
                    return false;
                pos_ += 2;
                selfClosed = true;
                return true;
            }
            if (Consume(u'>'))
                return true;
            const std::size_t nameStart = pos_;
            const std::size_t nameEnd = ScanUntil([](char16_t c) { return IsXmlSpace(c) || c == u'=' || c == u'>'; });
            if (node.Kind == XmlNodeKind::Instruction && nameEnd - nameStart == 1 && in_[nameStart] == u'?')
                return Consume(u'>');
            SkipSpace();
            if (!Consume(u'='))
                return false;
            SkipSpace();
            if (!Consume(u'"'))
                return false;
            const std::size_t valueEnd = in_.Find(u'"', pos_, size_);
            if (valueEnd == size_)
                return false;
            XmlAttribute& attribute = node.Attributes.emplace_back();
            const auto [from, to] = Trimmed(nameStart, nameEnd);
            in_.AppendConverted(attribute.Name, from, to);
            in_.AppendUnescaped(attribute.Value, pos_, valueEnd);
            pos_ = valueEnd + 1;
        }
    }

    // Everything up to the next "<", trimmed and unescaped.
    void ReadText(std::u16string& text) {
        const std::size_t end = in_.Find(u'<', pos_, size_);
        const auto [from, to] = Trimmed(pos_, end);
        in_.AppendUnescaped(text, from, to);
        pos_ = end;
    }

    // A byte count and that many bytes, taken only when the input holds them.
    bool ReadBinaryData(XmlNode& node) {
        if ((size_ - pos_) * Input::kUnitBytes < kCountBytes)
            return false;
        const std::uint32_t dataSize = ReadLittle32(ByteView(in_.BytesAt(pos_), kCountBytes), 0);
        pos_ += kCountBytes / Input::kUnitBytes;
        if (dataSize > (size_ - pos_) * Input::kUnitBytes) {
            pos_ = size_;
            return true;
        }
        node.Data.assign(in_.BytesAt(pos_), in_.BytesAt(pos_) + dataSize);
        pos_ += (dataSize + Input::kUnitBytes - 1) / Input::kUnitBytes; // an odd size in UTF-16 is padded
        return true;
    }

    bool IsCDataOpening(std::size_t at) const {
        constexpr std::u16string_view kOpening = u"[CDATA[";
        if (in_[at] != kOpening[0])
            return false;
        std::u16string seven;
        in_.AppendConverted(seven, at, at + kOpening.size());
        return UpperCase(seven) == kOpening;
    }

    // At "!": seven characters must follow. A CDATA section hands its content to the enclosing
    // element; anything else is a comment, which also covers a document type declaration.
    bool ReadCommentOrCData() {
        constexpr std::size_t kLookAhead = 7;
        if (size_ - pos_ <= kLookAhead)
            return false;
        if (IsCDataOpening(pos_ + 1)) {
            const std::size_t start = pos_ + 1 + kLookAhead;
            const std::size_t close = FindSequence(u"]]>", start);
            std::u16string& cdata = open_.back()->CDataText;
            cdata.clear();
            if (close < size_)
                in_.AppendConverted(cdata, start, close);
            pos_ = std::min(close + 3, size_);
            return true;
        }
        XmlNode* comment = NewNode(XmlNodeKind::Comment);
        if (!comment)
            return false;
        const std::size_t start = pos_ + 3; // past "!" and two characters taken for "--"
        const std::size_t close = FindSequence(u"-->", start);
        if (close < size_) {
            const auto [from, to] = Trimmed(start, close);
            in_.AppendConverted(comment->Text, from, to);
        }
        pos_ = std::min(close + 3, size_);
        AddNode(*comment, true);
        return true;
    }

    // The place of the next child of the innermost open element, or nullptr when that would
    // nest deeper than allowed. open_ holds the root and the open elements, so its size is the
    // new node's depth.
    XmlNode* NewNode(XmlNodeKind kind) {
        if (open_.size() > static_cast<std::size_t>(kMaxXmlDepth))
            return nullptr;
        XmlNode& node = open_.back()->NextSlot();
        node.Kind = kind;
        return &node;
    }

    void AddNode(XmlNode& node, bool leaf) {
        open_.back()->CommitSlot();
        if (!leaf)
            open_.push_back(&node);
    }

    const Input& in_;
    const std::size_t size_;
    std::size_t pos_ = 0;
    std::vector<XmlNode*> open_;
    std::u16string name_; // end tag names, reused
};

} // namespace xml_detail

namespace {

// --- writer -------------------------------------------------------------------------------------

// Case-insensitive replacement of all occurrences by a text of the same length, left to right.
void ReplaceAllIgnoringCase(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = 0; at + from.size() <= text.size();) {
        if (SameAnsiTextIgnoringCase(std::string_view(text).substr(at, from.size()), from)) {
            text.replace(at, from.size(), to);
            at += to.size();
        } else {
            ++at;
        }
    }
}

// The CDATA text as written: no opening or closing marker can survive inside it. The replacement
// works on the 8-bit form, so characters the code page lacks are lost here in either file form.
std::u16string CDataForWriting(std::u16string_view cdata) {
    std::string ansi = WideToAnsi(cdata);
    ReplaceAllIgnoringCase(ansi, "[CDATA[", "_CDATA_");
    ReplaceAllIgnoringCase(ansi, "]]>", "__>");
    return AnsiToWide(ansi);
}

bool HasNonEmptyAttribute(const XmlNode& node) {
    return std::any_of(node.Attributes.begin(), node.Attributes.end(),
                       [](const XmlAttribute& attribute) { return !attribute.Value.empty(); });
}

class Writer {
public:
    Writer(const XmlDocument& document, Bytes& out) : doc_(document), out_(out) {}

    void WriteDocument() {
        if (doc_.WideText)
            out_.insert(out_.end(), {0xFF, 0xFE});
        struct Frame {
            const XmlNode* node;
            int next;
        };
        std::vector<Frame> open{{&doc_.Root, 0}};
        while (!open.empty()) {
            Frame& top = open.back();
            if (const XmlNode* child = top.node->Child(top.next++)) {
                if (OpenNode(*child)) {
                    open.push_back({child, 0});
                    prefix_ += doc_.Indent;
                }
                continue;
            }
            const XmlNode* finished = top.node;
            open.pop_back();
            if (!open.empty()) {
                prefix_.resize(prefix_.size() - doc_.Indent.size());
                CloseNode(*finished);
            }
        }
        Flush();
    }

private:
    static bool HasBody(const XmlNode& node) { return !node.CDataText.empty() || node.ChildCount() > 0; }
    static bool IsSelfClosed(const XmlNode& node) {
        return node.Text.empty() && !HasBody(node) && node.Kind != XmlNodeKind::Binary;
    }

    // Writes the node up to its children; false when nothing of it follows them.
    bool OpenNode(const XmlNode& node) {
        const bool selfClosed = IsSelfClosed(node);
        if (selfClosed && !HasNonEmptyAttribute(node))
            return false; // empty elements are left out
        Put(prefix_);
        if (node.Kind == XmlNodeKind::Comment) {
            Put(u"<!-- ");
            Put(node.Text);
            Put(u" -->");
            Put(doc_.LineBreak);
            return false;
        }
        Put(node.Kind == XmlNodeKind::Instruction ? u"<?" : node.Kind == XmlNodeKind::Binary ? u"<&" : u"<");
        Put(node.Name);
        for (const XmlAttribute& attribute : node.Attributes) {
            if (attribute.Value.empty())
                continue;
            Put(u" ");
            Put(attribute.Name);
            Put(u"=\"");
            AppendEscaped(pending_, attribute.Value);
            Put(u"\"");
        }
        Put(node.Kind == XmlNodeKind::Instruction ? u"?>" : selfClosed ? u"/>" : u">");
        if (node.Kind == XmlNodeKind::Binary)
            PutBinaryData(node.Data);
        else
            AppendEscaped(pending_, node.Text);
        if (HasBody(node))
            Put(doc_.LineBreak);
        if (!node.CDataText.empty()) {
            Put(prefix_);
            Put(doc_.Indent);
            Put(u"<![CDATA[");
            Put(CDataForWriting(node.CDataText));
            Put(u"]]>");
            Put(doc_.LineBreak);
        }
        return true;
    }

    void CloseNode(const XmlNode& node) {
        if (HasBody(node))
            Put(prefix_);
        if (!IsSelfClosed(node) && node.Kind != XmlNodeKind::Instruction) {
            Put(u"</");
            Put(node.Name);
            Put(u">");
        }
        Put(doc_.LineBreak);
    }

    void Put(std::u16string_view piece) { pending_.append(piece); }

    // In UTF-16 an odd-sized payload gets one padding byte, so the text after it stays aligned.
    void PutBinaryData(const Bytes& data) {
        Flush();
        AppendLittle32(out_, static_cast<std::uint32_t>(data.size()));
        out_.insert(out_.end(), data.begin(), data.end());
        if (doc_.WideText && data.size() % 2 != 0)
            out_.push_back(0);
    }

    void Flush() {
        if (doc_.WideText) {
            const std::size_t start = out_.size();
            out_.resize(start + 2 * pending_.size());
            std::uint8_t* target = out_.data() + start;
            for (const char16_t c : pending_) {
                *target++ = static_cast<std::uint8_t>(c);
                *target++ = static_cast<std::uint8_t>(c >> 8);
            }
        } else {
            const std::string ansi = WideToAnsi(pending_);
            out_.insert(out_.end(), ansi.begin(), ansi.end());
        }
        pending_.clear();
    }

    const XmlDocument& doc_;
    Bytes& out_;
    std::u16string pending_; // output not yet converted to bytes
    std::u16string prefix_;  // indentation of the current line
};

// --- files --------------------------------------------------------------------------------------

[[noreturn]] void RaiseFileError(const char* action, const std::filesystem::path& path, int error) {
    throw StorageError(std::string("cannot ") + action + " " + path.string() + ": " + std::strerror(error));
}

// --- child storage ------------------------------------------------------------------------------

// Child blocks hold 4, 8, ... 256 nodes, then 256 each.
constexpr std::size_t kFirstBlockSize = 4;
constexpr std::size_t kGrowingBlocks = 7;
constexpr std::size_t kLastBlockSize = kFirstBlockSize << (kGrowingBlocks - 1);
constexpr std::size_t kGrowingCapacity = kFirstBlockSize * ((std::size_t{1} << kGrowingBlocks) - 1);

std::size_t BlockSize(std::size_t block) { return block < kGrowingBlocks ? kFirstBlockSize << block : kLastBlockSize; }

// Block and place in it of the child at the index.
std::pair<std::size_t, std::size_t> LocateChild(std::size_t index) {
    if (index < kGrowingCapacity) {
        const std::size_t block = static_cast<std::size_t>(std::bit_width(index / kFirstBlockSize + 1)) - 1;
        return {block, index - kFirstBlockSize * ((std::size_t{1} << block) - 1)};
    }
    const std::size_t beyond = index - kGrowingCapacity;
    return {kGrowingBlocks + beyond / kLastBlockSize, beyond % kLastBlockSize};
}

} // namespace

// --- nodes --------------------------------------------------------------------------------------

// Children live in place, in blocks that grow up to a limit: adding one moves no other, and a
// long list of children costs few allocations. A node is constructed in its block when its place
// is first handed out; one place past the last child may hold a node that a failed parse left.
struct XmlNode::ChildList {
    struct Place {
        alignas(XmlNode) std::byte bytes[sizeof(XmlNode)];
    };

    std::vector<std::unique_ptr<Place[]>> blocks;
    int count = 0;       // children
    int constructed = 0; // nodes alive in the blocks: count, or count + 1

    ChildList() = default;
    ChildList(const ChildList&) = delete;
    ChildList& operator=(const ChildList&) = delete;
    ~ChildList() { DestroyNodes(); }

    XmlNode& At(int index) const {
        const auto [block, place] = LocateChild(static_cast<std::size_t>(index));
        return *std::launder(reinterpret_cast<XmlNode*>(blocks[block][place].bytes));
    }

    XmlNode& Next() {
        if (constructed > count)
            return At(count);
        const auto [block, place] = LocateChild(static_cast<std::size_t>(count));
        if (block == blocks.size())
            blocks.emplace_back(new Place[BlockSize(block)]);
        XmlNode* node = new (blocks[block][place].bytes) XmlNode();
        ++constructed;
        return *node;
    }

    // Each node frees its own subtree without recursion.
    void DestroyNodes() {
        for (int i = 0; i < constructed; ++i)
            At(i).~XmlNode();
        constructed = 0;
    }
};

// Defined here, not defaulted in the class, so a new node is not zero-filled before construction.
XmlNode::XmlNode() = default;

XmlNode::XmlNode(std::u16string_view name, XmlNodeKind kind) : Name(name), Kind(kind) {}

XmlNode::~XmlNode() {
    if (children_)
        ReleaseChildren();
}

XmlNode::XmlNode(XmlNode&& other) noexcept { TakeFrom(other); }

XmlNode& XmlNode::operator=(XmlNode&& other) noexcept {
    if (this != &other) {
        XmlNode previous(std::move(*this)); // freed last, so other may live inside it
        TakeFrom(other);
    }
    return *this;
}

// This node is empty and childless.
void XmlNode::TakeFrom(XmlNode& other) {
    Attributes = std::move(other.Attributes);
    Name = std::move(other.Name);
    Text = std::move(other.Text);
    CDataText = std::move(other.CDataText);
    Kind = other.Kind;
    Data = std::move(other.Data);
    children_ = std::move(other.children_);
    other.Attributes.clear();
    other.Name.clear();
    other.Text.clear();
    other.CDataText.clear();
    other.Data.clear();
}

// Frees the subtree list by list: a node's own children join the lists still to free before the
// node goes, so no destructor reaches further than one level.
void XmlNode::ReleaseChildren() {
    std::vector<std::unique_ptr<ChildList>> doomed;
    doomed.push_back(std::move(children_));
    while (!doomed.empty()) {
        const std::unique_ptr<ChildList> list = std::move(doomed.back());
        doomed.pop_back();
        for (int i = 0; i < list->constructed; ++i) {
            XmlNode& node = list->At(i);
            if (node.children_)
                doomed.push_back(std::move(node.children_));
            node.~XmlNode();
        }
        list->constructed = 0;
    }
}

int XmlNode::ChildCount() const { return children_ ? children_->count : 0; }

XmlNode* XmlNode::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return &children_->At(index);
}

const XmlAttribute* XmlNode::Attribute(int index) const {
    if (index < 0 || index >= AttributeCount())
        return nullptr;
    return &Attributes[static_cast<std::size_t>(index)];
}

XmlNode& XmlNode::NextSlot() {
    if (!children_)
        children_ = std::make_unique<ChildList>();
    return children_->Next();
}

void XmlNode::CommitSlot() { ++children_->count; }

XmlNode& XmlNode::AddChild(std::u16string_view name, XmlNodeKind kind) {
    XmlNode& child = NextSlot();
    child.Clear();
    child.Name.assign(name);
    child.Kind = kind;
    CommitSlot();
    return child;
}

void XmlNode::Clear() {
    if (children_)
        ReleaseChildren();
    Attributes.clear();
    Text.clear();
    CDataText.clear();
    Data.clear();
}

XmlNode& FindOrAddChild(XmlNode& node, std::u16string_view name) {
    const int index = IndexOfChild(node, name);
    return index >= 0 ? *node.Child(index) : node.AddChild(name);
}

int IndexOfChild(const XmlNode& node, std::u16string_view name) {
    for (int i = 0; i < node.ChildCount(); ++i) {
        if (SameName(node.Child(i)->Name, name))
            return i;
    }
    return -1;
}

// --- document -----------------------------------------------------------------------------------

bool XmlDocument::LoadFromFile(const std::filesystem::path& path) {
    const ReadableFile file(path);
    if (file.IsMissing())
        return false;
    if (!file.IsOpen())
        throw StorageError("cannot open " + path.string() + ": " + file.Problem());
    Bytes data;
    if (!file.ReadAll(data))
        throw StorageError("cannot read " + path.string());
    return LoadFromStream(data);
}

bool XmlDocument::LoadFromStream(ByteView data) {
    if (data.empty())
        return false;
    Root.Clear();
    if (data.size() < 2)
        return false;
    WideText = data[0] == 0xFF && data[1] == 0xFE;
    if (WideText) {
        const Utf16Input input(data.subspan(2));
        return xml_detail::Reader<Utf16Input>(input, Root).Parse();
    }
    const AnsiInput input(data);
    return xml_detail::Reader<AnsiInput>(input, Root).Parse();
}

void XmlDocument::SaveToFile(const std::filesystem::path& path) const {
    Bytes data;
    SaveToStream(data);
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        RaiseFileError("create", path, errno);
    if (!WriteAll(file.Get(), data) || !file.Close())
        RaiseFileError("write", path, errno);
}

void XmlDocument::SaveToStream(Bytes& out) const { Writer(*this, out).WriteDocument(); }

XmlNode& XmlDocument::FindOrAddNode(std::u16string_view name) { return FindOrAddChild(Root, name); }

// --- entities -----------------------------------------------------------------------------------

std::u16string XmlEscape(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    AppendEscaped(escaped, text);
    return escaped;
}

// One pass gives what replacing "&quot;", "&gt;", "&lt;" and then "&amp;" one after the other
// gives: entities can't overlap, and only the last replacement yields an ampersand.
std::u16string XmlUnescape(std::u16string_view text) {
    std::u16string plain;
    plain.reserve(text.size());
    const auto unitAt = [text](std::size_t i) { return text[i]; };
    for (std::size_t i = 0; i < text.size();) {
        const Entity* entity = text[i] == u'&' ? MatchEntity(unitAt, i + 1, text.size()) : nullptr;
        if (entity) {
            plain.push_back(entity->character);
            i += 1 + entity->name.size();
        } else {
            plain.push_back(text[i++]);
        }
    }
    return plain;
}
