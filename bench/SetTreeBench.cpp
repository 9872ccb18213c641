// The set list window's tree with a large list: 1,000 categories of 19 sets each.
// Building it runs at every opening of the window, drawing at every click, so both
// should stay far below what a learner could notice.

#include "core/selection/SetTree.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kCategories = 1000;
constexpr int kSetsPerCategory = 19;

// Entry lines: id, level, descendant count, parent id, visible, state, name, folder.
std::vector<std::string> LargeList() {
    std::vector<std::string> lines;
    int id = 0;
    for (int c = 0; c < kCategories; ++c) {
        const int category = ++id;
        lines.push_back(std::to_string(category) + "*0*" + std::to_string(kSetsPerCategory) + "*0*1*0*Kategoria " +
                        std::to_string(c) + "**");
        for (int s = 0; s < kSetsPerCategory; ++s)
            lines.push_back(std::to_string(++id) + "*1*0*" + std::to_string(category) + "*0*0*Zestaw " +
                            std::to_string(s) + "*\\Kategoria" + std::to_string(c) + "\\Zestaw" + std::to_string(s) +
                            "*");
    }
    return lines;
}

const std::vector<std::string>& TheList() {
    static const std::vector<std::string> lines = LargeList();
    return lines;
}

void BM_BuildSetTree(benchmark::State& state) {
    for (auto _ : state) {
        SetTree tree;
        ResetSetTree(tree, 260);
        if (!BuildSetTree(tree, TheList()))
            state.SkipWithError("the list did not build");
        benchmark::DoNotOptimize(tree.Entries.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheList().size()));
}

// A double click on a category in the middle of the closed list, opened and closed again.
void BM_ToggleCategory(benchmark::State& state) {
    SetTree tree;
    ResetSetTree(tree, 260);
    BuildSetTree(tree, TheList());
    const int row = kCategories / 2;
    for (auto _ : state) {
        SelectSetTreeRow(tree, kTreeFirstRowTop + kTreeRowHeight * row);
        ToggleSetTreeEntry(tree);
        ToggleSetTreeEntry(tree);
    }
}

// Every category open: 20,000 rows laid out.
void BM_DrawOpenTree(benchmark::State& state) {
    SetTree tree;
    ResetSetTree(tree, 260);
    BuildSetTree(tree, TheList());
    for (int c = kCategories - 1; c >= 0; --c) {
        SelectSetTreeRow(tree, kTreeFirstRowTop + kTreeRowHeight * c);
        ToggleSetTreeEntry(tree);
    }
    for (auto _ : state) {
        const std::vector<SetTreeRow> rows = DrawSetTree(tree);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(tree.VisibleCount);
}

BENCHMARK(BM_BuildSetTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleCategory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawOpenTree)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
