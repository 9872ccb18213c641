// Loading a question with a full-screen JPEG picture, beside reading the same JPEG
// file and decoding it with libjpeg alone: decoding is the floor, and everything
// else the loader does (archive, document, answer order) should be nearly free.

#include "FloorRatio.h"
#include "SilentReports.h"
#include "core/session/QuestionLoader.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "support/PictureFiles.h"

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1200;

struct Files {
    std::filesystem::path Folder = std::filesystem::temp_directory_path() / "ludra-question-bench";
    std::filesystem::path Question = Folder / "pytanie.skq";
    std::filesystem::path Picture = Folder / "obraz.jpg";

    Files() {
        std::filesystem::create_directories(Folder);
        const Bytes jpeg = MakeTestJpeg(kWidth, kHeight);
        std::ofstream(Picture, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
        QuestionDocument question;
        question.AnswerCount = 4;
        question.QuestionText = "Który kontynent pokazuje mapa?";
        question.Answers = {"Europa", "Azja", "Afryka", "Australia", ""};
        question.Key = "1000";
        question.PictureName = "obraz.jpg";
        WritePakFile(Question, {{"Sezz0.xml", WriteQuestion40(question)}, {"obraz.jpg", jpeg}});
    }
    ~Files() { std::filesystem::remove_all(Folder); }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void OpenQuestion() {
    LoadedQuestion loaded;
    Random random;
    if (!OpenQuestionFile(TheFiles().Question, loaded, SilentReports(), random))
        std::abort();
    benchmark::DoNotOptimize(loaded.Picture.Pixels.data());
}

// The floor: the file read whole, then decoded to RGB rows by libjpeg with nothing around it.
void ReadAndDecodeJpegAlone() {
    std::ifstream in(TheFiles().Picture, std::ios::binary);
    const Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, data.data(), data.size());
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    Bytes pixels(static_cast<std::size_t>(decoder.output_width) * decoder.output_height * 3);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = pixels.data() + static_cast<std::size_t>(decoder.output_scanline) * decoder.output_width * 3;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    benchmark::DoNotOptimize(pixels.data());
}

void BM_OpenQuestionFile(benchmark::State& state) {
    for (auto _ : state)
        OpenQuestion();
}

void BM_ReadAndDecodeJpegAlone(benchmark::State& state) {
    for (auto _ : state)
        ReadAndDecodeJpegAlone();
}

void BM_OpenQuestionBesideFloor(benchmark::State& state) {
    CompareWithFloor(state, OpenQuestion, ReadAndDecodeJpegAlone);
}

BENCHMARK(BM_OpenQuestionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndDecodeJpegAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenQuestionBesideFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
