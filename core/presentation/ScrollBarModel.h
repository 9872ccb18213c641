#pragma once

// The arithmetic of the vertical scroll bar, apart from drawing and events: the
// values and their bounds, the steps, and where arrows, track and thumb lie.

enum class ScrollBarPart { None, UpArrow, PageUp, Thumb, PageDown, DownArrow };

// Where the pieces of a bar lie along its height, in pixels from its top.
struct ScrollBarGeometry {
    int arrowLength = 0; // each arrow is this tall, the up arrow at the top, the down arrow at the bottom
    int trackTop = 0;
    int trackLength = 0;
    int thumbTop = 0;
    int thumbLength = 0;

    ScrollBarPart PartAt(int y) const;
};

class ScrollBarModel {
public:
    // The thumb never gets shorter than this while the track has room for it.
    static constexpr int kMinThumbLength = 8;
    // One notch of a mouse wheel, in the units wheel events count in.
    static constexpr int kWheelNotch = 120;

    int Max() const { return max_; }
    int LargeChange() const { return largeChange_; }
    int SmallChange() const { return smallChange_; }
    int SmallChangeMax() const { return smallChangeMax_; }
    int Position() const { return position_; }

    // A negative Max counts as 0; Position follows a Max that shrinks below it.
    void SetMax(int value);
    void SetLargeChange(int value) { largeChange_ = value; }
    void SetSmallChange(int value) { smallChange_ = value; }
    void SetSmallChangeMax(int value) { smallChangeMax_ = value; }
    // Kept within 0..Max.
    void SetPosition(int value);
    // Moves Position by delta, stopping at the ends.
    void MoveBy(int delta);

    // The move that pressing a part asks for: 1 for an arrow, LargeChange for the track.
    int StepFor(ScrollBarPart part) const;
    // The move of one wheel notch: SmallChange capped at SmallChangeMax, at least 1.
    int WheelStep() const;
    // Takes a wheel turn (positive away from the user) and returns the move it makes;
    // turns of less than a notch add up until they make one.
    int TakeWheel(int angleDelta);

    // The pieces of a bar of the given size at the current values; arrows are square.
    ScrollBarGeometry Layout(int width, int height) const;
    // The Position whose thumb starts at thumbTop (rounded to the nearest, kept within 0..Max).
    int PositionForThumbTop(const ScrollBarGeometry& geometry, int thumbTop) const;

private:
    int max_ = 0;
    int largeChange_ = 1;
    int smallChange_ = 1;
    int smallChangeMax_ = 1;
    int position_ = 0;
    int wheelRemainder_ = 0;
};
