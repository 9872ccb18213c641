#include "gui/windows/WarningWindow.h"

#include "core/base/ShowWarning.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Accessible.h"
#include "gui/widgets/Controls.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include <cstddef>

namespace {

constexpr QSize kClientSize(350, 150);

std::size_t Index(WarningButton button) { return static_cast<std::size_t>(button); }

QString PictureName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Only the keys the box knows get a code. Function and keypad keys get none, so a code such as
// F5's 116 ("t") can never pass for the lower-case letter of a pair.
int WarningKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Right: return kKeyRight;
    default: return 0;
    }
}

// Sees every event the application delivers. Only key events count: Qt delivers many events
// of its own between two keys, and the mark must still be set when the swallowed Tab reaches
// the box. A key event first goes to the platform window, which hands it to its focus widget;
// the Tab is swallowed there, so it never reaches a control nor moves the keyboard focus.
class TabFilter : public QObject {
public:
    using QObject::QObject;

    bool Marked() const { return marked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        marked_ = key == Qt::Key_Tab || key == Qt::Key_Backtab;
        if (!marked_ || !watched->isWidgetType())
            return false;
        if (type == QEvent::ShortcutOverride)
            event->accept(); // keeps any shortcut on Tab from firing as well
        else if (type == QEvent::KeyPress)
            if (auto* box = qobject_cast<WarningWindow*>(static_cast<QWidget*>(watched)->window()))
                box->FormKeyDown(0);
        return true;
    }

private:
    bool marked_ = false;
};

// The application's filter, a child of the application object found by its name.
const QString kTabFilterName = QStringLiteral("TabFilter");
TabFilter* ApplicationTabFilter() {
    QCoreApplication* application = QCoreApplication::instance();
    QObject* filter =
        application ? application->findChild<QObject*>(kTabFilterName, Qt::FindDirectChildrenOnly) : nullptr;
    return static_cast<TabFilter*>(filter);
}

