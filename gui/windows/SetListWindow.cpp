#include "gui/windows/SetListWindow.h"

#include "core/base/CodePage.h"
#include "core/presentation/AccessibleTexts.h"
#include "core/selection/SetStart.h"
#include "core/selection/SetTreeKeys.h"
#include "core/session/ProgramState.h"
#include "core/storage/SetListFile.h"
#include "core/storage/SettingsFile.h"
#include "gui/widgets/Accessible.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/ScrollBar.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <utility>

namespace {

constexpr QSize kClientSize(310, 487);
constexpr QPoint kOffsetFromAnchor(280, 61);
constexpr QRect kTreePanel(33, 95, 245, 260);
constexpr QRect kScrollBarHolder(226, 0, 16, 255);
constexpr int kMarkWidth = 17; // the space in front of a row's text
const QColor kChoiceColour(46, 46, 46);
const QColor kFocusColour(0, 128, 0); // the selected row's own green

SetListKey KeyOf(const QKeyEvent& event) {
    using Kind = SetListKey::Kind;
    const bool modified = (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    switch (event.key()) {
    case Qt::Key_Up: return {Kind::Up, modified};
    case Qt::Key_Down: return {Kind::Down, modified};
    case Qt::Key_Left: return {Kind::Left, modified};
    case Qt::Key_Right: return {Kind::Right, modified};
    case Qt::Key_Space: return {Kind::Space, modified};
    case Qt::Key_Return:
    case Qt::Key_Enter: return {Kind::Enter, modified};
    case Qt::Key_Escape: return {Kind::Escape, modified};
    default: return {Kind::Other, modified};
    }
}

} // namespace

// The tree picture: white, with the rows the tree gives; only the part in view is painted.
class SetTreePicture : public QWidget, public AccessibleTreeRows {
public:
    explicit SetTreePicture(QWidget* parent) : QWidget(parent), font_(QStringLiteral("MS Sans Serif"), 8) {
        setObjectName(QStringLiteral("ImDrzewo"));
        SetAccessibleRole(this, QAccessible::Tree);
        setAccessibleName(QStringLiteral("Zestawy pytań"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(kTreePictureWidth, kTreePictureHeight);
    }

    std::function<void(int y)> MouseDown;
    std::function<void()> DoubleClick;
    std::function<void(QWheelEvent* event)> Wheel;

    void SetRows(std::vector<SetTreeRow> rows, int height) {
        rows_ = std::move(rows);
        resize(kTreePictureWidth, height);
        update();
        AccessibleRowsChanged(this);
    }
    // The row whose top is at y gets the keyboard's focus ring; none after a click.
    void SetFocusRow(std::optional<int> y) {
        focusY_ = y;
        update();
    }
    std::optional<int> FocusRow() const { return focusY_; }

    int AccessibleRowCount() const override { return static_cast<int>(rows_.size()); }
    Row AccessibleRow(int index) const override {
        const SetTreeRow& row = rows_[static_cast<std::size_t>(index)];
        const std::u16string name = AnsiToWide(row.Name);
        return {QString::fromStdU16String(SetTreeRowName({name, row.Level, row.Category, row.Open})),
                QRect(0, row.Y, kTreePictureWidth, kTreeRowHeight), row.Selected, row.Category, row.Open};
    }
    int AccessibleRowAt(QPoint point) const override {
        const auto below = std::upper_bound(rows_.begin(), rows_.end(), point.y(),
                                            [](int y, const SetTreeRow& row) { return y < row.Y; });
        if (below == rows_.begin() || point.y() >= std::prev(below)->Y + kTreeRowHeight)
            return -1;
        return static_cast<int>(std::distance(rows_.begin(), below) - 1);
    }
    int SelectedAccessibleRow() const override {
        const auto selected =
            std::find_if(rows_.begin(), rows_.end(), [](const SetTreeRow& row) { return row.Selected; });
        return selected == rows_.end() ? -1 : static_cast<int>(std::distance(rows_.begin(), selected));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.fillRect(area, Qt::white);
        const auto first = std::lower_bound(rows_.begin(), rows_.end(), area.top() - kTreeRowHeight,
                                            [](const SetTreeRow& row, int top) { return row.Y < top; });
        for (auto row = first; row != rows_.end() && row->Y <= area.bottom(); ++row)
            PaintRow(painter, *row);
    }
    void mousePressEvent(QMouseEvent* event) override { MouseDown(event->position().toPoint().y()); }
    // The second press of a double click selects like the first, then the row opens or closes.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        MouseDown(event->position().toPoint().y());
        if (event->button() == Qt::LeftButton)
            DoubleClick();
    }
    void wheelEvent(QWheelEvent* event) override { Wheel(event); }

private:
    void PaintRow(QPainter& painter, const SetTreeRow& row) {
        const QColor colour(row.Colour.R, row.Colour.G, row.Colour.B);
        QFont font = font_;
        font.setUnderline(row.Underlined);
        painter.setFont(font);
        painter.setPen(colour);
        const QRect place(row.X, row.Y, kTreePictureWidth * 4, kTreeRowHeight);
        painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, DisplayText(AnsiToWide(row.Name)));
        if (row.Category)
            PaintMark(painter, row, colour);
        if (focusY_ == row.Y)
            PaintFocus(painter, row, font);
    }
    // A thin rounded outline around the mark and the text, as far as the text reaches.
    static void PaintFocus(QPainter& painter, const SetTreeRow& row, const QFont& font) {
        const int textWidth = QFontMetrics(font).horizontalAdvance(DisplayText(AnsiToWide(row.Name)));
        const QRectF ring(row.X - kMarkWidth - 0.5, row.Y - 0.5, kMarkWidth + textWidth + 4, kTreeRowHeight);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kFocusColour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(ring, 3, 3);
        painter.restore();
    }
    // A triangle in front of a category: pointing right while closed, down while open.
    static void PaintMark(QPainter& painter, const SetTreeRow& row, const QColor& colour) {
        const QPointF centre(row.X - kMarkWidth / 2.0, row.Y + 6.5);
        QPainterPath mark;
        if (row.Open) {
            mark.moveTo(centre + QPointF(-4, -2));
            mark.lineTo(centre + QPointF(4, -2));
            mark.lineTo(centre + QPointF(0, 3));
        } else {
            mark.moveTo(centre + QPointF(-2, -4));
            mark.lineTo(centre + QPointF(3, 0));
            mark.lineTo(centre + QPointF(-2, 4));
        }
        mark.closeSubpath();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(mark);
        painter.restore();
    }

