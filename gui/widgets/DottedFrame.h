#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

class QPaintEvent;

// The rubber band of a resize: a rectangle whose band of 3 pixels just inside its
// edges is drawn through a one-pixel checkerboard. It is an overlay window of its
// own, frameless, on top and passing every input through, so it shows over any
// window; a rectangle of no width or no height is not drawn.
class DottedFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBand = 3;

    DottedFrame();

    // Starts at the cursor: all four edges there, tracking on, nothing drawn yet.
    void Start(QPoint cursor);
    void SetLeft(int left);
    void SetTop(int top);
    // While tracking, the right and bottom edges follow the cursor.
    void Track(QPoint cursor);
    // Ends tracking and erases the frame; its rectangle stays readable.
    void Stop();

    bool Tracking() const { return tracking_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Redraw();

    bool tracking_ = false;
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
};
