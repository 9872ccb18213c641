// The memory a shown 1920 x 1200 picture costs, beside its pixels once (24-bit), and the memory
// left at the menu after a set of such pictures ends, beside the memory at the menu before it.
// The real engine runs the set into the real picture window, offscreen; resident memory is read
// from /proc after each step.

#include "SilentReports.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "core/storage/SettingsFile.h"
#include "gui/widgets/Controls.h"
#include "gui/windows/AttachmentWindows.h"
#include "gui/windows/Startup.h"
#include "support/PictureFiles.h"
#include "support/QuestionSets.h"
#include "support/TempDir.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1200;
constexpr double kPixelsMB = kWidth * kHeight * 3 / 1048576.0;

double ResidentMB() {
    std::ifstream status("/proc/self/status");
    for (std::string field; status >> field;) {
        if (field == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
    }
    return 0;
}

// The program's state the runs and the side windows share.
ProgramState& Program() {
    static ProgramState state(SilentBox());
    return state;
}

// A set of questions, each with a picture of its own, written into a fresh folder.
void WritePictureSet(const TempDir& dir, int count) {
    std::vector<QuestionDocument> questions;
    std::vector<PakEntry> pictures;
    for (int i = 0; i < count; ++i) {
        const std::string name = "obraz" + std::to_string(i) + ".jpg";
        questions.push_back(MakeQuestion(3, "Pytanie " + std::to_string(i), "100", name));
        pictures.push_back({name, MakeTestJpeg(kWidth - i, kHeight)});
    }
    WriteQuestionSet(Program().Run, dir.Path() / "zestaw", questions, pictures);
}

// The picture and text windows as the program wires them, beside a stand-in main window.
struct ProgramSideWindows {
    ProgramSideWindows() {
        anchor.setGeometry(100, 50, 790, 581);
        anchor.show();
        Program().Run.SetAttachmentView(&attachments);
        QApplication::processEvents();
    }
    QWidget anchor;
    PictureWindow picture{Program().Run, Program().LearnerSettings};
    TextWindow text{Program().Run, Program().LearnerSettings};
    AttachmentWindows attachments{[this] { return &picture; }, [this] { return &text; },
                                  [this]() -> const QWidget& { return anchor; }};
};

void BM_ShownPictureBesidePixels(benchmark::State& state) {
    TempDir dir;
    WritePictureSet(dir, 1);
    ProgramSideWindows windows;
    double shown = 0;
    for (auto _ : state) {
        const double before = ResidentMB();
        Program().Run.StartSession();
        QApplication::processEvents();
        shown = ResidentMB() - before;
        Program().Run.Resign();
        QApplication::processEvents();
    }
    state.counters["ours_mb"] = shown;
    state.counters["floor_mb"] = kPixelsMB;
    state.counters["ratio"] = shown / kPixelsMB;
}

void BM_MenuAfterASetOfPictures(benchmark::State& state) {
    TempDir dir;
    WritePictureSet(dir, 6);
    ProgramSideWindows windows;
    const double menu = ResidentMB();
    double after = 0;
    for (auto _ : state) {
        Program().Run.StartSession();
        for (int i = 0; i < 6; ++i) {
            Program().Run.Current.Question.Answer(1).Selected = true; // the first answer is the right one
            Program().Run.CheckAnswer();
            Program().Run.NextQuestion();
            QApplication::processEvents();
        }
        Program().Run.Resign();
        QApplication::processEvents();
        after = ResidentMB();
    }
    state.counters["ours_mb"] = after;
    state.counters["floor_mb"] = menu;
    state.counters["ratio"] = after / menu;
    state.counters["left_mb"] = after - menu;
}

} // namespace

BENCHMARK(BM_ShownPictureBesidePixels)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuAfterASetOfPictures)->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ReturnFreedPicturesToTheSystem();
    QApplication application(argc, argv);
    SubstituteFonts();
    Program().LearnerSettings.ConfirmResign = false;
    Program().LearnerSettings.SoundOn = false;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
