#include "session/UPodsumowanie.h"

#include "widgets/Controls.h"
#include "widgets/HotArea.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFont>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>

namespace {

constexpr QSize kClientSize(409, 235);
constexpr QPoint kOffsetFromAnchor(355, 222);

// The rectangle with corners rounded by a 12 × 12 ellipse.
QRegion RoundedOutline(QSize size) {
    QPainterPath path;
    path.addRoundedRect(0, 0, size.width(), size.height(), 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

TFPodsumowanie::TFPodsumowanie(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FPodsumowanie"));
    setWindowTitle(QStringLiteral("Podsumowanie"));
    setFixedSize(kClientSize);
    setMask(RoundedOutline(kClientSize));

    MakePicture(QStringLiteral("ImTlo"), QStringLiteral("oknopodsumowanie"), QRect(QPoint(0, 0), kClientSize), this);

    lPodsumowanie_ = MakeLabel(QStringLiteral("LPodsumowanie"), QRect(100, 64, 265, 124), this);
    lPodsumowanie_->setTextFormat(Qt::PlainText);
    lPodsumowanie_->setWordWrap(true);
    lPodsumowanie_->setAttribute(Qt::WA_TranslucentBackground);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    lPodsumowanie_->setFont(font);
    SetTextColour(lPodsumowanie_, QColor(Qt::black));

    auto* close = new HotArea(QStringLiteral("LClosePodsumowanie"), QStringLiteral("Zamknij"), {380, 6, 17, 17}, this);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &HotArea::clicked, this, &QDialog::accept);

    // Any button drags; the window follows the cursor's screen movement.
    auto* strip = new HotArea(QStringLiteral("LListwa"), QStringLiteral("Pasek tytułu"), {8, 6, 361, 17}, this);
    connect(strip, &HotArea::pressed, this, [this](QPoint cursor) {
        QCoreApplication::processEvents();
        dragging_ = true;
        lastCursor_ = cursor;
    });
    connect(strip, &HotArea::moved, this, [this](QPoint cursor) {
        if (!dragging_)
            return;
        move(pos() + (cursor - lastCursor_));
        lastCursor_ = cursor;
    });
    connect(strip, &HotArea::released, this, [this] { dragging_ = false; });
}

void TFPodsumowanie::ShowSummaryWindow(std::u16string_view text, const QWidget& anchor) {
    Prepare(text, anchor);
    exec();
}

void TFPodsumowanie::Prepare(std::u16string_view text, const QWidget& anchor) {
    lPodsumowanie_->setText(DisplayText(text));
    dragging_ = false;
    Place(anchor);
}

void TFPodsumowanie::Place(const QWidget& anchor) { move(anchor.mapToGlobal(QPoint(0, 0)) + kOffsetFromAnchor); }

// Only the close spot closes the window: no Escape, no default button. Ctrl+C copies
// the report, as desktop message windows do, so a learner can keep the result.
void TFPodsumowanie::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy))
        QGuiApplication::clipboard()->setText(lPodsumowanie_->text());
    event->accept();
}
