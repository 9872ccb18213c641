#pragma once

#include "core/presentation/ScrollBarModel.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;
class QWheelEvent;

// The windows' own vertical scroll bar (16 px wide): an arrow at each end, a track
// and a thumb whose length shows how much of the content is in view.
//
// Position runs from 0 to Max and stays there, also when Max shrinks.
// - An arrow moves Position by 1; holding it repeats the step.
// - A press on the track pages by LargeChange towards the press, repeating while held
//   until the thumb reaches the cursor.
// - Dragging the thumb follows the cursor.
// - One notch of the mouse wheel moves by SmallChange, but never by more than
//   SmallChangeMax (and always by at least 1).
// LargeChange + 1 is taken as the part in view when sizing the thumb.
class ScrollBar : public QWidget {
    Q_OBJECT
public:
    explicit ScrollBar(QWidget* parent = nullptr);

    int Max() const { return model_.Max(); }
    void SetMax(int value);
    int LargeChange() const { return model_.LargeChange(); }
    void SetLargeChange(int value);
    int SmallChange() const { return model_.SmallChange(); }
    void SetSmallChange(int value);
    int SmallChangeMax() const { return model_.SmallChangeMax(); }
    void SetSmallChangeMax(int value);
    int Position() const { return model_.Position(); }
    void SetPosition(int value); // kept within 0..Max

signals:
    void OnChange(int position); // every change of Position, by the user or the program

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ScrollBarGeometry Geometry() const;
    void Apply(int oldPosition);
    void RepeatPress();

    ScrollBarModel model_;
    ScrollBarPart pressedPart_ = ScrollBarPart::None;
    QPoint pressPoint_;
    int thumbGrabOffset_ = 0;
    QTimer repeat_;
};
