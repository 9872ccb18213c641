#pragma once

#include <QLabel>
#include <QPoint>

// A transparent label over a button or strip drawn in a picture: it reports
// left-button clicks, presses and moves of any button (with the cursor's screen
// position), releases, and the mouse passing over it.
class HotArea : public QLabel {
    Q_OBJECT
public:
    HotArea(const QString& objectName, const QString& accessibleName, const QRect& geometry, QWidget* parent);

signals:
    void clicked();
    void pressed(QPoint screenPosition);
    void moved(QPoint screenPosition);
    void released();
    void hovered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
