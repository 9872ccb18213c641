#pragma once

#include "core/base/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The system's own small XML model: question documents, set lists and the
// settings file. Names and texts are UTF-16; files are UTF-16LE with a byte
// order mark or Windows-1250, and are written back in the form they were read.

struct XmlAttribute {
    std::u16string Name;
    std::u16string Value;
};
using XmlAttributes = std::vector<XmlAttribute>;

namespace xml_detail {
template <typename Input> class Reader;
}

enum class XmlNodeKind : std::uint8_t { Element = 0, Instruction = 1, Comment = 2, Binary = 3 };

class XmlNode {
public:
    XmlNode();
    explicit XmlNode(std::u16string_view name, XmlNodeKind kind = XmlNodeKind::Element);
    // Frees the subtree without recursion, so a tree of any depth can go.
    ~XmlNode();
    // Moving leaves the source empty, without children.
    XmlNode(XmlNode&& other) noexcept;
    XmlNode& operator=(XmlNode&& other) noexcept;
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    XmlAttributes Attributes;
    std::u16string Name;
    std::u16string Text;      // for a comment: the comment's text
    std::u16string CDataText; // content of the last CDATA section inside the element
    XmlNodeKind Kind = XmlNodeKind::Element;
    Bytes Data; // content of a binary node

    int ChildCount() const;
    // The child or attribute at the index, or nullptr outside 0 .. count - 1.
    XmlNode* Child(int index) const;
    int AttributeCount() const { return static_cast<int>(Attributes.size()); }
    const XmlAttribute* Attribute(int index) const;

    // References to children stay valid while more are added.
    XmlNode& AddChild(std::u16string_view name, XmlNodeKind kind = XmlNodeKind::Element);
    // Removes children, attributes, texts and data; name and kind stay.
    void Clear();

private:
    // The reader builds each node in place and counts it as a child only once it has parsed.
    template <typename Input> friend class xml_detail::Reader;
    // The place after the last child; it may hold what a failed parse left there.
    XmlNode& NextSlot();
    void CommitSlot();

    void TakeFrom(XmlNode& other);
    void ReleaseChildren();

    // Absent for a node that never had children, which most nodes are.
    struct ChildList;
    std::unique_ptr<ChildList> children_;
};

class XmlDocument {
public:
    XmlNode Root; // unnamed container of the top-level nodes
    bool WideText = false;
    std::u16string Indent = u"\t";
    std::u16string LineBreak = u"\r\n";

    // False when no file exists at the path; a file that can't be read raises StorageError.
    bool LoadFromFile(const std::filesystem::path& path);
    // False for no bytes (tree untouched) or when the input did not parse whole;
    // nodes read before a parse error stay in the tree.
    bool LoadFromStream(ByteView data);
    // Raises StorageError when the file can't be created or written.
    void SaveToFile(const std::filesystem::path& path) const;
    // Appends the document to the buffer.
    void SaveToStream(Bytes& out) const;

    // The first top-level node of that name (letter case ignored), added empty when absent.
    XmlNode& FindOrAddNode(std::u16string_view name);
};

XmlNode& FindOrAddChild(XmlNode& node, std::u16string_view name);
int IndexOfChild(const XmlNode& node, std::u16string_view name);

std::u16string XmlEscape(std::u16string_view text);
std::u16string XmlUnescape(std::u16string_view text);

// Nesting deeper than this makes the parse fail there.
inline constexpr int kMaxXmlDepth = 10000;
