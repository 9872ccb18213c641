#include "gui/windows/SummaryWindow.h"

#include "core/session/TestRun.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/WindowDrag.h"
#include "gui/windows/ReviewWindow.h"
#include "gui/windows/SettingsWindow.h"

#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>

namespace {

constexpr QSize kClientSize(409, 235);
constexpr QPoint kOffsetFromAnchor(355, 222);
// In the free strip between the title bar and the report's frame, flush with the frame's right edge.
constexpr QRect kReviewLink(254, 37, 119, 16);

// The rectangle with corners rounded by a 12 × 12 ellipse.
QRegion RoundedOutline(QSize size) {
    QPainterPath path;
    path.addRoundedRect(0, 0, size.width(), size.height(), 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

SummaryWindow::SummaryWindow(const TestRun& run, const Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), run_(run), settings_(settings),
      drag_(new WindowDrag(this)) {
    setObjectName(QStringLiteral("FPodsumowanie"));
    setWindowTitle(QStringLiteral("Podsumowanie"));
    setFixedSize(kClientSize);
    setMask(RoundedOutline(kClientSize));

    MakePicture(QStringLiteral("ImTlo"), QStringLiteral("oknopodsumowanie"), QRect(QPoint(0, 0), kClientSize), this);

    lPodsumowanie_ = MakeLabel(QStringLiteral("LPodsumowanie"), QRect(100, 64, 265, 124), this);
    lPodsumowanie_->setWordWrap(true);
    lPodsumowanie_->setAttribute(Qt::WA_TranslucentBackground);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    lPodsumowanie_->setFont(font);
    SetTextColour(lPodsumowanie_, QColor(Qt::black));

    auto* close = new HotArea(QStringLiteral("LClosePodsumowanie"), QStringLiteral("Zamknij"), {380, 6, 17, 17}, this);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &HotArea::clicked, this, &QDialog::accept);

    drag_->Attach(new HotArea(QStringLiteral("LListwa"), QStringLiteral("Pasek tytułu"), {8, 6, 361, 17}, this));

    auto* reviewLink =
        new HotArea(QStringLiteral("LPrzejrzyjBledy"), QStringLiteral("Przejrzyj błędy"), kReviewLink, this);
    reviewLink->setText(QStringLiteral("Przejrzyj błędy"));
    reviewLink->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    reviewLink->setToolTip(QStringLiteral("Pytania, na które za pierwszym razem odpowiedziałeś źle (klawisz P)"));
    QFont linkFont(QStringLiteral("MS Sans Serif"));
    linkFont.setPixelSize(12);
    linkFont.setUnderline(true);
    reviewLink->setFont(linkFont);
    SetTextColour(reviewLink, QColor(0x1E, 0x4C, 0x80));
    reviewLink->setCursor(Qt::PointingHandCursor);
    connect(reviewLink, &HotArea::clicked, this, &SummaryWindow::ReviewMistakesClick);
}

void SummaryWindow::ShowSummaryWindow(std::u16string_view text, const QWidget& anchor) {
    Prepare(text, anchor);
    exec();
}

void SummaryWindow::Prepare(std::u16string_view text, const QWidget& anchor) {
    lPodsumowanie_->setText(DisplayText(text));
    drag_->Cancel();
    Place(anchor);
}

void SummaryWindow::Place(const QWidget& anchor) { move(anchor.mapToGlobal(QPoint(0, 0)) + kOffsetFromAnchor); }

// Made when first wanted: most runs end without a look at the review.
void SummaryWindow::ReviewMistakesClick() {
    if (!review_)
        review_ = new ReviewWindow(this);
    review_->ShowReview(RunReviewText(run_.RunMistakes), *this);
}

// Only the close spot closes the window: no Escape, no default button. Ctrl+C copies
// the report, as desktop message windows do, so a learner can keep the result; P opens
// the review, the way the link does. Enter and Escape close it when the learner chose so.
void SummaryWindow::keyPressEvent(QKeyEvent* event) {
    if (KeyClosesInfoWindow(SettingsKeyOf(*event), event->isAutoRepeat(), settings_))
        accept();
    else if (event->matches(QKeySequence::Copy))
        QGuiApplication::clipboard()->setText(lPodsumowanie_->text());
    else if (event->key() == Qt::Key_P && !(event->modifiers() & Qt::ControlModifier))
        ReviewMistakesClick();
    event->accept();
}
