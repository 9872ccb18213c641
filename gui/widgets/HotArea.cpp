#include "gui/widgets/HotArea.h"

#include "gui/widgets/Accessible.h"

#include <QMouseEvent>

HotArea::HotArea(const QString& objectName, const QString& accessibleName, const QRect& geometry, QWidget* parent)
    : QLabel(parent) {
    InstallAccessibleFactory();
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setGeometry(geometry);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

void HotArea::mousePressEvent(QMouseEvent* event) { emit pressed(event->globalPosition().toPoint()); }

void HotArea::mouseMoveEvent(QMouseEvent* event) {
    emit hovered();
    if (event->buttons() != Qt::NoButton)
        emit moved(event->globalPosition().toPoint());
}

void HotArea::mouseReleaseEvent(QMouseEvent* event) {
    emit released();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
