#include "support/XmlCheck.h"

#include "core/base/CodePage.h"
#include "support/TempDir.h"

#include <charconv>
#include <cstdlib>

namespace {

bool Forbidden(std::uint32_t c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF;
}

} // namespace

std::string XmlCharProblem(std::string_view xml) {
    // Encoded surrogates count as no UTF-8.
    if (const std::size_t bad = FindInvalidUtf8(xml); bad != std::string_view::npos)
        return "no UTF-8 at byte " + std::to_string(bad);
    for (std::size_t at = 0; at < xml.size(); ++at) {
        const std::string_view rest = xml.substr(at);
        if (Forbidden(static_cast<unsigned char>(rest[0])) || rest.starts_with("\xEF\xBF\xBE") ||
            rest.starts_with("\xEF\xBF\xBF"))
            return "forbidden character at byte " + std::to_string(at);
        if (!rest.starts_with("&#"))
            continue;
        const bool hex = rest.starts_with("&#x");
        std::uint32_t code = 0;
        const auto [end, error] =
            std::from_chars(rest.data() + (hex ? 3 : 2), xml.data() + xml.size(), code, hex ? 16 : 10);
        if (error != std::errc() || Forbidden(code))
            return "forbidden reference at byte " + std::to_string(at);
    }
    return {};
}

std::string XmllintProblem(std::string_view xml) {
    if (std::system("command -v xmllint >/dev/null") != 0)
        return {};
    TempDir dir;
    WriteFileText(dir / "export.xml", xml);
    const std::string command =
        "xmllint --noout '" + (dir / "export.xml").string() + "' 2>'" + (dir / "complaint.txt").string() + "'";
    if (std::system(command.c_str()) == 0)
        return {};
    const std::string complaint = ReadFileText(dir / "complaint.txt").substr(0, 1000);
    return complaint.empty() ? "xmllint failed" : complaint;
}
