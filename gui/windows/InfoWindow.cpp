#include "gui/windows/InfoWindow.h"

#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/windows/SettingsWindow.h"

#include <QKeyEvent>

namespace {

constexpr QSize kClientSize(366, 239);
constexpr QPoint kOffsetFromAnchor(260, 160);

} // namespace

InfoWindow::InfoWindow(const Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), settings_(settings) {
    setObjectName(QStringLiteral("FWinieta"));
    setAccessibleName(QStringLiteral("O programie"));
    setFixedSize(kClientSize);
    MakePicture(QStringLiteral("Image1"), QStringLiteral("winieta"), QRect(QPoint(0, 0), kClientSize), this);
    auto* close = new HotArea(QStringLiteral("LCloseWinieta"), QStringLiteral("Zamknij"), {322, 21, 24, 17}, this);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &HotArea::clicked, this, &QDialog::accept);
}

void InfoWindow::Execute(const QWidget& anchor) {
    Place(anchor);
    exec();
}

void InfoWindow::Place(const QWidget& anchor) { move(anchor.mapToGlobal(QPoint(0, 0)) + kOffsetFromAnchor); }

// Only the close spot closes the window, unless the learner chose Enter and Escape to close it too.
void InfoWindow::keyPressEvent(QKeyEvent* event) {
    if (KeyClosesInfoWindow(SettingsKeyOf(*event), event->isAutoRepeat(), settings_))
        accept();
    event->accept();
}
