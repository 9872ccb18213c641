// ludra-art SOURCE.svg OUT.jpg: renders a piece of artwork at the pixel size its
// SVG declares and stores it as a JPEG, for embedding among the program's resources.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

constexpr int Quality = 92;

void Fail(const QString& message)
{
    std::fprintf(stderr, "ludra-art: %s\n", qPrintable(message));
}

// The picture must be exactly the size the artist wrote, so only a plain pixel
// width and height on the root element count (no percentages, no other units).
QSize DeclaredPixelSize(const QByteArray& svg)
{
    QXmlStreamReader xml(svg);
    while (!xml.atEnd() && !xml.isStartElement()) {
        xml.readNext();
    }
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg")) {
        return {};
    }
    static const QRegularExpression pixels(QStringLiteral("^\\s*([1-9][0-9]{0,4})\\s*(px)?\\s*$"));
    const auto width = pixels.match(xml.attributes().value(QLatin1String("width")));
    const auto height = pixels.match(xml.attributes().value(QLatin1String("height")));
    if (!width.hasMatch() || !height.hasMatch()) {
        return {};
    }
    return {width.captured(1).toInt(), height.captured(1).toInt()};
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg's default would exit() the process; come back to EncodeJpeg instead.
[[noreturn]] void OnJpegError(j_common_ptr info)
{
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

void SinkStart(j_compress_ptr info)
{
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->manager.next_output_byte = sink->chunk;
    sink->manager.free_in_buffer = sizeof sink->chunk;
}

boolean SinkFlush(j_compress_ptr info)
{
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->bytes->append(reinterpret_cast<const char*>(sink->chunk), sizeof sink->chunk);
    SinkStart(info);
    return TRUE;
}

void SinkEnd(j_compress_ptr info)
{
    auto* sink = reinterpret_cast<JpegSink*>(info->dest);
    const auto used = sizeof sink->chunk - sink->manager.free_in_buffer;
    sink->bytes->append(reinterpret_cast<const char*>(sink->chunk), static_cast<qsizetype>(used));
}

// Only trivially destructible locals here, so the longjmp skips no destructor.
bool EncodeJpeg(const QImage& rgb, QByteArray* out)
{
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
    jpeg_set_quality(&info, Quality, TRUE);
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

int Run(const QString& sourcePath, const QString& outPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1: %2").arg(sourcePath, source.errorString()));
        return 1;
    }
    const QByteArray svg = source.readAll();
    const QSize size = DeclaredPixelSize(svg);
    if (size.isEmpty()) {
        Fail(QStringLiteral("%1: the <svg> element needs a width and height in pixels").arg(sourcePath));
        return 1;
    }
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        Fail(QStringLiteral("%1: not a valid SVG picture").arg(sourcePath));
        return 1;
    }

    // JPEG has no transparency: whatever the artwork leaves uncovered is white.
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), size));
    }

    QByteArray bytes;
    if (!EncodeJpeg(image.convertToFormat(QImage::Format_RGB888), &bytes)) {
        Fail(QStringLiteral("%1: JPEG encoding failed").arg(outPath));
        return 1;
    }

    // A half-written picture must never be taken for a finished one by the build.
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        Fail(QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ludra-art SOURCE.svg OUT.jpg\n");
        return 1;
    }
    // Taken before Qt may strip options it recognises from the command line.
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    // A build machine has no display; rendering needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return Run(source, out);
}
