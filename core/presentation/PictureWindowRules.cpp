#include "core/presentation/PictureWindowRules.h"

#include <algorithm>

namespace {

// How much wider and taller the window is than its centre.
constexpr int kFrameWidth = kFrameLeftWidth + kFrameRightWidth;
constexpr int kFrameHeight = kPictureFrame.CentreInset;

} // namespace

FrameSize AtLeastSmallWindow(FrameSize window) {
    return {std::max(window.Width, kSmallPictureWindow.Width), std::max(window.Height, kSmallPictureWindow.Height)};
}

FrameSize EnlargedWindowFor(FrameSize picture, FrameSize room) {
    const FrameRect holder = PictureHolderFor(picture);
    return {std::min(holder.Width + kFrameWidth, room.Width), std::min(holder.Height + kFrameHeight, room.Height)};
}

FrameRect PictureHolderFor(FrameSize picture) {
    return {0, 0, picture.Width + 2 * kPictureInset, picture.Height + 2 * kPictureInset};
}

FrameRect PictureInHolder(FrameSize picture) { return {kPictureInset, kPictureInset, picture.Width, picture.Height}; }

bool PictureNeedsEnlarging(FrameSize picture, FrameSize centre) {
    const FrameRect holder = PictureHolderFor(picture);
    return holder.Width > centre.Width || holder.Height > centre.Height;
}
