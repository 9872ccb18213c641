#pragma once

#include "core/storage/Bitmap.h"

#include <QImage>
#include <QPixmap>
#include <QString>

#include <initializer_list>

class QLabel;

// The program's own pictures, rendered from resources/art at build time and looked
// up by name ignoring letter case ("OknoWarning" finds ":/art/oknowarning.jpg").
// They are decoded by the same JPEG decoder as the pictures of question files.
QImage ResourceImage(const QString& name);

// Starts decoding the named pictures on threads of their own, so that the first frame's art is
// ready when the window is built; ResourceImage takes each from there, once. Works before the
// application object exists.
void DecodeArtAhead(std::initializer_list<const char*> names);

// Makes the resource the label's picture.
void ResJpegToImage(const QString& name, QLabel* image);
// Draws the resource at (0, 0) onto the image; the image keeps its size.
void ResJpegToBitmap(const QString& name, QImage& bitmap);

// The core's picture as a Qt image over the bitmap's own pixels, valid while the bitmap
// lives unchanged (palette pictures become indexed images).
QImage BitmapView(const Bitmap& bitmap);
