#include "gui/resources/Resources.h"

#include "core/base/StorageError.h"
#include "core/storage/JpegDecoder.h"

#include <QFile>
#include <QLabel>
#include <QPainter>

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

QImage DecodeResource(const QString& name) {
    QFile file(QStringLiteral(":/art/%1.jpg").arg(name.toLower()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    try {
        Bitmap bitmap;
        DecodeJpeg(ByteView(reinterpret_cast<const std::uint8_t*>(data.constData()), data.size()), bitmap);
        // One pass into the screen's own format: the pixmap then takes the image as it is.
        return BitmapView(bitmap).convertToFormat(QImage::Format_RGB32);
    } catch (const StorageError&) {
        return {};
    }
}

// Pictures being decoded ahead, by lower-case name; only the main thread touches the table.
std::map<QString, std::future<QImage>>& ArtAhead() {
    static std::map<QString, std::future<QImage>> ahead;
    return ahead;
}

} // namespace

void DecodeArtAhead(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const QString key = QString::fromLatin1(name).toLower();
        ArtAhead()[key] = std::async(std::launch::async, DecodeResource, key);
    }
}

QImage ResourceImage(const QString& name) {
    const auto ahead = ArtAhead().find(name.toLower());
    if (ahead == ArtAhead().end())
        return DecodeResource(name);
    QImage image = ahead->second.get();
    ArtAhead().erase(ahead);
    return image;
}

void ResJpegToImage(const QString& name, QLabel* image) { image->setPixmap(QPixmap::fromImage(ResourceImage(name))); }

void ResJpegToBitmap(const QString& name, QImage& bitmap) {
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, ResourceImage(name));
}