// One filter for the application, whichever box was created first; it is never removed.
void InstallTabFilter() {
    if (ApplicationTabFilter() || !QCoreApplication::instance())
        return;
    auto* filter = new TabFilter(QCoreApplication::instance());
    filter->setObjectName(kTabFilterName);
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace

bool TabMarked() {
    const TabFilter* filter = ApplicationTabFilter();
    return filter != nullptr && filter->Marked();
}

WarningWindow::WarningWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FWarning"));
    // Read out whole as it appears, as screen readers read alerts.
    SetAccessibleRole(this, QAccessible::AlertMessage);
    setAccessibleName(QStringLiteral("Komunikat"));
    setFixedSize(kClientSize);

    imWarning_ = MakeLabel("ImWarning", QRect(QPoint(0, 0), kClientSize), this);
    QWidget* pIkona = MakePanel("PIkona", QRect(12, 4, 42, 43), this);
    imIkona_ = MakeLabel("ImIkona", QRect(0, 0, 42, 43), pIkona);

    lTekstWarning_ = MakeLabel("LTekstWarning", QRect(17, 51, 313, 53), this);
    lTekstWarning_->setWordWrap(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(12);
    lTekstWarning_->setFont(font);
    SetTextColour(lTekstWarning_, QColor(68, 68, 68));

    struct ButtonPlace {
        WarningButton Button;
        const char* Panel;
        const char* Image;
        int Left;
        const char* Caption;
    };
    static constexpr std::array<ButtonPlace, 4> kPlaces{{
        {WarningButton::Yes, "PButTak", "ImButTak", 63, "Tak"},
        {WarningButton::No, "PButNie", "ImButNie", 156, "Nie"},
        {WarningButton::Cancel, "PButAnuluj", "ImButAnuluj", 248, "Anuluj"},
        {WarningButton::Close, "pButZamknij", "ImButZamknij", 190, "Zamknij"},
    }};
    for (const ButtonPlace& place : kPlaces) {
        QWidget* panel = MakePanel(place.Panel, QRect(place.Left, 116, 88, 26), this);
        panel->setCursor(Qt::PointingHandCursor);
        QLabel* image = MakeLabel(place.Image, QRect(0, 0, 88, 26), panel);
        image->setAccessibleName(QString::fromUtf8(place.Caption));
        SetAccessibleRole(image, QAccessible::Button);
        image->installEventFilter(this);
        buttonPanels_[Index(place.Button)] = panel;
        buttonImages_[Index(place.Button)] = image;
    }

    lListwa_ = MakeLabel("LListwa", QRect(56, 5, 281, 23), this);
    lListwa_->setAccessibleName(QStringLiteral("Pasek tytułu"));
    lListwa_->installEventFilter(this);
    // Above the strip, which it overlaps at the right end.
    lClose_ = MakeLabel("LClose", QRect(323, 8, 17, 17), this);
    lClose_->setAccessibleName(QStringLiteral("Zamknij okno"));
    SetAccessibleRole(lClose_, QAccessible::Button);
    lClose_->installEventFilter(this);

    InstallTabFilter();
}

WarningButton WarningWindow::Execute(WarningButtonSet buttons, WarningIcon icon, const std::u16string& text) {
    Prepare(buttons, icon, text);
    return static_cast<WarningButton>(exec());
}

void WarningWindow::Prepare(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) {
    ResJpegToImage(PictureName(kWarningBackground), imWarning_);
    const bool putText = StartWarning(buttons, box_);
    for (const WarningButton button : kWarningButtons) {
        ShowButtonPicture(button, StartsHighlighted(button, box_));
        buttonPanels_[Index(button)]->setVisible(box_.Shows(button));
    }
    if (putText) {
        lTekstWarning_->setText(DisplayText(text));
        const std::string_view picture = WarningIconPicture(icon);
        if (!picture.empty())
            ResJpegToImage(PictureName(picture), imIkona_);
    }
    dragging_ = false;
    setResult(static_cast<int>(WarningButton::No));
}

void WarningWindow::setVisible(bool visible) {
    if (visible && !placed_) {
        const QRect screenArea = screen()->geometry();
        move(screenArea.left() + (screenArea.width() - width()) / 2,
             screenArea.top() + (screenArea.height() - height()) / 2);
        placed_ = true;
    }
    QDialog::setVisible(visible);
}

void WarningWindow::reject() { done(result()); }

void WarningWindow::FormKeyDown(int key) {
    const WarningKeyOutcome outcome = WarningKeyDown(box_, key, TabMarked(), language_);
    MoveHighlight(outcome.Focus);
    if (outcome.Close)
        CloseWith(*outcome.Close);
}

void WarningWindow::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(WarningKeyCode(*event));
    event->accept(); // no key reaches anything else, nor types a character
}

bool WarningWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lListwa_)
        return LListwaMouse(event);
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* area = static_cast<QWidget*>(watched);
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        area->rect().contains(mouse->position().toPoint())) {
        if (watched == lClose_)
            CloseSpotClick();
        for (const WarningButton button : kWarningButtons)
            if (watched == buttonImages_[Index(button)])
                CloseWith(button);
    }
    return true;
}

void WarningWindow::ShowButtonPicture(WarningButton button, bool highlighted) {
    ResJpegToImage(PictureName(WarningButtonPicture(button, highlighted, language_)), buttonImages_[Index(button)]);
}

void WarningWindow::MoveHighlight(WarningButton focus) {
    if (focus == box_.Focus)
        return;
    ShowButtonPicture(box_.Focus, false);
    box_.Focus = focus;
    ShowButtonPicture(focus, true);
}

void WarningWindow::CloseWith(WarningButton chosen) { done(static_cast<int>(chosen)); }

void WarningWindow::CloseSpotClick() {
    if (const std::optional<WarningButton> chosen = WarningCloseSpotClick(box_))
        CloseWith(*chosen);
}

bool WarningWindow::LListwaMouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragging_ = true;
        dragPoint_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        return true;
    case QEvent::MouseMove:
        if (dragging_) {
            const QPoint now = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            move(pos() + now - dragPoint_);
            dragPoint_ = now;
        }
        return true;
    case QEvent::MouseButtonRelease: dragging_ = false; return true;
    default: return false;
    }
}
