// The folder scan of a set with 10,000 question files beside its floor: the folder read with
// readdir and the same names sorted ignoring case.

#include "FloorRatio.h"
#include "core/selection/SetFolders.h"

#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 10'000;

// Names as authors give them: mixed case, Polish letters, numbers that don't sort as numbers.
struct Folder {
    std::filesystem::path Path = std::filesystem::temp_directory_path() / "ludra-scan-bench";

    Folder() {
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
        const char* const stems[] = {"Pytanie", "pytanie", "ŻÓŁW", "żółw", "Ćwiczenie", "zadanie"};
        const char* const endings[] = {".skq", ".SKQ", ".Skq"};
        for (int i = 0; i < kFiles; ++i)
            std::ofstream(Path / (std::string(stems[i % 6]) + std::to_string(i * 7919 % kFiles) + endings[i % 3]));
    }
    ~Folder() { std::filesystem::remove_all(Path); }
};

std::vector<std::string> ReadAndSortAlone(const std::filesystem::path& path) {
    std::vector<std::string> names;
    DIR* folder = opendir(path.c_str());
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    closedir(folder);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return names;
}

void BM_ScanFolder(benchmark::State& state) {
    static const Folder folder;
    CompareWithFloor(
        state,
        [] {
            std::vector<std::string> files;
            ListQuestionFiles(folder.Path, files);
            if (files.size() != kFiles)
                std::abort();
            benchmark::DoNotOptimize(files.data());
        },
        [] { benchmark::DoNotOptimize(ReadAndSortAlone(folder.Path).data()); });
}

BENCHMARK(BM_ScanFolder)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
