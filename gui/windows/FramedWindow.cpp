#include "gui/windows/FramedWindow.h"

#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Accessible.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/WindowDrag.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPolygon>
#include <QRegion>
#include <QShowEvent>

namespace {

// A piece of frame art, scaled to its control when the control is resized.
QLabel* Piece(const QString& objectName, const QString& art, QWidget* parent) {
    QLabel* picture = MakePicture(objectName, art, {}, parent);
    picture->setScaledContents(true);
    return picture;
}

void Place(QWidget* widget, const FrameRect& rect) { widget->setGeometry(ToQRect(rect)); }

// A letter's or sign's key code is its character, letters in upper case.
FramedWindowKey FramedWindowKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers();
    const char32_t character = event.key() == Qt::Key_Escape ? U'\x1b' : static_cast<char32_t>(event.key());
    return {character,
            {held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier), held.testFlag(Qt::ShiftModifier),
             held.testFlag(Qt::MetaModifier)}};
}

} // namespace

QRect ToQRect(const FrameRect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

FramedWindow::FramedWindow(const QString& objectName, const FrameMetrics& metrics, const QString& art,
                           QPoint offsetFromAnchor, const Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), metrics_(metrics),
      offsetFromAnchor_(offsetFromAnchor), drag_(new WindowDrag(this)), settings_(settings) {
    setObjectName(objectName);
    SetAccessibleRole(this, QAccessible::Window);
    setAttribute(Qt::WA_ShowWithoutActivating);
    BuildExpanded(art);
    BuildCollapsed(art);
}

// Later pieces lie over earlier ones: the corners over the edges, the edges over the centre.
void FramedWindow::BuildExpanded(const QString& art) {
    PPodstawaBig = MakePanel(QStringLiteral("PPodstawaBig"), {}, this);
    PCentrum = MakeWhitePanel(QStringLiteral("PCentrum"), {}, PPodstawaBig);

    PLeftMidlle = MakePanel(QStringLiteral("PLeftMidlle"), {}, PPodstawaBig);
    ImLeftMidlle = Piece(QStringLiteral("ImLeftMidlle"), QStringLiteral("oknoramkalewa"), PLeftMidlle);
    PRightMidlle = MakePanel(QStringLiteral("PRightMidlle"), {}, PPodstawaBig);
    ImRightMidlle = Piece(QStringLiteral("ImRightMidlle"), QStringLiteral("oknoramkaprawa"), PRightMidlle);
    PTop = MakePanel(QStringLiteral("PTop"), {}, PPodstawaBig);
    ImTop = Piece(QStringLiteral("ImTop"), QStringLiteral("oknoramkagora"), PTop);
    LListwaTop = new HotArea(QStringLiteral("LListwaTop"), QStringLiteral("Pasek tytułu"), {}, PTop);
    PBottom = MakePanel(QStringLiteral("PBottom"), {}, PPodstawaBig);
    ImBottom = Piece(QStringLiteral("ImBottom"), art + QStringLiteral("dol"), PBottom);

    PLeftTop = Piece(QStringLiteral("PLeftTop"), art + QStringLiteral("lewagora"), PPodstawaBig);
    PRightTop = Piece(QStringLiteral("PRightTop"), QStringLiteral("oknoramkaprawagora"), PPodstawaBig);
    LZwinOkno = new HotArea(QStringLiteral("LZwinOkno"), QStringLiteral("Zwiń okno"), {}, PRightTop);
    PLeftBottom = Piece(QStringLiteral("PLeftBottom"), art + QStringLiteral("lewadol"), PPodstawaBig);
    PRightBottom = Piece(QStringLiteral("PRightBottom"), art + QStringLiteral("prawadol"), PPodstawaBig);

    LZwinOkno->setCursor(Qt::PointingHandCursor);
    connect(LZwinOkno, &HotArea::clicked, this, &FramedWindow::CollapseClick);
    drag_->Attach(LListwaTop);
}

void FramedWindow::BuildCollapsed(const QString& art) {
    PZwiniete = MakePanel(QStringLiteral("PZwiniete"), {}, this);
    PLeft = MakePanel(QStringLiteral("PLeft"), {}, PZwiniete);
    Place(Piece(QStringLiteral("ImLeft"), art + QStringLiteral("listwalewa"), PLeft),
          {0, 0, kFrameLeftWidth, kBarHeight});
    PMidlle = MakePanel(QStringLiteral("PMidlle"), {}, PZwiniete);
    ImMidlle = Piece(QStringLiteral("ImMidlle"), QStringLiteral("oknolistwasrodek"), PMidlle);
    LListwaNaListwie = new HotArea(QStringLiteral("LListwaNaListwie"), QStringLiteral("Pasek tytułu"), {}, PMidlle);
    PRight = MakePanel(QStringLiteral("PRight"), {}, PZwiniete);
    Place(Piece(QStringLiteral("ImRight"), QStringLiteral("oknolistwaprawa"), PRight),
          {0, 0, kFrameRightWidth, kBarHeight});
    LRozwinOkno = new HotArea(QStringLiteral("LRozwinOkno"), QStringLiteral("Rozwiń okno"), {}, PRight);

    LRozwinOkno->setCursor(Qt::PointingHandCursor);
    connect(LRozwinOkno, &HotArea::clicked, this, &FramedWindow::ExpandClick);
    drag_->Attach(LListwaNaListwie);
}

void FramedWindow::Open(const QWidget& anchor) {
    anchorWindow_ = anchor.window();
    if (!isHidden())
        return;
    move(anchor.mapToGlobal(QPoint(0, 0)) + offsetFromAnchor_);
    show();
}

bool FramedWindow::IsCollapsed() const { return !PZwiniete->isHidden(); }

void FramedWindow::keyPressEvent(QKeyEvent* event) {
    const SizeTools tools = ShownSizeTools();
    const FramedWindowAction action =
        FramedWindowKeyAction(FramedWindowKeyOf(*event), {IsCollapsed(), Expandable(), tools.Smaller, tools.Larger});
    switch (action) {
    case FramedWindowAction::Nothing: QWidget::keyPressEvent(event); return;
    case FramedWindowAction::Fold: CollapseClick(); break;
    case FramedWindowAction::Unfold: ExpandClick(); break;
    case FramedWindowAction::Leave:
        if (anchorWindow_)
            anchorWindow_->activateWindow();
        break;
    case FramedWindowAction::Smaller:
    case FramedWindowAction::Larger:
    case FramedWindowAction::Copy: UseTool(action); break;
    }
    event->accept();
}

void FramedWindow::CollapseClick() {
    if (!expandable_)
        return;
    CollapseToBar();
    memory_.LearnerFolded({windowWidth_, windowHeight_});
}

void FramedWindow::ExpandClick() {
    if (!expandable_)
        return;
    LayoutExpanded();
    LearnerResized();
}

void FramedWindow::LearnerResized() { memory_.LearnerExpanded({windowWidth_, windowHeight_}); }

std::optional<SideWindowShape> FramedWindow::KeptShape() const {
    return memory_.ShapeForAttachment(settings_.KeepSideWindows);
}

void FramedWindow::ArrangeExpanded() {
    const ExpandedFrame frame = LayoutExpandedFrame(metrics_, {windowWidth_, windowHeight_});
    Place(PPodstawaBig, frame.PPodstawaBig);
    Place(PLeftTop, frame.PLeftTop);
    Place(PLeftMidlle, frame.PLeftMidlle);
    Place(ImLeftMidlle, frame.ImLeftMidlle);
    Place(PLeftBottom, frame.PLeftBottom);
    Place(PTop, frame.PTop);
    Place(ImTop, frame.ImTop);
    Place(LListwaTop, frame.LListwaTop);
    Place(PRightTop, frame.PRightTop);
    Place(LZwinOkno, frame.LZwinOkno);
    Place(PRightMidlle, frame.PRightMidlle);
    Place(ImRightMidlle, frame.ImRightMidlle);
    Place(PBottom, frame.PBottom);
    Place(ImBottom, frame.ImBottom);
    Place(PRightBottom, frame.PRightBottom);
    Place(PCentrum, frame.PCentrum);
    setFixedSize(windowWidth_, windowHeight_);
    SetOutline(windowHeight_);
    PPodstawaBig->show();
    PZwiniete->hide();
}

void FramedWindow::CollapseToBar() {
    const CollapsedFrame bar = LayoutCollapsedFrame(windowWidth_, metrics_);
    Place(PZwiniete, bar.PZwiniete);
    Place(PLeft, bar.PLeft);
    Place(PMidlle, bar.PMidlle);
    Place(ImMidlle, bar.ImMidlle);
    Place(LListwaNaListwie, bar.LListwaNaListwie);
    Place(PRight, bar.PRight);
    Place(LRozwinOkno, bar.LRozwinOkno);
    setFixedSize(windowWidth_, kBarHeight);
    SetOutline(kBarHeight);
    PPodstawaBig->hide();
    PZwiniete->show();
}

void FramedWindow::SetOutline(int height) {
    QPolygon outline;
    for (const FramePoint& point : CutCornerOutline({windowWidth_, height}))
        outline << QPoint(point.X, point.Y);
    setMask(QRegion(outline, Qt::OddEvenFill));
}

void FramedWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        drag_->Cancel();
        memory_.StartRun(); // shown when a run starts, hidden when it ends
        FormShow();
    }
}

HotArea* MakeToolButton(const QString& panelName, const QString& imageName, const QString& art, const QString& hint,
                        const QRect& geometry, QWidget* parent) {
    QWidget* panel = MakePanel(panelName, geometry, parent);
    panel->setToolTip(hint);
    auto* image = new HotArea(imageName, hint, {QPoint(0, 0), geometry.size()}, panel);
    ResJpegToImage(art, image);
    image->setCursor(Qt::PointingHandCursor);
    return image;
}
