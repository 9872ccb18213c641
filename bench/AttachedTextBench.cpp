// The text window showing the longest attached texts the loader lets through,
// beside an ordinary one: putting the text in, fitting the scroll bar and the first
// paint. The learner must get the program back well within a tenth of a second.
// Peak memory is reported as counters: before the first showing (the text itself counts in it) and during.

#include "PeakMemory.h"
#include "SilentReports.h"
#include "core/session/ProgramState.h"
#include "gui/widgets/Controls.h"
#include "gui/windows/TextWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

namespace {

TextLines UnbrokenLine(std::size_t bytes) { return {std::string(bytes, 'x')}; }

TextLines ShortLines(int count) {
    TextLines lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.push_back("w" + std::to_string(i));
    return lines;
}

// About 20 KB of prose in short paragraphs: what a real attached text looks like.
TextLines OrdinaryText() {
    const std::string sentence = "Zdanie z kilkoma wyrazami, jakie bywa w tekstach do pytań testowych. ";
    TextLines lines;
    std::size_t size = 0;
    while (size < 20 * 1024) {
        std::string paragraph;
        for (int i = 0; i < 6; ++i)
            paragraph += sentence;
        size += paragraph.size() + 1;
        lines.push_back(std::move(paragraph));
    }
    return lines;
}

// Every byte but those that end a line or the text, mostly without a space: letters,
// tabs and control characters in the mix that costs the layout most.
TextLines RandomBytes(std::size_t size) {
    std::string line(size, ' ');
    std::uint32_t state = 1;
    for (char& c : line) {
        do {
            state = state * 1103515245u + 12345u;
            c = static_cast<char>(state >> 16);
        } while (c == '\0' || c == '\r' || c == '\n');
    }
    return {line};
}

// The program's state the text window reads its text from.
ProgramState& Program() {
    static ProgramState state(SilentBox());
    return state;
}

// The text window opened beside a stand-in main window.
struct OpenTextWindow {
    OpenTextWindow() {
        anchor.setGeometry(100, 50, 900, 600);
        anchor.show();
        window.Open(anchor);
        QApplication::processEvents();
    }
    QWidget anchor;
    TextWindow window{Program().Run, Program().LearnerSettings};
};

// One showing per iteration in a fresh window, as a new question brings its text.
// Peak memory is given before the first showing too: the text itself counts in it.
void ShowText(benchmark::State& state, TextLines lines) {
    Program().Run.Current.AttachedText = std::move(lines);
    ResetPeakMemory();
    state.counters["peak_before_MB"] = PeakMemoryMB();
    for (auto _ : state) {
        state.PauseTiming();
        auto open = std::make_unique<OpenTextWindow>();
        state.ResumeTiming();

        open->window.ShowAttachedText("tekst.txt");
        open->window.findChild<QPlainTextEdit*>(QStringLiteral("Mtekst"))->viewport()->repaint();
        QApplication::processEvents();

        state.PauseTiming();
        open.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = PeakMemoryMB();
    Program().Run.Current.AttachedText.clear();
}

// A new font size lays the shown text out again; each iteration is one change.
void BM_FontSizeChange2MLines(benchmark::State& state) {
    OpenTextWindow open;
    Program().Run.Current.AttachedText = ShortLines(2'000'000);
    open.window.ShowAttachedText("tekst.txt");
    for (auto _ : state) {
        if (open.window.TextFontSize() == kDefaultTextFontSize)
            open.window.GrowClick();
        else
            open.window.ShrinkClick();
        QApplication::processEvents();
    }
    Program().Run.Current.AttachedText.clear();
}

void BM_Ordinary20KB(benchmark::State& state) { ShowText(state, OrdinaryText()); }
void BM_UnbrokenLine1MB(benchmark::State& state) { ShowText(state, UnbrokenLine(1 << 20)); }
void BM_UnbrokenLine4MB(benchmark::State& state) { ShowText(state, UnbrokenLine(4 << 20)); }
void BM_ShortLines2M(benchmark::State& state) { ShowText(state, ShortLines(2'000'000)); }
void BM_RandomBytes1MB(benchmark::State& state) { ShowText(state, RandomBytes(1 << 20)); }

} // namespace

BENCHMARK(BM_Ordinary20KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnbrokenLine1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomBytes1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortLines2M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnbrokenLine4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FontSizeChange2MLines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    SubstituteFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
