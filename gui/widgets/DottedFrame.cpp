#include "gui/widgets/DottedFrame.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

namespace {

// The band just inside a rectangle of the given size, as the window's visible region.
QRegion Band(int width, int height) {
    const QRegion whole(0, 0, width, height);
    const int inner = 2 * DottedFrame::kBand;
    if (width <= inner || height <= inner)
        return whole;
    return whole.subtracted(QRegion(DottedFrame::kBand, DottedFrame::kBand, width - inner, height - inner));
}

// Alternating dark and light pixels: the band shows on any background.
QImage Checkerboard() {
    QImage tile(2, 2, QImage::Format_RGB32);
    tile.fill(Qt::white);
    tile.setPixel(0, 0, qRgb(0, 0, 0));
    tile.setPixel(1, 1, qRgb(0, 0, 0));
    return tile;
}

} // namespace

DottedFrame::DottedFrame()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("DottedFrame"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DottedFrame::Start(QPoint cursor) {
    left_ = right_ = cursor.x();
    top_ = bottom_ = cursor.y();
    tracking_ = true;
    Redraw();
}

void DottedFrame::SetLeft(int left) {
    left_ = left;
    Redraw();
}

void DottedFrame::SetTop(int top) {
    top_ = top;
    Redraw();
}

void DottedFrame::Track(QPoint cursor) {
    if (!tracking_)
        return;
    right_ = cursor.x();
    bottom_ = cursor.y();
    Redraw();
}

void DottedFrame::Stop() {
    tracking_ = false;
    hide();
}

// The window covers the rectangle (edges in either order) and shows only its band.
void DottedFrame::Redraw() {
    const QRect area(std::min(left_, right_), std::min(top_, bottom_), std::abs(right_ - left_),
                     std::abs(bottom_ - top_));
    if (!tracking_ || area.width() <= 0 || area.height() <= 0) {
        hide();
        return;
    }
    setGeometry(area);
    setMask(Band(area.width(), area.height()));
    show();
    update();
}

void DottedFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Anchored to the screen, so the pattern stays put while the frame grows.
    painter.setBrushOrigin(-pos());
    painter.fillRect(rect(), QBrush(Checkerboard()));
}
