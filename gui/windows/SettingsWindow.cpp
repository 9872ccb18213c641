#include "gui/windows/SettingsWindow.h"

#include "core/session/ProgramState.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/WindowDrag.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QShowEvent>
#include <QWindow>

#include <functional>

namespace {

constexpr QSize kClientSize(409, 262);
// Centred over the main window's panel.
constexpr QPoint kOffsetFromAnchor(190, 159);
constexpr QRect kFirstRow(20, 44, 369, 24);
constexpr int kRowStep = 26;
constexpr QSize kButtonSize(88, 26);

const QColor kInk(0x1E, 0x3A, 0x5F);
const QColor kEdge(0x9F, 0xB3, 0xC8);
const QColor kChecked(0x1E, 0x4C, 0x80);
const QColor kFocus(242, 188, 66); // the amber of the main menu's focus outline

QRegion RoundedOutline(QSize size) {
    QPainterPath path;
    path.addRoundedRect(0, 0, size.width(), size.height(), 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

void PaintFocus(QPainter& painter, const QRect& area) {
    painter.setPen(QPen(kFocus, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), 4, 4);
}

QFont FormFont(bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

} // namespace

// A drawn control of the window: a caption, the amber outline while it has the keyboard's
// focus, and a left click released over it.
class SettingsControl : public QWidget {
public:
    SettingsControl(const QString& objectName, const QString& caption, QWidget* parent)
        : QWidget(parent), caption_(caption) {
        setObjectName(objectName);
        setAccessibleName(caption);
        setCursor(Qt::PointingHandCursor);
    }
    void ShowFocus(bool focused) {
        focused_ = focused;
        update();
    }
    std::function<void()> Clicked;

protected:
    // Draws the control's face; the focus outline goes over it.
    virtual void PaintFace(QPainter& painter) = 0;

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintFace(painter);
        if (focused_)
            PaintFocus(painter, rect());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && Clicked)
            Clicked();
    }

    QString caption_;

private:
    bool focused_ = false;
};

// A drawn check box with its caption; a click anywhere on the row toggles it.
class SettingsCheckRow : public SettingsControl {
public:
    SettingsCheckRow(const QString& caption, int index, QWidget* parent)
        : SettingsControl(QStringLiteral("CbUstawienie%1").arg(index), caption, parent) {}
    void Show(bool checked, bool focused) {
        checked_ = checked;
        ShowFocus(focused);
    }

protected:
    void PaintFace(QPainter& painter) override {
        const QRectF box(8.5, (height() - 14) / 2.0 + 0.5, 14, 14);
        painter.setPen(checked_ ? kChecked : kEdge);
        painter.setBrush(checked_ ? kChecked : QColor(Qt::white));
        painter.drawRoundedRect(box, 3, 3);
        if (checked_) {
            painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPointF at = box.topLeft();
            painter.drawPolyline(QPolygonF{at + QPointF(3.5, 7), at + QPointF(6, 9.8), at + QPointF(10.5, 4.2)});
        }
        painter.setPen(kInk);
        painter.setFont(FormFont(false));
        painter.drawText(rect().adjusted(32, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, caption_);
    }

private:
    bool checked_ = false;
};

// A button drawn as the program's other buttons are.
class SettingsButton : public SettingsControl {
public:
    SettingsButton(const QString& objectName, const QString& caption, QPoint at, QWidget* parent)
        : SettingsControl(objectName, caption, parent) {
        setGeometry(QRect(at, kButtonSize));
    }

protected:
    void PaintFace(QPainter& painter) override {
        QLinearGradient face(0, 0, 0, height());
        face.setColorAt(0, Qt::white);
        face.setColorAt(1, QColor(0xE4, 0xEC, 0xF5));
        painter.setPen(kEdge);
        painter.setBrush(face);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.setPen(kInk);
        painter.setFont(FormFont(true));
        painter.drawText(rect(), Qt::AlignCenter, caption_);
    }
};

SettingsKey SettingsKeyOf(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return SettingsKey::Other;
    switch (event.key()) {
    case Qt::Key_Up: return SettingsKey::Up;
    case Qt::Key_Down: return SettingsKey::Down;
    case Qt::Key_Tab: return SettingsKey::Tab;
    case Qt::Key_Backtab: return SettingsKey::BackTab;
    case Qt::Key_Space: return SettingsKey::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return SettingsKey::Enter;
    case Qt::Key_Escape: return SettingsKey::Escape;
    default: return SettingsKey::Other;
    }
}

SettingsWindow::SettingsWindow(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), state_(state),
      drag_(new WindowDrag(this)) {
    setObjectName(QStringLiteral("FUstawienia"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    setFixedSize(kClientSize);
    setMask(RoundedOutline(kClientSize));
    MakePicture(QStringLiteral("ImTlo"), QStringLiteral("oknoustawienia"), QRect(QPoint(0, 0), kClientSize), this);

    const auto rows = SettingsRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* row = new SettingsCheckRow(DisplayText(rows[i].Caption), static_cast<int>(i), this);
        row->setGeometry(kFirstRow.translated(0, static_cast<int>(i) * kRowStep));
        row->Clicked = [this, i] {
            form_.Focus = i;
            PressSettingsKey(form_, SettingsKey::Space);
            Show();
        };
        rows_.push_back(row);
    }
    save_ = new SettingsButton(QStringLiteral("BZapisz"), QStringLiteral("Zapisz"), {205, 223}, this);
    save_->Clicked = [this] { Finish(SettingsOutcome::Save); };
    cancel_ = new SettingsButton(QStringLiteral("BAnuluj"), QStringLiteral("Anuluj"), {301, 223}, this);
    cancel_->Clicked = [this] { Finish(SettingsOutcome::Cancel); };

    auto* close = new HotArea(QStringLiteral("LCloseUstawienia"), QStringLiteral("Anuluj"), {380, 6, 17, 17}, this);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &HotArea::clicked, this, [this] { Finish(SettingsOutcome::Cancel); });
    drag_->Attach(new HotArea(QStringLiteral("LListwa"), QStringLiteral("Pasek tytułu"), {8, 6, 361, 17}, this));
}

void SettingsWindow::Execute(const QWidget& anchor) {
    Prepare(anchor);
    exec();
}

void SettingsWindow::Prepare(const QWidget& anchor) {
    form_ = CurrentSettingsForm(state_.LearnerSettings);
    drag_->Cancel();
    move(anchor.mapToGlobal(QPoint(0, 0)) + kOffsetFromAnchor);
    Show();
}

void SettingsWindow::Show() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->Show(form_.Checked[i], form_.Focus == i);
    save_->ShowFocus(form_.Focus == form_.SaveButton());
    cancel_->ShowFocus(form_.Focus == form_.CancelButton());
}

void SettingsWindow::Finish(SettingsOutcome outcome) {
    if (outcome == SettingsOutcome::Stay)
        return;
    if (outcome == SettingsOutcome::Save) {
        SettingsFile file = state_.SettingsStore();
        ApplySettingsForm(form_, state_.LearnerSettings, file, state_.Reports());
    }
    done(outcome == SettingsOutcome::Save ? Accepted : Rejected);
}

// Keys are taken at the platform window, as the main window's menu takes them: the application's
// filter swallows Tab on its way to any widget.
void SettingsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowHandle()->installEventFilter(this);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowHandle() || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    Finish(PressSettingsKey(form_, SettingsKeyOf(*static_cast<QKeyEvent*>(event))));
    Show();
    return true;
}
