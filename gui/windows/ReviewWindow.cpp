#include "gui/windows/ReviewWindow.h"

#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/WindowDrag.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The colours and measures of the summary window's picture, which this window sits over.
constexpr QSize kClientSize(460, 340);
constexpr int kTitleHeight = 29;
constexpr int kFootHeight = 40;
constexpr QRect kCloseSpot(433, 6, 17, 17);
const QColor kHeadTop(0x2A, 0x64, 0xA3);
const QColor kHeadBottom(0x1E, 0x4C, 0x80);
const QColor kBodyBottom(0xF1, 0xF6, 0xFB);
const QColor kFoot(0xE6, 0xEF, 0xF8);
const QColor kRule(0xC9, 0xD8, 0xE8);

QRegion RoundedOutline(QSize size) {
    QPainterPath path;
    path.addRoundedRect(0, 0, size.width(), size.height(), 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

// A button drawn as the program's pictured buttons are; the keyboard stays with the text.
QPushButton* MakeButton(const QString& objectName, const QString& text, const QRect& geometry, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid #9FB3C8; border-radius: 6px; color: #1E3A5F; font: bold 13px 'DejaVu Sans';"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E4ECF5); }"
        "QPushButton:hover { border-color: #2A64A3; }"
        "QPushButton:pressed { background: #D5E2F0; }"));
    return button;
}

} // namespace

ReviewWindow::ReviewWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), mTekst_(new QPlainTextEdit(this)),
      drag_(new WindowDrag(this)) {
    setObjectName(QStringLiteral("FPrzegladBledow"));
    setWindowTitle(QStringLiteral("Przegląd błędów"));
    setFixedSize(kClientSize);
    setMask(RoundedOutline(kClientSize));

    mTekst_->setObjectName(QStringLiteral("MTekst"));
    mTekst_->setGeometry(12, kTitleHeight + 10, kClientSize.width() - 24,
                         kClientSize.height() - kTitleHeight - kFootHeight - 18);
    mTekst_->setReadOnly(true);
    mTekst_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    mTekst_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FFFFFF; color: #000000;"
                                          " border: 1px solid #C9D8E8; border-radius: 4px; }"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(12);
    mTekst_->setFont(font);
    mTekst_->installEventFilter(this);

    const int buttonTop = kClientSize.height() - kFootHeight + 7;
    connect(MakeButton(QStringLiteral("BKopiuj"), QStringLiteral("Kopiuj"), {264, buttonTop, 88, 26}, this),
            &QPushButton::clicked, this, &ReviewWindow::CopyClick);
    connect(MakeButton(QStringLiteral("BZamknij"), QStringLiteral("Zamknij"), {360, buttonTop, 88, 26}, this),
            &QPushButton::clicked, this, &QDialog::accept);

    auto* close = new HotArea(QStringLiteral("LClosePrzeglad"), QStringLiteral("Zamknij"), kCloseSpot, this);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &HotArea::clicked, this, &QDialog::accept);
    drag_->Attach(new HotArea(QStringLiteral("LListwa"), QStringLiteral("Pasek tytułu"),
                              {8, 6, kCloseSpot.left() - 14, 17}, this));
}

void ReviewWindow::Prepare(std::u16string_view text, const QWidget& anchor) {
    mTekst_->setPlainText(DisplayText(text));
    mTekst_->moveCursor(QTextCursor::Start);
    mTekst_->setFocus();
    drag_->Cancel();
    const QPoint centre = anchor.mapToGlobal(anchor.rect().center());
    move(centre - QPoint(kClientSize.width() / 2, kClientSize.height() / 2));
}

void ReviewWindow::ShowReview(std::u16string_view text, const QWidget& anchor) {
    Prepare(text, anchor);
    exec();
}

void ReviewWindow::CopyClick() { QGuiApplication::clipboard()->setText(mTekst_->toPlainText()); }

// Ctrl+C with nothing selected copies the whole review, as Kopiuj does: Tab never leaves the
// text for the button.
bool ReviewWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == mTekst_ && (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) && !mTekst_->textCursor().hasSelection()) {
        if (type == QEvent::KeyPress)
            CopyClick();
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: accept(); break;
    default: QDialog::keyPressEvent(event);
    }
}

void ReviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    QLinearGradient body(0, 0, 0, all.height());
    body.setColorAt(0, Qt::white);
    body.setColorAt(1, kBodyBottom);
    painter.fillRect(all, body);
    QLinearGradient head(0, 0, 0, kTitleHeight);
    head.setColorAt(0, kHeadTop);
    head.setColorAt(1, kHeadBottom);
    painter.fillRect(0, 0, all.width(), kTitleHeight, head);
    painter.fillRect(0, all.height() - kFootHeight, all.width(), kFootHeight, kFoot);
    painter.fillRect(0, all.height() - kFootHeight, all.width(), 1, kRule);

    painter.setRenderHint(QPainter::Antialiasing);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(13);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(12, 0, 300, kTitleHeight), Qt::AlignVCenter | Qt::AlignLeft, windowTitle());
    painter.setPen(QPen(QColor(255, 255, 255, 115)));
    painter.setBrush(QColor(0xE0, 0x60, 0x4F));
    painter.drawRoundedRect(QRectF(kCloseSpot).adjusted(-0.5, -0.5, 0.5, 0.5), 4, 4);
    painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = QRectF(kCloseSpot).adjusted(5, 5, -5, -5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.setPen(QPen(QColor(0x1E, 0x4C, 0x80, 140)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}
