#include "gui/widgets/WindowDrag.h"

#include "gui/widgets/Accessible.h"
#include "gui/widgets/HotArea.h"

#include <QCoreApplication>
#include <QWidget>

WindowDrag::WindowDrag(QWidget* window, std::function<bool()> allowed)
    : QObject(window), window_(window), allowed_(std::move(allowed)) {}

void WindowDrag::Attach(HotArea* strip) {
    // A strip to drag, not a button to press.
    SetAccessibleRole(strip, QAccessible::StaticText);
    connect(strip, &HotArea::pressed, this, [this](QPoint cursor) {
        // Pending paints first, so the window moves from where it is seen.
        QCoreApplication::processEvents();
        if (!allowed_())
            return;
        dragging_ = true;
        lastCursor_ = cursor;
    });
    connect(strip, &HotArea::moved, this, [this](QPoint cursor) {
        if (!dragging_)
            return;
        window_->move(window_->pos() + (cursor - lastCursor_));
        lastCursor_ = cursor;
    });
    connect(strip, &HotArea::released, this, [this] {
        if (allowed_())
            dragging_ = false;
    });
}
