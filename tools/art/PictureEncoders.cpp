#include "tools/art/PictureEncoders.h"

#include <QBuffer>
#include <QList>
#include <QRgb>
#include <QSaveFile>
#include <gif_lib.h>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr int kJpegQuality = 92;
constexpr int kPaletteSize = 256;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg's default would exit() the process; come back to CompressJpeg instead.
[[noreturn]] void OnJpegError(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    std::fprintf(stderr, "ludra-art: libjpeg: %s\n", text);
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Collects the compressed bytes in a buffer owned by the caller.
struct JpegSink {
    jpeg_destination_mgr manager;
    QByteArray* bytes;
    JOCTET chunk[16384];
};

void SinkStart(j_compress_ptr info) {
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->manager.next_output_byte = sink->chunk;
    sink->manager.free_in_buffer = sizeof sink->chunk;
}

boolean SinkFlush(j_compress_ptr info) {
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->bytes->append(reinterpret_cast<const char*>(sink->chunk), sizeof sink->chunk);
    SinkStart(info);
    return TRUE;
}

void SinkEnd(j_compress_ptr info) {
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    const auto used = sizeof sink->chunk - sink->manager.free_in_buffer;
    sink->bytes->append(reinterpret_cast<const char*>(sink->chunk), static_cast<qsizetype>(used));
}

// Only trivially destructible locals here, so the longjmp skips no destructor.
bool CompressJpeg(const QImage& rgb, QByteArray* out) {
    jpeg_compress_struct info;
    JpegError error;
    JpegSink sink;
    sink.manager.init_destination = SinkStart;
    sink.manager.empty_output_buffer = SinkFlush;
    sink.manager.term_destination = SinkEnd;
    sink.bytes = out;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    info.dest = &sink.manager;
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    info.optimize_coding = TRUE;
    // Full-resolution colour keeps small coloured lettering sharp.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

int AppendGifBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

} // namespace

QImage ReduceToPalette(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, qsizetype> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++counts[row[x]];
    }
    std::vector<std::pair<QRgb, qsizetype>> byFrequency(counts.begin(), counts.end());
    const auto kept = std::min<std::size_t>(byFrequency.size(), kPaletteSize);
    // Ties go by colour value, so the same drawing always gives the same file.
    std::partial_sort(
        byFrequency.begin(), byFrequency.begin() + static_cast<std::ptrdiff_t>(kept), byFrequency.end(),
        [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
    QList<QRgb> table;
    for (std::size_t i = 0; i < kept; ++i)
        table.push_back(byFrequency[i].first);
    // A full table: a BMP writer would store a picture of few colours with 4 bits a pixel.
    table.resize(kPaletteSize, qRgb(0, 0, 0));
    return rgb.convertToFormat(QImage::Format_Indexed8, table);
}

std::optional<QByteArray> EncodeJpeg(const QImage& picture) {
    QByteArray bytes;
    if (!CompressJpeg(picture.convertToFormat(QImage::Format_RGB888), &bytes))
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> EncodeGif(const QImage& picture) {
    QImage indexed = ReduceToPalette(picture);
    std::array<GifColorType, kPaletteSize> colours{};
    for (int i = 0; i < kPaletteSize; ++i) {
        const QRgb colour = indexed.color(i);
        colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(qRed(colour)),
                                                static_cast<GifByteType>(qGreen(colour)),
                                                static_cast<GifByteType>(qBlue(colour))};
    }
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendGifBytes, &error);
    if (gif == nullptr)
        return std::nullopt;
    ColorMapObject* map = GifMakeMapObject(kPaletteSize, colours.data());
    const int width = indexed.width();
    const int height = indexed.height();
    bool written = map != nullptr && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    // The encoder masks each row in place, so it gets the picture's own writable rows.
    for (int y = 0; written && y < height; ++y)
        written = EGifPutLine(gif, indexed.scanLine(y), width) == GIF_OK;
    GifFreeMapObject(map);
    written = EGifCloseFile(gif, &error) == GIF_OK && written;
    if (!written)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> EncodeBmp(const QImage& picture, bool palette) {
    // Qt stores a 32-bit picture with 24 bits a pixel and a 256-colour one with 8.
    const QImage stored = palette ? ReduceToPalette(picture) : picture.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !stored.save(&buffer, "BMP"))
        return std::nullopt;
    return bytes;
}

std::optional<QString> WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    return std::nullopt;
}
