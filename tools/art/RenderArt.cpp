// ludra-art SOURCE.svg OUT [--palette] [--scale N] | --help: renders a picture at the pixel size its SVG
// declares (N times it with --scale, for screens of higher density) and stores it in the form
// OUT's extension names: .jpg, .gif, or .bmp (24 bits a pixel, or with --palette 8 bits and a
// 256-colour palette).

#include "tools/art/ArtToolMain.h"
#include "tools/art/PictureEncoders.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cstdio>
#include <optional>
#include <variant>

namespace {

enum class FileKind { Jpeg, Gif, Bmp, PaletteBmp };

struct Job {
    QString Source;
    QString Out;
    FileKind Kind = FileKind::Jpeg;
    int Scale = 1;
};

constexpr int kLargestScale = 4;

// The job the command line asks for, or the reason it asks for none.
std::variant<Job, QString> ParseArguments(QCommandLineParser& parser, const QStringList& arguments) {
    const QCommandLineOption palette(QStringLiteral("palette"), QStringLiteral("A 256-colour palette (BMP only)."));
    const QCommandLineOption scale(
        QStringLiteral("scale"), QStringLiteral("N times the declared size, 1 to %1; 1 by default.").arg(kLargestScale),
        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({palette, scale});
    parser.addPositionalArgument(QStringLiteral("SOURCE.svg"), QStringLiteral("The picture to render."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write: .jpg, .gif or .bmp."));
    if (!parser.parse(arguments))
        return parser.errorText();
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return QStringLiteral("expected SOURCE.svg and OUT");
    Job job{positional[0], positional[1]};
    bool ok = false;
    job.Scale = parser.value(scale).toInt(&ok);
    if (!ok || job.Scale < 1 || job.Scale > kLargestScale || parser.values(scale).size() > 1)
        return QStringLiteral("--scale takes one whole number from 1 to %1").arg(kLargestScale);
    const QString out = job.Out.toLower();
    if (out.endsWith(QLatin1String(".bmp")))
        job.Kind = parser.isSet(palette) ? FileKind::PaletteBmp : FileKind::Bmp;
    else if (parser.isSet(palette))
        return QStringLiteral("--palette is for BMP only");
    else if (out.endsWith(QLatin1String(".gif")))
        job.Kind = FileKind::Gif;
    else if (out.endsWith(QLatin1String(".jpg")))
        job.Kind = FileKind::Jpeg;
    else
        return QStringLiteral("OUT must end in .jpg, .gif or .bmp");
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
    return ArtToolMain<Job>(argc, argv, "ludra-art", "Renders an SVG picture at the pixel size it declares.",
                            ParseArguments, Run);
}
