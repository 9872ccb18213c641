#include "gui/widgets/ScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

namespace {

constexpr int kWidth = 16;
constexpr int kFirstRepeatMs = 350;
constexpr int kRepeatMs = 60;

const QColor kTrack(0xE6, 0xEF, 0xF8);
const QColor kEdge(0x9F, 0xB3, 0xC8);
const QColor kFaceTop(0xFF, 0xFF, 0xFF);
const QColor kFaceBottom(0xE4, 0xEC, 0xF5);
const QColor kPressedFace(0xC9, 0xD8, 0xE8);
const QColor kInk(0x1E, 0x3A, 0x5F);

// A raised button face in the frame's colours: arrows and thumb.
void DrawFace(QPainter& painter, const QRect& rect, bool pressed) {
    if (rect.height() <= 0)
        return;
    QLinearGradient face(rect.topLeft(), rect.bottomLeft());
    face.setColorAt(0, pressed ? kPressedFace : kFaceTop);
    face.setColorAt(1, pressed ? kPressedFace : kFaceBottom);
    painter.setPen(kEdge);
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
}

void DrawArrow(QPainter& painter, const QRect& rect, bool up, bool enabled) {
    const QPointF centre = QRectF(rect).center();
    const qreal half = rect.width() / 4.0;
    const qreal rise = up ? -half / 2 : half / 2;
    QPainterPath arrow;
    arrow.moveTo(centre.x() - half, centre.y() - rise);
    arrow.lineTo(centre.x() + half, centre.y() - rise);
    arrow.lineTo(centre.x(), centre.y() + rise);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(enabled ? kInk : kEdge);
    painter.drawPath(arrow);
}

} // namespace

ScrollBar::ScrollBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ListwaV"));
    resize(kWidth, height());
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &ScrollBar::RepeatPress);
}

void ScrollBar::SetMax(int value) {
    const int old = Position();
    model_.SetMax(value);
    Apply(old);
    update();
}

void ScrollBar::SetLargeChange(int value) {
    model_.SetLargeChange(value);
    update();
}

void ScrollBar::SetSmallChange(int value) { model_.SetSmallChange(value); }

void ScrollBar::SetSmallChangeMax(int value) { model_.SetSmallChangeMax(value); }

void ScrollBar::SetPosition(int value) {
    const int old = Position();
    model_.SetPosition(value);
    Apply(old);
}

void ScrollBar::Apply(int oldPosition) {
    if (Position() == oldPosition)
        return;
    update();
    emit OnChange(Position());
}

ScrollBarGeometry ScrollBar::Geometry() const { return model_.Layout(width(), height()); }

void ScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ScrollBarGeometry bar = Geometry();
    const int w = width();
    painter.fillRect(rect(), kTrack);
    painter.setPen(kEdge);
    painter.drawLine(QPointF(0.5, 0), QPointF(0.5, height()));

    const QRect up(0, 0, w, bar.arrowLength);
    const QRect down(0, bar.trackTop + bar.trackLength, w, bar.arrowLength);
    DrawFace(painter, up, pressedPart_ == ScrollBarPart::UpArrow);
    DrawFace(painter, down, pressedPart_ == ScrollBarPart::DownArrow);
    DrawArrow(painter, up, true, Position() > 0);
    DrawArrow(painter, down, false, Position() < Max());
    if (Max() > 0)
        DrawFace(painter, QRect(1, bar.thumbTop, w - 2, bar.thumbLength), pressedPart_ == ScrollBarPart::Thumb);
}

void ScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressPoint_ = event->position().toPoint();
    const ScrollBarGeometry bar = Geometry();
    pressedPart_ = bar.PartAt(pressPoint_.y());
    if (pressedPart_ == ScrollBarPart::Thumb) {
        thumbGrabOffset_ = pressPoint_.y() - bar.thumbTop;
    } else if (pressedPart_ != ScrollBarPart::None) {
        RepeatPress();
        repeat_.start(kFirstRepeatMs);
    }
    update();
}

void ScrollBar::mouseMoveEvent(QMouseEvent* event) {
    pressPoint_ = event->position().toPoint();
    if (pressedPart_ == ScrollBarPart::Thumb)
        SetPosition(model_.PositionForThumbTop(Geometry(), pressPoint_.y() - thumbGrabOffset_));
}

void ScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    repeat_.stop();
    pressedPart_ = ScrollBarPart::None;
    update();
}

// A held arrow or track press steps again as long as the cursor stays on that part,
// so paging stops once the thumb has reached the cursor.
void ScrollBar::RepeatPress() {
    repeat_.setInterval(kRepeatMs);
    if (Geometry().PartAt(pressPoint_.y()) != pressedPart_)
        return;
    const int old = Position();
    model_.MoveBy(model_.StepFor(pressedPart_));
    Apply(old);
}

void ScrollBar::wheelEvent(QWheelEvent* event) {
    const int old = Position();
    model_.MoveBy(model_.TakeWheel(event->angleDelta().y()));
    Apply(old);
    event->accept();
}
