#pragma once

// Times our work and its floor alternately in one run, so both see the same machine state, and
// reports our median as the benchmark's time with the floor's median and their ratio as counters.
// Register with ->UseManualTime().

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace floor_ratio {

template <typename Work> double SecondsOf(Work& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

} // namespace floor_ratio

template <typename Ours, typename Floor> void CompareWithFloor(benchmark::State& state, Ours ours, Floor floor) {
    std::vector<double> oursSeconds, floorSeconds;
    for (auto _ : state) {
        floorSeconds.push_back(floor_ratio::SecondsOf(floor));
        oursSeconds.push_back(floor_ratio::SecondsOf(ours));
        state.SetIterationTime(oursSeconds.back());
    }
    const double oursMedian = floor_ratio::Median(oursSeconds), floorMedian = floor_ratio::Median(floorSeconds);
    state.counters["ours_ms"] = oursMedian * 1e3;
    state.counters["floor_ms"] = floorMedian * 1e3;
    state.counters["ratio"] = floorMedian > 0 ? oursMedian / floorMedian : 0;
}
