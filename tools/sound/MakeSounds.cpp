// ludra-sounds OUTDIR | --help: synthesises the program's three short sounds as 16-bit PCM
// mono WAV files (Ruch.wav, Blond.wav, Final.wav), so no recorded audio is shipped.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Note {
    double start;     // seconds
    double length;    // seconds
    double frequency; // Hz; a glide ends at endFrequency
    double endFrequency;
    double level; // peak amplitude, 0..1
};

// Bell-like partials with a short raised-cosine attack and an exponential decay
// that reaches silence through a cosine release, so no note starts or ends with a click.
void AddNote(std::vector<double>& samples, const Note& note) {
    const int first = static_cast<int>(note.start * kRate);
    const int count = static_cast<int>(note.length * kRate);
    const double attack = 0.008;
    const double release = 0.04;
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double progress = static_cast<double>(i) / count;
        const double frequency = note.frequency + (note.endFrequency - note.frequency) * progress;
        phase += 2.0 * std::numbers::pi * frequency / kRate;
        double envelope = std::exp(-t * 5.0 / note.length);
        if (t < attack)
            envelope *= 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
        const double tail = note.length - t;
        if (tail < release)
            envelope *= 0.5 - 0.5 * std::cos(std::numbers::pi * tail / release);
        const double tone = std::sin(phase) + 0.30 * std::sin(2.0 * phase) + 0.12 * std::sin(3.0 * phase);
        const std::size_t at = static_cast<std::size_t>(first + i);
        if (at < samples.size())
            samples[at] += note.level * envelope * tone / 1.42;
    }
}

std::vector<double> Render(double seconds, const std::vector<Note>& notes) {
    std::vector<double> samples(static_cast<std::size_t>(seconds * kRate), 0.0);
    for (const Note& note : notes)
        AddNote(samples, note);
    return samples;
}

void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

bool WriteWave(const std::filesystem::path& path, const std::vector<double>& samples) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    PutLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLe(out, 16, 4); // fmt chunk size
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, kRate, 4);
    PutLe(out, kRate * 2, 4); // byte rate
    PutLe(out, 2, 2);         // block align
    PutLe(out, 16, 2);        // bits per sample
    out.write("data", 4);
    PutLe(out, dataBytes, 4);
    for (double sample : samples) {
        const double clamped = std::clamp(sample, -1.0, 1.0);
        const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0));
        PutLe(out, static_cast<std::uint16_t>(value), 2);
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ludra-sounds"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Synthesises the program's sounds as WAV files."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("The folder to write them into."));
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (!parsed || parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "ludra-sounds: %s\n%s", parsed ? "expected OUTDIR" : qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
        return 2;
    }
    const std::filesystem::path dir = QFile::encodeName(parser.positionalArguments()[0]).toStdString();
    std::error_code error;
    std::filesystem::create_directories(dir, error);

    // Right answer: two rising notes a fifth apart (E5, B5), the second overlapping the first.
    const auto ruch = Render(0.45, {
                                       {0.00, 0.22, 659.25, 659.25, 0.70},
                                       {0.11, 0.34, 987.77, 987.77, 0.70},
                                   });
    // Wrong answer: a soft, low tone sliding down, with little upper partial energy.
    const auto blond = Render(0.40, {
                                        {0.00, 0.40, 220.00, 174.61, 0.70},
                                    });
    // End of the set: a quick rising C major arpeggio ending on the octave.
    const auto final = Render(0.80, {
                                        {0.00, 0.25, 523.25, 523.25, 0.48},
                                        {0.09, 0.25, 659.25, 659.25, 0.48},
                                        {0.18, 0.25, 783.99, 783.99, 0.48},
                                        {0.27, 0.53, 1046.50, 1046.50, 0.60},
                                    });

    const bool ok =
        WriteWave(dir / "Ruch.wav", ruch) && WriteWave(dir / "Blond.wav", blond) && WriteWave(dir / "Final.wav", final);
    if (!ok) {
        std::fprintf(stderr, "ludra-sounds: cannot write into %s\n", dir.string().c_str());
        return 1;
    }
    return 0;
}
