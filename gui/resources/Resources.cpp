#include "gui/resources/Resources.h"

#include "core/base/StorageError.h"
#include "core/storage/JpegDecoder.h"

#include <QLabel>
#include <QPainter>
#include <QResource>

#include <future>
#include <map>

QImage BitmapView(const Bitmap& bitmap) {
    if (bitmap.Width <= 0 || bitmap.Height <= 0)
        return {};
    const int bytesPerLine = bitmap.Width * bitmap.BytesPerPixel();
    if (bitmap.Format == PixelFormat::Bits24)
        return QImage(bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bytesPerLine, QImage::Format_RGB888);
    QImage image(bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bytesPerLine, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const Rgb& colour : bitmap.Palette)
        colours.append(qRgb(colour.R, colour.G, colour.B));
    image.setColorTable(colours);
    return image;
}

namespace {

// In the screen's own format, so that the pixmap takes the image as it is.
QImage ScreenImage(const Bitmap& bitmap) {
    QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
    const std::uint8_t* from = bitmap.Pixels.data();
    for (int y = 0; y < bitmap.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.Width; ++x, from += 3)
            row[x] = qRgb(from[0], from[1], from[2]);
    }
    return image;
}

// May run before the application object exists, so it creates no Qt object (a QFile is one, and
// QImage's conversions may start a thread pool): Qt takes the first thread that does for its main thread.
QImage DecodeResource(const QString& name, int scale) {
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    const QResource resource(QStringLiteral(":/art/%1%2.jpg").arg(name.toLower(), suffix));
    if (!resource.isValid())
        return {};
    const QByteArray data = resource.uncompressedData();
    try {
        Bitmap bitmap;
        DecodeJpeg(ByteView(reinterpret_cast<const std::uint8_t*>(data.constData()), data.size()), bitmap);
        if (bitmap.Format != PixelFormat::Bits24)
            return {};
        QImage image = ScreenImage(bitmap);
        image.setDevicePixelRatio(scale);
        return image;
    } catch (const StorageError&) {
        return {};
    }
}

struct DecodingAhead {
    int Scale;
    std::future<QImage> Image;
};

// Pictures being decoded ahead, by lower-case name; only the main thread touches the table.
std::map<QString, DecodingAhead>& ArtAhead() {
    static std::map<QString, DecodingAhead> ahead;
    return ahead;
}

} // namespace

void DecodeArtAhead(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const QString key = QString::fromLatin1(name).toLower();
        ArtAhead()[key] = {1, std::async(std::launch::async, DecodeResource, key, 1)};
    }
}

int ArtScale(qreal devicePixelRatio) { return devicePixelRatio > 1 ? 2 : 1; }

QImage ResourceImage(const QString& name, qreal devicePixelRatio) {
    const QString key = name.toLower();
    const int scale = ArtScale(devicePixelRatio);
    const auto found = ArtAhead().find(key);
    if (found == ArtAhead().end())
        return DecodeResource(key, scale);
    DecodingAhead ahead = std::move(found->second);
    ArtAhead().erase(found);
    return ahead.Scale == scale ? ahead.Image.get() : DecodeResource(key, scale);
}

void ResJpegToImage(const QString& name, QLabel* image) {
    image->setPixmap(QPixmap::fromImage(ResourceImage(name, image->devicePixelRatioF())));
}

void ResJpegToBitmap(const QString& name, QImage& bitmap) {
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, ResourceImage(name, bitmap.devicePixelRatio()));
}