    QFont font_;
    std::vector<SetTreeRow> rows_;
    std::optional<int> focusY_;
};

SetListWindow::SetListWindow(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("FOknoLTestow"));
    setWindowTitle(QStringLiteral("Lista zestawów"));
    setFixedSize(kClientSize);
    MakePicture(QStringLiteral("ImTlo"), QStringLiteral("oknoltestow"), QRect(QPoint(0, 0), kClientSize), this);

    pPodListeTestow_ = MakeWhitePanel(QStringLiteral("PPodListeTestow"), kTreePanel, this);
    imDrzewo_ = new SetTreePicture(pPodListeTestow_);
    imDrzewo_->MouseDown = [this](int y) { TreeMouseDown(y); };
    imDrzewo_->DoubleClick = [this] { TreeDoubleClick(); };
    // The wheel over the tree turns the scroll bar, while there is one.
    imDrzewo_->Wheel = [this](QWheelEvent* event) {
        if (pPodListweTestow_->isVisibleTo(this))
            QCoreApplication::sendEvent(listwa_, event);
    };
    pPodListweTestow_ = MakeWhitePanel(QStringLiteral("PPodListweTestow"), kScrollBarHolder, pPodListeTestow_);
    pPodListweTestow_->hide();
    listwa_ = new ScrollBar(pPodListweTestow_);
    listwa_->setGeometry(QRect(QPoint(0, 0), kScrollBarHolder.size()));
    connect(listwa_, &ScrollBar::OnChange, this, &SetListWindow::ScrollBarMoved);

    auto* confirm = new HotArea(QStringLiteral("LWprowadz"), QStringLiteral("Wprowadź"), {181, 384, 89, 24}, this);
    confirm->setCursor(Qt::PointingHandCursor);
    connect(confirm, &HotArea::clicked, this, &SetListWindow::ConfirmClick);
    auto* cancel = new HotArea(QStringLiteral("LAnuluj"), QStringLiteral("Anuluj"), {181, 420, 89, 24}, this);
    cancel->setCursor(Qt::PointingHandCursor);
    connect(cancel, &HotArea::clicked, this, &SetListWindow::CancelClick);

