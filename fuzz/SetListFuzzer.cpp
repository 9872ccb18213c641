// Loads a set list whose document is the input, parses every entry line and builds its tree.
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/selection/SetTree.h"
#include "core/storage/PakWriter.h"
#include "core/storage/SetListFile.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes pak = BuildPak({{"Selz0.xml", Bytes(data, data + size)}});
    std::vector<std::string> lines;
    SetListHeader header;
    const Journal journal;
    UnseenBox box;
    if (LoadSetList(FuzzFile(pak.data(), pak.size()), lines, header, {journal, box})) {
        if (lines.size() > size)
            __builtin_trap(); // no line without its element in the input
        for (const std::string& line : lines) {
            SetListEntry entry;
            ParseEntryLine(line, entry);
        }
        // The set list window's tree of them: rows clicked, opened or closed, scrolled and drawn.
        SetTree tree;
        ResetSetTree(tree, 260);
        BuildSetTree(tree, lines);
        for (int row = 0; row < tree.VisibleCount && row < 64; ++row) {
            SelectSetTreeRow(tree, kTreeFirstRowTop + kTreeRowHeight * row);
            ToggleSetTreeEntry(tree);
            ScrollSetTree(tree, FitSetTreeScrollBar(tree).Max);
            SetTreePictureTop(tree);
            DrawSetTree(tree);
        }
    }
    return 0;
}
