// Loads a set list whose document is the input and parses every entry line.
#include "fuzz/FuzzFile.h"
#include "selection/UTree.h"
#include "storage/PakWriter.h"
#include "storage/SetListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes pak = BuildPak({{"Selz0.xml", Bytes(data, data + size)}});
    std::vector<std::string> lines;
    if (LoadSetList(FuzzFile(pak.data(), pak.size()), lines)) {
        if (lines.size() > size)
            __builtin_trap();  // no line without its element in the input
        for (const std::string& line : lines) {
            SetListEntry entry;
            ParseEntryLine(line, entry);
        }
    }
    return 0;
}
