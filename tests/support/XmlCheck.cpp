#include "support/XmlCheck.h"

#include "support/TempDir.h"

#include <cstdlib>

std::string XmllintProblem(std::string_view xml) {
    TempDir dir;
    WriteFileText(dir / "export.xml", xml);
    const std::string command =
        "xmllint --noout '" + (dir / "export.xml").string() + "' 2>'" + (dir / "complaint.txt").string() + "'";
    if (std::system(command.c_str()) == 0)
        return {};
    const std::string complaint = ReadFileText(dir / "complaint.txt").substr(0, 1000);
    return complaint.empty() ? "xmllint failed (is it installed?)" : complaint;
}
