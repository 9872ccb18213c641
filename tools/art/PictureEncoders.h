#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// The picture files ludra-art writes: JPEG for the program's artwork, and
// JPEG, GIF and BMP for the pictures inside the bundled question files.

// The picture with a palette of exactly 256 colours: its most frequent colours,
// every other pixel taken to the nearest of them. Flat school drawings keep their
// colours exactly; only the rarer shades of smoothed edges move.
QImage ReduceToPalette(const QImage& picture);

std::optional<QByteArray> EncodeJpeg(const QImage& picture);
// Always 8 bits a pixel with the palette of ReduceToPalette.
std::optional<QByteArray> EncodeGif(const QImage& picture);
// 24 bits a pixel, or with palette set 8 bits a pixel and a 256-colour palette.
std::optional<QByteArray> EncodeBmp(const QImage& picture, bool palette);

// Writes the file whole or not at all, so that the build never takes a half-written picture for a
// finished one; the reason when it can't.
std::optional<QString> WriteWhole(const QString& path, const QByteArray& bytes);
