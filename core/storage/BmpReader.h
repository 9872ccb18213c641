#pragma once

#include "core/base/Bytes.h"
#include "core/storage/Bitmap.h"

// Decodes a whole BMP file into the bitmap, keeping its form: 1-, 4- and 8-bit files give an 8-bit palette bitmap,
// 16-, 24- and 32-bit files a 24-bit one. Uncompressed pixel rows must all be in the file; a run-length stream that
// ends early keeps what it drew. Any damage raises StorageError and then leaves the bitmap as it was.
void DecodeBmp(ByteView data, Bitmap& bitmap);
