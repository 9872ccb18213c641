#include "core/presentation/ScrollBarModel.h"

#include <algorithm>
#include <cstdint>

namespace {

int Clamp(std::int64_t value, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

} // namespace

ScrollBarPart ScrollBarGeometry::PartAt(int y) const {
    const int trackEnd = trackTop + trackLength;
    if (y < 0 || y >= trackEnd + arrowLength)
        return ScrollBarPart::None;
    if (y < trackTop)
        return ScrollBarPart::UpArrow;
    if (y >= trackEnd)
        return ScrollBarPart::DownArrow;
    if (y < thumbTop)
        return ScrollBarPart::PageUp;
    if (y >= thumbTop + thumbLength)
        return ScrollBarPart::PageDown;
    return ScrollBarPart::Thumb;
}

void ScrollBarModel::SetMax(int value) {
    max_ = std::max(value, 0);
    SetPosition(position_);
}

void ScrollBarModel::SetPosition(int value) { position_ = std::clamp(value, 0, max_); }

void ScrollBarModel::MoveBy(int delta) { position_ = Clamp(std::int64_t{position_} + delta, 0, max_); }

int ScrollBarModel::StepFor(ScrollBarPart part) const {
    const int page = std::max(largeChange_, 1);
    switch (part) {
    case ScrollBarPart::UpArrow: return -1;
    case ScrollBarPart::DownArrow: return 1;
    case ScrollBarPart::PageUp: return -page;
    case ScrollBarPart::PageDown: return page;
    case ScrollBarPart::None:
    case ScrollBarPart::Thumb: break;
    }
    return 0;
}

int ScrollBarModel::WheelStep() const { return std::max(std::min(smallChange_, smallChangeMax_), 1); }

int ScrollBarModel::TakeWheel(int angleDelta) {
    const std::int64_t turned = std::int64_t{wheelRemainder_} + angleDelta;
    const std::int64_t notches = turned / kWheelNotch;
    wheelRemainder_ = static_cast<int>(turned % kWheelNotch);
    // Turning away from the user scrolls up, towards the start.
    return Clamp(-notches * WheelStep(), -max_, max_);
}

ScrollBarGeometry ScrollBarModel::Layout(int width, int height) const {
    ScrollBarGeometry geometry;
    height = std::max(height, 0);
    geometry.arrowLength = std::clamp(width, 0, height / 2);
    geometry.trackTop = geometry.arrowLength;
    geometry.trackLength = height - 2 * geometry.arrowLength;

    const std::int64_t inView = std::max(largeChange_, 0) + std::int64_t{1};
    const std::int64_t proportional = geometry.trackLength * inView / (inView + max_);
    geometry.thumbLength = Clamp(proportional, std::min(kMinThumbLength, geometry.trackLength), geometry.trackLength);

    const std::int64_t travel = geometry.trackLength - geometry.thumbLength;
    geometry.thumbTop = geometry.trackTop + (max_ == 0 ? 0 : static_cast<int>(travel * position_ / max_));
    return geometry;
}

int ScrollBarModel::PositionForThumbTop(const ScrollBarGeometry& geometry, int thumbTop) const {
    const std::int64_t travel = geometry.trackLength - geometry.thumbLength;
    if (travel <= 0)
        return position_;
    const std::int64_t offset = std::clamp<std::int64_t>(thumbTop - geometry.trackTop, 0, travel);
    return Clamp((offset * max_ + travel / 2) / travel, 0, max_);
}
