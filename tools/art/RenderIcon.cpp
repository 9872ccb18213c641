// ludra-icon SOURCE.svg SIZE OUT.png | --help: renders an icon as a SIZE x SIZE PNG with
// transparency, the form the icon theme's fixed-size folders hold.

#include "tools/art/ArtToolMain.h"
#include "tools/art/PictureEncoders.h"

#include <QBuffer>
#include <QByteArray>
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>
#include <optional>
#include <variant>

namespace {

// Far above the largest theme folder, so a slip in the build files can't ask for gigabytes.
constexpr int kMaxSize = 1024;

struct Job {
    QString Source;
    int Size = 0;
    QString Out;
};

// The job the command line asks for, or the reason it asks for none.
std::variant<Job, QString> ParseArguments(QCommandLineParser& parser, const QStringList& arguments) {
    parser.addPositionalArgument(QStringLiteral("SOURCE.svg"), QStringLiteral("The icon to render."));
    parser.addPositionalArgument(QStringLiteral("SIZE"),
                                 QStringLiteral("Its width and height, 1 to %1.").arg(kMaxSize));
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("The file to write."));
    if (!parser.parse(arguments))
        return parser.errorText();
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 3)
        return QStringLiteral("expected SOURCE.svg, SIZE and OUT.png");
    bool isNumber = false;
    const int size = positional[1].toInt(&isNumber);
    if (!isNumber || size < 1 || size > kMaxSize)
        return QStringLiteral("SIZE must be a whole number from 1 to %1").arg(kMaxSize);
    if (!positional[2].endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return QStringLiteral("OUT.png must end in .png");
    return Job{positional[0], size, positional[2]};
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
    return ArtToolMain<Job>(argc, argv, "ludra-icon", "Renders an icon as a square PNG with transparency.",
                            ParseArguments, Run);
}
