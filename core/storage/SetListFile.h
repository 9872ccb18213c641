#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The header of a set list; nothing but authors' tools look at it.
struct SetListHeader {
    std::string Name;
    std::string Dtu = "0";
    std::string Uwg;
};

class Journal;
struct Reporting;
class PackArchive;

// Reads the set list file's entry lines (Windows-1250) in index order. On false the
// failure has been written to the journal and shown in the message box.
// The lines end before the first entry element the document lacks: the set tree
// stops at an empty line, and a count the file does not back can't make it allocate.
bool LoadSetList(const std::filesystem::path& path, std::vector<std::string>& lines, SetListHeader& header,
                 const Reporting& reports);
bool ReadSetList40(const PackArchive& pak, std::vector<std::string>& lines, SetListHeader& header,
                   const Journal& journal);
