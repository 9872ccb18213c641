#include "core/storage/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Attribute names lose control characters at their ends when read, so a name read as "\x01/" or,
// in an instruction, "\x01?" is written as one the reader refuses. Every other tree the reader
// builds is written as a document that it reads whole.
bool WritesReadably(const XmlNode& root) {
    std::vector<const XmlNode*> pending{&root};
    while (!pending.empty()) {
        const XmlNode& node = *pending.back();
        pending.pop_back();
        for (const XmlAttribute& attribute : node.Attributes) {
            if (attribute.Name.starts_with(u'/') || (node.Kind == XmlNodeKind::Instruction && attribute.Name == u"?"))
                return false;
        }
        for (int i = 0; i < node.ChildCount(); ++i)
            pending.push_back(node.Child(i));
    }
    return true;
}

} // namespace

// Parses the input and writes whatever tree it left, parse error or not; the written document
// must parse whole again. Escaping the input read as UTF-16 must come back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    XmlDocument document;
    document.LoadFromStream(ByteView(data, size));
    Bytes written;
    document.SaveToStream(written);
    XmlDocument copy;
    if (!written.empty() && !copy.LoadFromStream(written) && WritesReadably(document.Root))
        std::abort();

    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = ReadLittle16(ByteView(data, size), 2 * i);
    if (XmlUnescape(XmlEscape(text)) != text)
        std::abort();
    return 0;
}
