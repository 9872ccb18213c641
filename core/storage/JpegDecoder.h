#pragma once

#include "core/base/Bytes.h"
#include "core/storage/Bitmap.h"

// Decodes a whole JPEG file into the bitmap as 24-bit RGB (grey and CMYK pictures converted). A file whose data ends
// after its first scan has begun shows what was decoded, the rest filled by the decoder; any other damage raises
// StorageError and then leaves the bitmap as it was.
void DecodeJpeg(ByteView data, Bitmap& bitmap);
