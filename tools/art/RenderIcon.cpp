// ludra-icon SOURCE.svg SIZE OUT.png: renders an icon as a SIZE x SIZE PNG with
// transparency, the form the icon theme's fixed-size folders hold.

#include "tools/art/PictureEncoders.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <optional>

namespace {

// Far above the largest theme folder, so a slip in the build files can't ask for gigabytes.
constexpr int kMaxSize = 1024;

struct Job {
    QString Source;
    int Size = 0;
    QString Out;
};

void Fail(const QString& message) { std::fprintf(stderr, "ludra-icon: %s\n", qPrintable(message)); }

std::optional<Job> ParseArguments(int argc, char** argv) {
    if (argc != 4)
        return std::nullopt;
    bool isNumber = false;
    const int size = QByteArray(argv[2]).toInt(&isNumber);
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!isNumber || size < 1 || size > kMaxSize || !out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return std::nullopt;
    return Job{QString::fromLocal8Bit(argv[1]), size, out};
}

std::optional<QImage> Render(const Job& job) {
    QFile source(job.Source);
    if (!source.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1: %2").arg(job.Source, source.errorString()));
        return std::nullopt;
    }
    QSvgRenderer renderer(source.readAll());
    if (!renderer.isValid()) {
        Fail(QStringLiteral("%1: not a valid SVG picture").arg(job.Source));
        return std::nullopt;
    }
    // A non-square drawing is centred rather than stretched.
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QImage image(job.Size, job.Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, job.Size, job.Size));
    painter.end();
    return image;
}

int Run(const Job& job) {
    const std::optional<QImage> image = Render(job);
    if (!image)
        return 1;
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image->save(&buffer, "PNG")) {
        Fail(QStringLiteral("%1: encoding failed").arg(job.Out));
        return 1;
    }
    if (const std::optional<QString> problem = WriteWhole(job.Out, png)) {
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
        std::fprintf(stderr, "usage: ludra-icon SOURCE.svg SIZE OUT.png (SIZE 1 to %d)\n", kMaxSize);
        return 2;
    }
    // A build machine has no display; rendering needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return Run(*job);
}
