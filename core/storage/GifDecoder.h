#pragma once

#include "core/base/Bytes.h"
#include "core/storage/Bitmap.h"

// Decodes the first image of a GIF file into the bitmap: 8-bit palette, the size of the file's screen, filled with
// the background index where the image does not reach. Image data that ends early keeps the rows decoded before;
// any other damage raises StorageError and then leaves the bitmap as it was.
void DecodeGif(ByteView data, Bitmap& bitmap);
