#include "gui/windows/PictureWindow.h"

#include "core/presentation/PictureWindowRules.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/windows/TextWindow.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr QPoint kOffsetFromAnchor(250, 25);

} // namespace

PictureWindow::PictureWindow(TestRun& run, const Settings& settings, QWidget* parent)
    : FramedWindow(QStringLiteral("FOknoGrafiki"), kPictureFrame, QStringLiteral("oknografiki"), kOffsetFromAnchor,
                   settings, parent),
      run_(run) {
    HotArea* enlarge =
        MakeToolButton(QStringLiteral("PPowieksz"), QStringLiteral("ImPowieksz"), QStringLiteral("butpowiekszokno"),
                       QStringLiteral("Zmień rozmiar okna"), {24, 40, 40, 45}, PLeftTop);
    HotArea* shrink =
        MakeToolButton(QStringLiteral("PZmniejsz"), QStringLiteral("ImZmniejsz"), QStringLiteral("butzmniejszokno"),
                       QStringLiteral("Zmień rozmiar okna"), {24, 40, 40, 45}, PLeftTop);
    PPowieksz = enlarge->parentWidget();
    PZmniejsz = shrink->parentWidget();
    connect(enlarge, &HotArea::clicked, this, &PictureWindow::EnlargeClick);
    connect(shrink, &HotArea::clicked, this, &PictureWindow::ShrinkClick);

    auto* copy = new HotArea(QStringLiteral("LCopyImg"), QStringLiteral("Kopiuj obraz"), {29, 101, 29, 30}, PLeftTop);
    copy->setToolTip(QStringLiteral("Kopiuj obraz"));
    copy->setCursor(Qt::PointingHandCursor);
    connect(copy, &HotArea::clicked, this, &PictureWindow::CopyPictureClick);

    PPodImg = new QFrame(PCentrum);
    PPodImg->setObjectName(QStringLiteral("PPodImg"));
    PPodImg->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PPodImg->setLineWidth(kPictureInset - 1);
    PPodImg->setAutoFillBackground(true);
    PPodImg->setPalette(QPalette(Qt::white));
    Img = MakeLabel(QStringLiteral("Img"), {}, PPodImg);

    setWindowTitle(QStringLiteral("Obraz"));
    HidePicture();
}

void PictureWindow::ShowPicture(const std::string& name) {
    run_.LastShownPictureName = name;
    // The pixmap is the window's only copy: the run lets its decoded picture go once shown,
    // so an empty bitmap (the loader found no picture) leaves the last picture, as before.
    const Bitmap& picture = run_.Current.Picture;
    if (!picture.Pixels.empty())
        Img->setPixmap(QPixmap::fromImage(BitmapView(picture)));
    const QSize size = Img->pixmap().size();
    picture_ = {size.width(), size.height()};
    PPodImg->setGeometry(ToQRect(PictureHolderFor(picture_)));
    Img->setGeometry(ToQRect(PictureInHolder(picture_)));
    const std::optional<SideWindowShape> kept = KeptShape();
    ResizeTo(kept ? kept->Expanded : kSmallPictureWindow);
    expandable_ = true;
    if (kept && kept->Folded)
        CollapseToBar();
}

// The expand spot keeps working when a picture has been shown since the window was
// shown; it then opens the small window with that picture.
void PictureWindow::HidePicture() {
    windowWidth_ = kSmallPictureWindow.Width;
    windowHeight_ = kSmallPictureWindow.Height;
    CollapseToBar();
    PPowieksz->hide();
    PZmniejsz->hide();
    run_.LastShownPictureName.clear();
}

void PictureWindow::LayoutExpanded() {
    const FrameSize window = AtLeastSmallWindow({windowWidth_, windowHeight_});
    windowWidth_ = window.Width;
    windowHeight_ = window.Height;
    ArrangeExpanded();
    centre_ = {PCentrum->width(), PCentrum->height()};
    ShowSizeButtons();
}

// The small window offers to enlarge a picture it can't hold; the enlarged one to shrink.
void PictureWindow::ShowSizeButtons() {
    const bool enlarged = PictureWindowSize() != kSmallPictureWindow;
    PPowieksz->setVisible(!enlarged && PictureNeedsEnlarging(picture_, centre_));
    PZmniejsz->setVisible(enlarged);
}

void PictureWindow::ResizeTo(FrameSize window) {
    windowWidth_ = window.Width;
    windowHeight_ = window.Height;
    LayoutExpanded();
}

void PictureWindow::EnlargeClick() {
    const QSize room = screen()->availableGeometry().size();
    ResizeTo(EnlargedWindowFor(picture_, {room.width(), room.height()}));
    LearnerResized();
}

void PictureWindow::ShrinkClick() {
    ResizeTo(kSmallPictureWindow);
    LearnerResized();
}

void PictureWindow::CopyPictureClick() { QGuiApplication::clipboard()->setImage(Img->pixmap().toImage()); }

void PictureWindow::hideEvent(QHideEvent* event) {
    // A window manager hiding it with a minimized main window gives it back unchanged.
    if (!event->spontaneous())
        Img->clear();
    FramedWindow::hideEvent(event);
}

// Showing starts folded and locked until the first picture.
void PictureWindow::FormShow() {
    HidePicture();
    expandable_ = false;
}

FramedWindow::SizeTools PictureWindow::ShownSizeTools() const {
    return {!PZmniejsz->isHidden(), !PPowieksz->isHidden()};
}

void PictureWindow::UseTool(FramedWindowAction tool) {
    switch (tool) {
    case FramedWindowAction::Smaller: ShrinkClick(); break;
    case FramedWindowAction::Larger: EnlargeClick(); break;
    case FramedWindowAction::Copy: CopyPictureClick(); break;
    default: break;
    }
}
