// ludra-art SOURCE.svg OUT [--palette] [--scale N]: renders a picture at the pixel size its SVG
// declares (N times it with --scale, for screens of higher density) and stores it in the form
// OUT's extension names: .jpg, .gif, or .bmp (24 bits a pixel, or with --palette 8 bits and a
// 256-colour palette).

#include "tools/art/PictureEncoders.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

enum class FileKind { Jpeg, Gif, Bmp, PaletteBmp };

struct Job {
    QString Source;
    QString Out;
    FileKind Kind = FileKind::Jpeg;
    int Scale = 1;
};

constexpr int kLargestScale = 4;

void Fail(const QString& message) { std::fprintf(stderr, "ludra-art: %s\n", qPrintable(message)); }

std::optional<int> ParseScale(const char* text) {
    bool ok = false;
    const int scale = QByteArray(text).toInt(&ok);
    if (!ok || scale < 1 || scale > kLargestScale)
        return std::nullopt;
    return scale;
}

std::optional<Job> ParseArguments(int argc, char** argv) {
    if (argc < 3)
        return std::nullopt;
    Job job{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])};
    bool palette = false;
    bool scaled = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--palette") == 0 && !palette) {
            palette = true;
        } else if (std::strcmp(argv[i], "--scale") == 0 && !scaled && i + 1 < argc) {
            const std::optional<int> scale = ParseScale(argv[++i]);
            if (!scale)
                return std::nullopt;
            job.Scale = *scale;
            scaled = true;
        } else {
            return std::nullopt;
        }
    }
    const QString out = job.Out.toLower();
    if (out.endsWith(QLatin1String(".bmp")))
        job.Kind = palette ? FileKind::PaletteBmp : FileKind::Bmp;
    else if (palette)
        return std::nullopt;
    else if (out.endsWith(QLatin1String(".gif")))
        job.Kind = FileKind::Gif;
    else if (out.endsWith(QLatin1String(".jpg")))
        job.Kind = FileKind::Jpeg;
    else
        return std::nullopt;
    return job;
}

// The picture must be exactly the size the artist wrote, so only a plain pixel
// width and height on the root element count (no percentages, no other units).
QSize DeclaredPixelSize(const QByteArray& svg) {
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

std::optional<QImage> Render(const QString& sourcePath, int scale) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1: %2").arg(sourcePath, source.errorString()));
        return std::nullopt;
    }
    const QByteArray svg = source.readAll();
    const QSize size = DeclaredPixelSize(svg);
    if (size.isEmpty()) {
        Fail(QStringLiteral("%1: the <svg> element needs a width and height in pixels").arg(sourcePath));
        return std::nullopt;
    }
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        Fail(QStringLiteral("%1: not a valid SVG picture").arg(sourcePath));
        return std::nullopt;
    }

    // None of the files has transparency: whatever the artwork leaves uncovered is white.
    QImage image(size * scale, QImage::Format_RGB32);
    if (image.isNull()) {
        Fail(QStringLiteral("%1: too large to render").arg(sourcePath));
        return std::nullopt;
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), image.size()));
    painter.end();
    return image;
}

std::optional<QByteArray> Encode(const QImage& image, FileKind kind) {
    switch (kind) {
    case FileKind::Jpeg: return EncodeJpeg(image);
    case FileKind::Gif: return EncodeGif(image);
    case FileKind::Bmp: return EncodeBmp(image, false);
    case FileKind::PaletteBmp: return EncodeBmp(image, true);
    }
    return std::nullopt;
}

int Run(const Job& job) {
    const std::optional<QImage> image = Render(job.Source, job.Scale);
    if (!image) {
        return 1;
    }
    const std::optional<QByteArray> bytes = Encode(*image, job.Kind);
    if (!bytes) {
        Fail(QStringLiteral("%1: encoding failed").arg(job.Out));
        return 1;
    }
    if (const std::optional<QString> problem = WriteWhole(job.Out, *bytes)) {
        Fail(*problem);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Taken before Qt may strip options it recognises from the command line.
    const std::optional<Job> job = ParseArguments(argc, argv);
    if (!job) {
        std::fprintf(stderr,
                     "usage: ludra-art SOURCE.svg OUT.jpg|OUT.gif|OUT.bmp [--palette (BMP only)] [--scale 1-4]\n");
        return 1;
    }
    // A build machine has no display; rendering needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return Run(*job);
}
