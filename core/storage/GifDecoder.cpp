#include "core/storage/GifDecoder.h"

#include "core/base/StorageError.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace {

// giflib pulls the file through this callback.
struct MemoryInput {
    ByteView Data;
    std::size_t Position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto& input = *static_cast<MemoryInput*>(gif->UserData);
    const std::size_t count =
        std::min(static_cast<std::size_t>(std::max(wanted, 0)), input.Data.size() - input.Position);
    if (count > 0)
        std::memcpy(buffer, input.Data.data() + input.Position, count);
    input.Position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void RaiseFailure(int error) {
    const char* text = GifErrorString(error);
    throw StorageError(std::string("GIF picture damaged: ") + (text != nullptr ? text : "unknown error"));
}

void SkipExtension(GifFileType& gif) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(&gif, &code, &block) == GIF_ERROR)
        RaiseFailure(gif.Error);
    while (block != nullptr) {
        if (DGifGetExtensionNext(&gif, &block) == GIF_ERROR)
            RaiseFailure(gif.Error);
    }
}

// Reads records up to the first image's descriptor; only that image is shown.
void ReadFirstImageDescriptor(GifFileType& gif) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(&gif, &type) == GIF_ERROR)
            RaiseFailure(gif.Error);
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(&gif) == GIF_ERROR)
                RaiseFailure(gif.Error);
            return;
        }
        if (type == TERMINATE_RECORD_TYPE)
            throw StorageError("GIF file holds no picture");
        SkipExtension(gif);
    }
}

void CopyColours(const ColorMapObject& map, Bitmap& picture) {
    const int count = std::min(map.ColorCount, static_cast<int>(picture.Palette.size()));
    for (int i = 0; i < count; ++i)
        picture.Palette[i] = {map.Colors[i].Red, map.Colors[i].Green, map.Colors[i].Blue};
}

// A file without any colour table: a grey ramp over the indexes in use, so a two-colour picture shows black and
// white rather than two shades of black.
void SpreadGreyRamp(Bitmap& picture) {
    const int top = *std::max_element(picture.Pixels.begin(), picture.Pixels.end());
    for (int i = 0; i <= top; ++i) {
        const auto grey = static_cast<std::uint8_t>(top == 0 ? 0 : i * 255 / top);
        picture.Palette[i] = {grey, grey, grey};
    }
}

struct RowPass {
    int First, Step;
};
constexpr RowPass kSequentialRows[] = {{0, 1}};
constexpr RowPass kInterlacedRows[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

// Draws the image's rows at its place on the screen, clipped to the screen. A file whose image data ends early keeps
// the rows decoded before, the rest showing the background, as viewers commonly do.
void DrawImage(GifFileType& gif, Bitmap& picture) {
    const GifImageDesc& image = gif.Image;
    Bytes line(static_cast<std::size_t>(image.Width));
    const int visibleWidth = std::clamp(picture.Width - image.Left, 0, image.Width);
    const std::span<const RowPass> passes =
        image.Interlace ? std::span<const RowPass>(kInterlacedRows) : std::span<const RowPass>(kSequentialRows);
    for (const RowPass& pass : passes) {
        for (int row = pass.First; row < image.Height; row += pass.Step) {
            if (DGifGetLine(&gif, line.data(), image.Width) == GIF_ERROR)
                return;
            const int y = image.Top + row;
            if (y < picture.Height && visibleWidth > 0)
                std::copy_n(line.begin(), visibleWidth,
                            picture.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.Width + image.Left);
        }
    }
}

} // namespace

void DecodeGif(ByteView data, Bitmap& bitmap) {
    MemoryInput input{data};
    int error = 0;
    GifHandle gif(DGifOpen(&input, ReadFromMemory, &error));
    if (!gif)
        RaiseFailure(error);
    CheckPictureSize(gif->SWidth, gif->SHeight);
    ReadFirstImageDescriptor(*gif);
    CheckPictureSize(gif->Image.Width, gif->Image.Height);

    Bitmap picture;
    picture.Width = gif->SWidth;
    picture.Height = gif->SHeight;
    picture.Format = PixelFormat::Bits8;
    // Without a global colour table the background index means nothing.
    const int background = gif->SColorMap != nullptr ? gif->SBackGroundColor : 0;
    picture.Pixels.assign(static_cast<std::size_t>(picture.Width) * picture.Height,
                          static_cast<std::uint8_t>(background));
    DrawImage(*gif, picture);

    const ColorMapObject* colours = gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap;
    if (colours != nullptr)
        CopyColours(*colours, picture);
    else
        SpreadGreyRamp(picture);
    bitmap = std::move(picture);
}
