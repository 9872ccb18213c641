// Loading a set list and building its tree, from 1,000 to 400,000 entries. The floor of a large
// list is the 1,000-entry list's time scaled by the entry count: the cost of an entry should not
// grow with the list.

#include "FloorRatio.h"
#include "SilentReports.h"
#include "core/base/CodePage.h"
#include "core/selection/SetTree.h"
#include "core/storage/PakWriter.h"
#include "core/storage/SetListFile.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kBaseEntries = 1000;

// A list of categories of 19 sets each, with entries in index order as the authors' tool writes them.
std::filesystem::path WriteList(int entries) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("ludra-list-bench-" + std::to_string(entries) + ".skz");
    std::string body = "<?xml version=\"1.0\"?>\r\n<lsz>\r\n\t<cd>pl</cd>\r\n\t<ilw>" + std::to_string(entries) +
                       "</ilw>\r\n\t<name>Lista zestawów</name>\r\n";
    int category = 0;
    for (int i = 0; i < entries; ++i) {
        const std::string index = std::to_string(i);
        const bool isCategory = i % 20 == 0;
        if (isCategory)
            category = i + 1;
        const std::string line = isCategory ? index + "*0*19*0*1*0*Kategoria " + index + "**"
                                            : index + "*1*0*" + std::to_string(category) + "*0*0*Zestaw " + index +
                                                  "*\\Kategoria\\Zestaw" + index + "*";
        body += "\t<dx" + index + ">" + line + "</dx" + index + ">\r\n";
    }
    body += "</lsz>\r\n";
    const std::string ansi = Utf8ToAnsi(body);
    WritePakFile(path, {{"Selz0.xml", Bytes(ansi.begin(), ansi.end())}});
    return path;
}

const std::filesystem::path& ListOf(int entries) {
    static std::map<int, std::filesystem::path> lists;
    auto [at, added] = lists.try_emplace(entries);
    if (added)
        at->second = WriteList(entries);
    return at->second;
}

void LoadAndBuild(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    SetTree tree;
    ResetSetTree(tree, 260);
    SetListHeader header;
    if (!LoadSetList(path, lines, header, SilentReports()) || !BuildSetTree(tree, lines))
        std::abort();
    benchmark::DoNotOptimize(tree.Entries.data());
}

void BM_LoadSetList(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const std::filesystem::path& list = ListOf(entries);
    const std::filesystem::path& base = ListOf(kBaseEntries);
    const int repeats = entries / kBaseEntries;
    CompareWithFloor(
        state, [&list] { LoadAndBuild(list); },
        [&base, repeats] {
            for (int i = 0; i < repeats; ++i)
                LoadAndBuild(base);
        });
    state.counters["entries"] = entries;
}

BENCHMARK(BM_LoadSetList)->Arg(20'000)->Arg(100'000)->Arg(400'000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
