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
// Above a device pixel ratio of 1 the picture is its rendering at twice the pixels, with
// ratio 2, so that it is drawn sharp at the same logical size and place.
QImage ResourceImage(const QString& name, qreal devicePixelRatio = 1);

// The scale of the art drawn on a device of the given ratio: 1, or 2 above 1.
int ArtScale(qreal devicePixelRatio);

// Starts decoding the named pictures on threads of their own, so that the first frame's art is
// ready when the window is built; ResourceImage takes each from there, once. Works before the
// application object exists, so they are decoded at scale 1; a request at scale 2 drops them.
void DecodeArtAhead(std::initializer_list<const char*> names);

// Makes the resource the label's picture, at the label's pixel ratio.
void ResJpegToImage(const QString& name, QLabel* image);
// Draws the resource at (0, 0) onto the image, at the image's pixel ratio; the image keeps its size.
void ResJpegToBitmap(const QString& name, QImage& bitmap);

// The core's picture as a Qt image over the bitmap's own pixels, valid while the bitmap
// lives unchanged (palette pictures become indexed images).
QImage BitmapView(const Bitmap& bitmap);
