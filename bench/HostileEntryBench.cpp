// Archives whose entries claim far more than they hold: a few kilobytes on disk (sparse), up to 2 GB claimed.
// Each kind of entry is refused at its cap before anything is read, so the time is the archive's open and the
// peak memory stays where it was. Reports the peak memory of each case as a counter (MB).

#include "PeakMemory.h"
#include "SilentReports.h"
#include "core/session/QuestionLoader.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SetListFile.h"
#include "support/SparseEntry.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

bool OpenQuestion(const std::filesystem::path& path) {
    LoadedQuestion loaded;
    Random random;
    return OpenQuestionFile(path, loaded, SilentReports(), random);
}

constexpr std::int32_t kTwoGigabytes = 0x7FFFFFF0;

QuestionDocument SampleQuestion() {
    QuestionDocument question;
    question.AnswerCount = 3;
    question.QuestionText = "Pytanie";
    question.Answers = {"a", "b", "c", "", ""};
    question.Key = "100";
    question.PictureName = "obraz.bmp";
    question.TextName = "opis.txt";
    return question;
}

// A question whose named entry claims 2 GB.
std::filesystem::path SparseQuestion(const char* entry) {
    const auto path =
        std::filesystem::temp_directory_path() / ("ludra-hostile-" + std::to_string(::getpid()) + "-" + entry + ".skq");
    WritePakFile(
        path,
        {{"Sezz0.xml", WriteQuestion40(SampleQuestion())}, {"obraz.bmp", Bytes(64, 0)}, {"opis.txt", Bytes(64, 'x')}});
    ClaimEntrySize(path, entry, kTwoGigabytes);
    return path;
}

std::filesystem::path SparseSetList() {
    const auto path = std::filesystem::temp_directory_path() / ("ludra-hostile-" + std::to_string(::getpid()) + ".skz");
    WritePakFile(path, {{"Selz0.xml", Bytes{'<', 'l', 's', 'z', '/', '>'}}});
    ClaimEntrySize(path, "Selz0.xml", kTwoGigabytes);
    return path;
}

template <typename Load> void Measure(benchmark::State& state, const std::filesystem::path& path, Load load) {
    ResetPeakMemory();
    const double before = PeakMemoryMB();
    for (auto _ : state)
        benchmark::DoNotOptimize(load(path));
    state.counters["peak_MB_above_start"] = PeakMemoryMB() - before;
    std::filesystem::remove(path);
}

void BM_QuestionDocumentClaiming2GB(benchmark::State& state) {
    Measure(state, SparseQuestion("Sezz0.xml"), OpenQuestion);
}

void BM_PictureClaiming2GB(benchmark::State& state) { Measure(state, SparseQuestion("obraz.bmp"), OpenQuestion); }

void BM_AttachedTextClaiming2GB(benchmark::State& state) { Measure(state, SparseQuestion("opis.txt"), OpenQuestion); }

void BM_SetListClaiming2GB(benchmark::State& state) {
    std::vector<std::string> lines;
    Measure(state, SparseSetList(), [&lines](const std::filesystem::path& path) {
        SetListHeader header;
        return LoadSetList(path, lines, header, SilentReports());
    });
}

} // namespace

BENCHMARK(BM_QuestionDocumentClaiming2GB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureClaiming2GB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttachedTextClaiming2GB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetListClaiming2GB)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
