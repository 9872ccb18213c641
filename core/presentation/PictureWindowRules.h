#pragma once

#include "core/presentation/FrameLayout.h"

// The picture window's two sizes and the holder of the picture, apart from the widgets.

inline constexpr FrameSize kSmallPictureWindow{365, 200};
// The holder's sunken bevel: the picture lies this far inside it on every side.
inline constexpr int kPictureInset = 3;

// Never smaller than the small window.
FrameSize AtLeastSmallWindow(FrameSize window);
// The window whose centre holds the whole picture with its bevel, but no larger than
// the room it has (the work area): a picture larger than the screen shows its top-left part.
FrameSize EnlargedWindowFor(FrameSize picture, FrameSize room);
// The white holder PPodImg and the picture Img inside it.
FrameRect PictureHolderFor(FrameSize picture);
FrameRect PictureInHolder(FrameSize picture);
// The enlarge button is offered when the holder, bevel included, does not fit the centre.
bool PictureNeedsEnlarging(FrameSize picture, FrameSize centre);
