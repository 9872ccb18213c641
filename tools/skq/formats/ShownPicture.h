#pragma once

#include "core/base/Bytes.h"

#include <stdexcept>
#include <string>
#include <string_view>

// Pictures brought into a kind the program shows.
namespace skq {

// Why a picture can't be used, in plain words.
class PictureProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ShownPicture {
    std::string Name; // UTF-8; the extension says the kind: .jpg, .gif or .bmp
    Bytes Data;
};

// JPEG, GIF and BMP stay as they are, named by what they hold; PNG becomes a 24-bit BMP.
// Throws PictureProblem for any other kind and for a picture the program couldn't decode.
ShownPicture ToShownPicture(std::string_view name, ByteView data);

// A picture as it goes out to other platforms: a BMP as the import makes it from a PNG (24 bits,
// the converter's own header) goes back out as a PNG of the same pixels, a fraction of its size;
// any other picture stays as it is.
ShownPicture ExportedPicture(std::string_view name, ByteView data);

} // namespace skq
