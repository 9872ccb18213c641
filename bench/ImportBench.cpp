// A 5,000-question bank in each quiz format: reading it, and the whole import into a set
// folder (5,000 question files written). A teacher's largest bank should take a second or two.
// Beside it, the shapes that once grew faster than the bank: one large picture shown by 40
// questions (its peak memory must stay near one picture's), and a bank of 20,000 categories
// (the plan of their folders must grow with their count, not its square).

#include "PeakMemory.h"
#include "support/PngChunks.h"
#include "support/TempDir.h"
#include "tools/skq/SkqCommands.h"
#include "tools/skq/SkqFolderPlan.h"
#include "tools/skq/formats/SourceBank.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kQuestions = 5000;

std::vector<skq::SourceQuestion> Bank() {
    std::vector<skq::SourceQuestion> bank;
    for (int i = 0; i < kQuestions; ++i) {
        skq::SourceQuestion question;
        question.Category = {"Dział " + std::to_string(i / 500 + 1)};
        question.Text.Text = "Pytanie " + std::to_string(i + 1) + ": która odpowiedź jest właściwa? Zażółć gęślą jaźń.";
        for (int a = 0; a < 4; ++a) {
            question.Answers.push_back(
                {"Odpowiedź " + std::string(1, char('A' + a)) + " do pytania " + std::to_string(i + 1), false});
            question.Right.push_back(a == i % 4 || (i % 3 == 0 && a == (i + 1) % 4));
        }
        question.SeveralRight = i % 3 == 0;
        question.Hint.Text = "Podpowiedź " + std::to_string(i + 1);
        bank.push_back(std::move(question));
    }
    return bank;
}

std::string Aiken(const std::vector<skq::SourceQuestion>& bank) {
    std::string text;
    for (const skq::SourceQuestion& question : bank) {
        text += question.Text.Text + "\n";
        std::string right;
        for (std::size_t a = 0; a < question.Answers.size(); ++a) {
            const char letter = static_cast<char>('A' + a);
            text += std::string(1, letter) + ") " + question.Answers[a].Text + "\n";
            if (question.Right[a])
                right += std::string(right.empty() ? "" : ", ") + letter;
        }
        text += "ANSWER: " + right + "\n\n";
    }
    return text;
}

std::string Csv(const std::vector<skq::SourceQuestion>& bank) {
    std::string text = "pytanie;A;B;C;D;E;poprawne;podpowiedź;obrazek;kategoria\n";
    for (const skq::SourceQuestion& question : bank) {
        std::string right;
        text += question.Text.Text;
        for (std::size_t a = 0; a < 5; ++a) {
            text += ";" + (a < question.Answers.size() ? question.Answers[a].Text : "");
            if (a < question.Right.size() && question.Right[a])
                right += static_cast<char>('A' + a);
        }
        text += ";" + right + ";" + question.Hint.Text + ";;" + question.Category.front() + "\n";
    }
    return text;
}

struct Source {
    const char* Format;
    std::string Text;
    skq::SourceBank (*Read)(std::string_view);
};

const std::vector<Source>& Sources() {
    static const std::vector<Source> sources = [] {
        const std::vector<skq::SourceQuestion> bank = Bank();
        return std::vector<Source>{{"aiken", Aiken(bank), skq::ReadAiken},
                                   {"gift", skq::WriteGift(bank), skq::ReadGift},
                                   {"moodle", skq::WriteMoodleXml(bank), skq::ReadMoodleXml},
                                   {"csv", Csv(bank), skq::ReadCsv}};
    }();
    return sources;
}

void BM_ReadBank(benchmark::State& state) {
    const Source& source = Sources()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(source.Format);
    for (auto _ : state) {
        const skq::SourceBank bank = source.Read(source.Text);
        if (bank.Questions.size() != kQuestions)
            state.SkipWithError("not every question was read");
        benchmark::DoNotOptimize(bank.Questions.data());
    }
    state.SetItemsProcessed(state.iterations() * kQuestions);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.Text.size()));
}

// The command as a teacher runs it: read, convert, write every question file.
void BM_ImportBank(benchmark::State& state) {
    const Source& source = Sources()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(source.Format);
    TempDir dir;
    WriteFileText(dir / "bank.txt", source.Text);
    int run = 0;
    for (auto _ : state) {
        std::istringstream in;
        std::ostringstream out, err;
        const std::string folder = (dir / ("out" + std::to_string(++run))).string();
        if (RunSkq({"import", (dir / "bank.txt").string(), folder, "--format", source.Format}, in, out, err) != 0)
            state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * kQuestions);
}

// Forty questions showing one PNG that is 27 MB as a BMP: converted once, one picture held at a time.
void BM_ImportSharedPicture(benchmark::State& state) {
    constexpr int kSharing = 40;
    TempDir dir;
    WriteFileBytes(dir / "wykres.png", GradientPng(3000, 3000));
    std::string gift;
    for (int i = 1; i <= kSharing; ++i)
        gift += "[html]Wykres " + std::to_string(i) + R"(: <img src="wykres.png"> {=a ~b ~c})" + "\n\n";
    WriteFileText(dir / "bank.gift", gift);
    int run = 0;
    double peak = 0;
    for (auto _ : state) {
        ResetPeakMemory();
        std::istringstream in;
        std::ostringstream out, err;
        const std::string folder = (dir / ("out" + std::to_string(++run))).string();
        if (RunSkq({"import", (dir / "bank.gift").string(), folder}, in, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        peak = std::max(peak, PeakMemoryMB());
    }
    state.counters["peak_MB"] = peak;
    state.counters["bmp_MB"] = 3000.0 * 3000 * 3 / (1 << 20);
    state.SetItemsProcessed(state.iterations() * kSharing);
}

// Folders for a bank of N categories, each with a subcategory: linear in N.
void BM_PlanCategories(benchmark::State& state) {
    std::vector<std::vector<std::string>> categories;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        categories.push_back({"Dział " + std::to_string(i % 100), "Temat " + std::to_string(i)});
        categories.push_back({"Dział " + std::to_string(i % 100), "Temat " + std::to_string(i), "Powtórka"});
    }
    for (auto _ : state) {
        skq::FolderPlan plan("Zestawy");
        benchmark::DoNotOptimize(skq::PlanSets(categories, plan, "bank").data());
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_ReadBank)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBank)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportSharedPicture)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PlanCategories)->RangeMultiplier(2)->Range(2500, 20000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

BENCHMARK_MAIN();