    lTest_ = MakeLabel(QStringLiteral("LTest"), {29, 451, 249, 13}, this);
    lTest_->setAttribute(Qt::WA_TranslucentBackground);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setBold(true);
    lTest_->setFont(font);
    SetTextColour(lTest_, kChoiceColour);
    SetAccessibleRole(lTest_, QAccessible::StatusBar);
}

void SetListWindow::ShowSetList(const QWidget& anchor) {
    if (Prepare(anchor))
        exec();
}

bool SetListWindow::Prepare(const QWidget& anchor) {
    std::vector<std::string> lines;
    SetListHeader header;
    if (!LoadSetList(state_.LearnerSettings.ListFilePath, lines, header, state_.Reports()))
        return false;
    ResetSetTree(tree_, pPodListeTestow_->height());
    BuildSetTree(tree_, lines);
    DrawTree();
    FormShow(anchor);
    return true;
}

void SetListWindow::FormShow(const QWidget& anchor) {
    move(anchor.mapToGlobal(QPoint(0, 0)) + kOffsetFromAnchor);
    lTest_->setText(DisplayText(kNoChoiceText));
}

void SetListWindow::DrawTree() {
    imDrzewo_->SetRows(DrawSetTree(tree_), SetTreePictureHeight(tree_));
    const ScrollBarFit fit = FitSetTreeScrollBar(tree_);
    if (fit.Shown) {
        listwa_->SetMax(fit.Max);
        listwa_->SetLargeChange(fit.LargeChange);
        listwa_->SetSmallChange(fit.SmallChange);
        listwa_->SetSmallChangeMax(fit.SmallChangeMax);
        listwa_->SetPosition(fit.Position);
        ScrollSetTree(tree_, listwa_->Position());
    }
    pPodListweTestow_->setVisible(fit.Shown);
    imDrzewo_->move(0, SetTreePictureTop(tree_));
}

void SetListWindow::TreeMouseDown(int y) {
    imDrzewo_->SetFocusRow(std::nullopt);
    if (SelectSetTreeRow(tree_, y))
        imDrzewo_->SetRows(DrawSetTree(tree_), SetTreePictureHeight(tree_));
    if (const std::optional<std::u16string> choice =
            ChooseSelectedSet(tree_, state_.LearnerSettings.ListFilePath, chosen_))
        lTest_->setText(DisplayText(*choice));
}

void SetListWindow::TreeDoubleClick() {
    if (ToggleSetTreeEntry(tree_))
        DrawTree();
}

void SetListWindow::ScrollBarMoved(int position) {
    ScrollSetTree(tree_, position);
    imDrzewo_->move(0, SetTreePictureTop(tree_));
}

void SetListWindow::ConfirmClick() {
    if (!ConfirmSetChoice(chosen_, state_.Box))
        return;
    accept();
    StartSetFromList(state_.Run, chosen_);
}

void SetListWindow::CancelClick() {
    chosen_ = {};
    reject();
}

// Keys do what the mouse does; no other key closes the window, and there is no default button.
void SetListWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const SetListKeyOutcome outcome = SetListKeyAction(KeyOf(*event), tree_, imDrzewo_->FocusRow().has_value());
    switch (outcome.What) {
    case SetListAction::SelectRow:
        TreeMouseDown(outcome.RowY);
        ShowSelectionByKeys();
        break;
    case SetListAction::ToggleEntry:
        TreeDoubleClick();
        ShowSelectionByKeys();
        break;
    case SetListAction::Choose: ConfirmClick(); break;
    case SetListAction::Cancel: CancelClick(); break;
    case SetListAction::Nothing: break;
    }
}

// Scrolls the selected row into view and rings it while the keyboard is in use.
void SetListWindow::ShowSelectionByKeys() {
    const int position = ScrollPositionShowingSelection(tree_);
    if (position != tree_.ScrollPosition) {
        listwa_->SetPosition(position);
        ScrollBarMoved(listwa_->Position());
    }
    imDrzewo_->SetFocusRow(SelectedSetTreeRowTop(tree_));
}

std::optional<int> SetListWindow::FocusedRowTop() const { return imDrzewo_->FocusRow(); }
