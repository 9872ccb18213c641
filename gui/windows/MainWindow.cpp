#include "gui/windows/MainWindow.h"

#include "core/base/Random.h"
#include "core/base/ShowWarning.h"
#include "core/presentation/MainMenuKeys.h"
#include "core/presentation/MainWindowRules.h"
#include "core/selection/SetStart.h"
#include "core/session/ProgramState.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Accessible.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"
#include "gui/widgets/WindowDrag.h"
#include "gui/windows/DesktopOpen.h"
#include "gui/windows/HelpWindow.h"
#include "gui/windows/InfoWindow.h"
#include "gui/windows/SetListWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "gui/windows/TestScreen.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

const QColor kMenuNormalColor(46, 46, 46);
const QColor kMenuHighlightColor(Qt::white);
const QColor kMenuFocusColor(242, 188, 66); // the amber of the window's badge

// The rectangle with corners rounded by a 12 × 12 ellipse.
QRegion RoundedOutline(int width, int height) {
    QPainterPath path;
    path.addRoundedRect(0, 0, width, height, 6, 6);
    return QRegion(path.toFillPolygon().toPolygon());
}

MainKey KeyOf(const QKeyEvent& event) {
    if (event.key() == Qt::Key_F1)
        return MainKey::F1;
    if (event.key() == Qt::Key_F4)
        return MainKey::F4;
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9 && !keypad)
        return MainKey::Digit;
    return MainKey::Other;
}

KeyModifiers ModifiersOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier),
            modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::MetaModifier)};
}

MenuKey MenuKeyOf(const QKeyEvent& event) {
    MenuKey key{.Modifiers = ModifiersOf(event), .Repeated = event.isAutoRepeat()};
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Down:
    case Qt::Key_Right: key.What = MenuKey::Kind::Next; break;
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Left: key.What = MenuKey::Kind::Previous; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: key.What = MenuKey::Kind::Activate; break;
    case Qt::Key_Escape: key.What = MenuKey::Kind::Escape; break;
    case Qt::Key_F2: key.What = MenuKey::Kind::Settings; break;
    default: break;
    }
    return key;
}

} // namespace

// A rounded outline around the focused entry; the mouse goes through it to the entry.
class MenuFocusRing : public QWidget {
public:
    explicit MenuFocusRing(QWidget* parent) : QWidget(parent) {
        setObjectName("MenuFocus");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void Surround(const QWidget& entry) {
        setParent(entry.parentWidget());
        setGeometry(entry.geometry().adjusted(-3, -1, 3, 1)); // clear of the rows above and below
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kMenuFocusColor, 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
};

// Only the rounded window moves; filling the work area it stays put.
MainWindow::MainWindow(ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), state_(state),
      drag_(new WindowDrag(this, [this] { return state_.LearnerSettings.WindowMode == 0; })),
      helpWindow_([] { return std::make_unique<HelpWindow>(); }) {
    setObjectName("FTloBig");
    setWindowTitle(QString::fromStdString(MainWindowTitle()));
    SetAccessibleRole(this, QAccessible::Window);
    OpenUrl = [this](const QUrl& url, std::function<void()> failed) { OpenOnDesktop(url, this, std::move(failed)); };
    ChooseFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, "Wskaż folder z zestawem pytań", start);
    };
    setAcceptDrops(true);
    // The size and places the window has until a window mode is applied.
    resize(919, 606);
    move(261, 125);
    // Its picture is decoded when whole-work-area mode first shows it: the rounded window hides it.
    ImTloBig = MakeLabel("ImTloBig", {0, 0, kBackgroundWidth, kBackgroundHeight}, this);
    PGlowny = MakePanel("PGlowny", {8, 0, kMainPanelWidth, kMainPanelHeight}, this);
    BuildMenuScreen();
    BuildTestScreen();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenuScreen() {
    PTlo = MakePanel("PTlo", {0, 0, kMainPanelWidth, kMainPanelHeight}, PGlowny);
    MakePicture("ImTloGlowny", "tloglowny", {0, 0, kMainPanelWidth, kMainPanelHeight}, PTlo)->installEventFilter(this);

    LOpisMenu = MakeLabel("LOpisMenu", {296, 344, 361, 137}, PTlo);
    LOpisMenu->setWordWrap(true);
    LOpisMenu->setFont(QFont("MS Sans Serif", 10));
    SetTextColour(LOpisMenu, kMenuNormalColor);

    auto* close = new HotArea("LClose", "Zamknij program", {744, 8, 19, 11}, PTlo);
    connect(close, &HotArea::clicked, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    auto* minimize = new HotArea("LMinimize", "Minimalizuj", {715, 8, 19, 11}, PTlo);
    connect(minimize, &HotArea::clicked, this, &QWidget::showMinimized);
    auto* big = new HotArea("LBig", "Zmień wielkość okna", {666, 9, 19, 11}, PTlo);
    connect(big, &HotArea::clicked, this, &MainWindow::ToggleWindowMode);
    drag_->Attach(new HotArea("LListwa", "Pasek tytułu", {16, 6, 617, 17}, PTlo));

    LTest_0 = new HotArea("LTest_0", "Testy", {17, 139, 129, 15}, PTlo);
    connect(LTest_0, &HotArea::clicked, this, &MainWindow::ShowTestsSubmenu);
    LPomoc_0 = new HotArea("LPomoc_0", "Pomoc", {17, 163, 129, 17}, PTlo);
    connect(LPomoc_0, &HotArea::clicked, this, [this] {
        ResetMenuHighlight();
        ShowHelpSubmenu();
    });
    // Drawn under Pomoc in the background, so an open submenu covers it as it covers the rest.
    LUstawienia = new HotArea("LUstawienia", "Ustawienia", {15, 186, 133, 19}, PTlo);
    LUstawienia->setCursor(Qt::PointingHandCursor);
    connect(LUstawienia, &HotArea::clicked, this, &MainWindow::OpenSettings);
    connect(LUstawienia, &HotArea::hovered, this,
            [this] { LOpisMenu->setText(DisplayText(kSettingsEntryDescription)); });
    BuildHelpSubmenu();
    BuildTestsSubmenu();
    menuFocusRing_ = new MenuFocusRing(PTlo);
}

HotArea* MainWindow::MenuEntry(const QString& objectName, const QString& text, const QRect& geometry, QWidget* parent) {
    auto* entry = new HotArea(objectName, text.simplified(), geometry, parent);
    entry->setText(text);
    entry->setFont(QFont("MS Sans Serif", 8));
    entry->setCursor(Qt::PointingHandCursor);
    SetTextColour(entry, kMenuNormalColor);
    SetAccessibleRole(entry, QAccessible::MenuItem);
    return entry;
}

void MainWindow::BuildHelpSubmenu() {
    PPodMenuPomoc = MakePanel("PPodMenuPomoc", {8, 132, 240, 133}, PTlo);
    WatchMoves(MakePicture("ImTloMenuPomoc", "menupomoc", {0, 0, 240, 133}, PPodMenuPomoc));
    LTest_1 = new HotArea("LTest_1", "Testy", {8, 9, 129, 14}, PPodMenuPomoc);
    connect(LTest_1, &HotArea::clicked, this, &MainWindow::ShowTestsSubmenu);
    LOProgramie = MenuEntry("LOProgramie", "O programie", {15, 65, 120, 16}, PPodMenuPomoc);
    LHelp = MenuEntry("LHelp", "Pomoc                 F1          ", {15, 82, 114, 14}, PPodMenuPomoc);
    LStronaDomowa = MenuEntry("LStronaDomowa", "Strona domowa", {15, 97, 114, 14}, PPodMenuPomoc);
    connect(LOProgramie, &HotArea::clicked, this, [this] {
        ResetMenuHighlight();
        if (vignette_)
            vignette_().Execute(PlacementAnchor());
    });
    connect(LHelp, &HotArea::clicked, this, &MainWindow::OpenHelpPages);
    connect(LStronaDomowa, &HotArea::clicked, this, [this] {
        ResetMenuHighlight();
        const QString address = QString::fromUtf8(kHomePage);
        OpenUrl(QUrl(address), [this, address] { ShowAddressToCopy(this, address); });
    });
    connect(LOProgramie, &HotArea::hovered, this, [this] {
        Highlight(LOProgramie, {LHelp, LStronaDomowa}, MenuItem::OProgramie);
    });
    connect(LHelp, &HotArea::hovered, this, [this] { Highlight(LHelp, {LOProgramie, LStronaDomowa}, MenuItem::Help); });
    connect(LStronaDomowa, &HotArea::hovered, this, [this] {
        Highlight(LStronaDomowa, {LOProgramie, LHelp}, MenuItem::StronaDomowa);
    });
}

void MainWindow::BuildTestsSubmenu() {
    PPodMenuTest = MakePanel("PPodMenuTest", {8, 132, 240, 133}, PTlo);
    WatchMoves(MakePicture("ImTloMenuTest", "menutesty", {0, 0, 240, 133}, PPodMenuTest));
    LPomoc_1 = new HotArea("LPomoc_1", "Pomoc", {8, 78, 129, 14}, PPodMenuTest);
    connect(LPomoc_1, &HotArea::clicked, this, &MainWindow::ShowHelpSubmenu);
    LTestZNazwiskiem =
        MenuEntry("LTestZNazwiskiem", "Chcę wybrać z listy zestaw pytań", {15, 35, 208, 14}, PPodMenuTest);
    LTestAnonimowo =
        MenuEntry("LTestAnonimowo", "Chcę wskazać folder z zestawem pytań", {15, 50, 208, 14}, PPodMenuTest);
    connect(LTestZNazwiskiem, &HotArea::clicked, this, &MainWindow::OpenSetList);
    connect(LTestAnonimowo, &HotArea::clicked, this, &MainWindow::ChooseSetFolder);
    connect(LTestZNazwiskiem, &HotArea::hovered, this,
            [this] { Highlight(LTestZNazwiskiem, {LTestAnonimowo}, MenuItem::TestZNazwiskiem); });
    connect(LTestAnonimowo, &HotArea::hovered, this,
            [this] { Highlight(LTestAnonimowo, {LTestZNazwiskiem}, MenuItem::TestAnonimowo); });
}

void MainWindow::BuildTestScreen() {
    PTest = MakePanel("PTest", {96, 0, kMainPanelWidth, kMainPanelHeight}, this);
    drag_->Attach(new HotArea("LListwa2", "Pasek tytułu", {128, 8, 513, 16}, PTest));
    PTest->hide();
    testScreen_ = new TestScreen(state_.Run, PTest);
    state_.Run.SetTestScreenView(testScreen_);
}

void MainWindow::WatchMoves(QLabel* background) {
    background->setMouseTracking(true);
    background->installEventFilter(this);
}

void MainWindow::Highlight(QLabel* label, std::initializer_list<QLabel*> others, MenuItem item) {
    if (label->isVisible())
        SetTextColour(label, kMenuHighlightColor);
    for (QLabel* other : others) {
        if (other->isVisible())
            SetTextColour(other, kMenuNormalColor);
    }
    ShowMenuDescription(item);
}

void MainWindow::ShowTestsSubmenu() {
    ResetMenuHighlight();
    PPodMenuPomoc->hide();
    PPodMenuTest->show();
    LOpisMenu->clear();
}

void MainWindow::ShowHelpSubmenu() {
    PPodMenuPomoc->show();
    PPodMenuTest->hide();
    LOpisMenu->clear();
}

void MainWindow::HideSubmenus() {
    PPodMenuPomoc->hide();
    PPodMenuTest->hide();
    LOpisMenu->clear();
    QCoreApplication::processEvents();
}

void MainWindow::ResetMenuHighlight() {
    for (QLabel* entry : {LOProgramie, LHelp, LStronaDomowa, LTestZNazwiskiem, LTestAnonimowo}) {
        if (entry->isVisible())
            SetTextColour(entry, kMenuNormalColor);
    }
    LOpisMenu->clear();
}

void MainWindow::ShowMenuDescription(MenuItem item) {
    if (const std::optional<std::u16string> text = MenuDescription(item))
        LOpisMenu->setText(DisplayText(*text));
}

MenuPanel MainWindow::OpenPanel() const {
    if (PPodMenuTest->isVisible())
        return MenuPanel::Tests;
    if (PPodMenuPomoc->isVisible())
        return MenuPanel::Help;
    return MenuPanel::None;
}

HotArea* MainWindow::SpotArea(MenuSpot spot) const {
    switch (spot) {
    case MenuSpot::Testy: return OpenPanel() == MenuPanel::Help ? LTest_1 : LTest_0;
    case MenuSpot::Pomoc: return OpenPanel() == MenuPanel::Tests ? LPomoc_1 : LPomoc_0;
    case MenuSpot::TestZNazwiskiem: return LTestZNazwiskiem;
    case MenuSpot::TestAnonimowo: return LTestAnonimowo;
    case MenuSpot::OProgramie: return LOProgramie;
    case MenuSpot::Help: return LHelp;
    case MenuSpot::StronaDomowa: return LStronaDomowa;
    case MenuSpot::Ustawienia: return LUstawienia;
    }
    return LTest_0;
}

// The focused entry also takes the look and description the mouse gives it.
void MainWindow::FocusMenuSpot(std::optional<MenuSpot> spot) {
    ResetMenuHighlight();
    if (!spot) {
        ForgetMenuFocus();
        return;
    }
    menuFocus_ = spot;
    HotArea* area = SpotArea(*spot);
    menuFocusRing_->Surround(*area);
    emit area->hovered();
}

void MainWindow::ForgetMenuFocus() {
    menuFocus_.reset();
    menuFocusRing_->hide();
}

bool MainWindow::HandleMenuKey(const QKeyEvent& event) {
    if (PTest->isVisible())
        return false;
    const MenuKeyAction action = MainMenuKeyAction(MenuKeyOf(event), OpenPanel(), menuFocus_);
    switch (action.What) {
    case MenuKeyAction::Kind::Nothing: return false;
    case MenuKeyAction::Kind::Focus: FocusMenuSpot(action.Spot); break;
    case MenuKeyAction::Kind::Activate:
        emit SpotArea(action.Spot)->clicked();
        FocusMenuSpot(MenuFocusAfter(action.Spot, OpenPanel()));
        break;
    case MenuKeyAction::Kind::CloseSubmenu:
        // As a click beside the submenu closes it.
        HideSubmenus();
        FocusMenuSpot(action.Spot);
        break;
    }
    return true;
}

void MainWindow::ApplyWindowMode() {
    const QRect work = (screen() ? screen() : QApplication::primaryScreen())->availableGeometry();
    const std::optional<WindowLayout> layout =
        LayoutForWindowMode(state_.LearnerSettings.WindowMode, work.x() + work.width(), work.y() + work.height());
    if (!layout)
        return;
    setFixedSize(layout->Width, layout->Height);
    setMask(layout->RoundedOutline ? RoundedOutline(layout->Width, layout->Height)
                                   : QRegion(0, 0, layout->Width, layout->Height));
    move(layout->WindowAt.X, layout->WindowAt.Y);
    if (layout->BackgroundAt) {
        if (ImTloBig->pixmap().isNull())
            ResJpegToImage("tlobig", ImTloBig);
        ImTloBig->move(layout->BackgroundAt->X, layout->BackgroundAt->Y);
    }
    PGlowny->move(layout->MainPanelAt.X, layout->MainPanelAt.Y);
    PTest->move(PGlowny->pos());
}

void MainWindow::ToggleWindowMode() {
    Settings& settings = state_.LearnerSettings;
    settings.WindowMode = ToggledWindowMode(settings.WindowMode);
    ApplyWindowMode();
    state_.SettingsStore().SaveWindowMode(settings);
}

const QWidget& MainWindow::PlacementAnchor() const {
    if (state_.LearnerSettings.WindowMode == 1)
        return *PGlowny;
    return *this;
}

void MainWindow::OpenHelpPages() {
    const std::filesystem::path page = state_.Paths.HelpPage();
    OpenUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())),
            [this, page] { (*helpWindow_).ShowPage(page); });
}

void MainWindow::ChooseSetFolder() {
    HideSubmenus();
    if (folderName_.isEmpty())
        folderName_ = QString::fromStdString(state_.Paths.DocumentsFolder.string());
    const QString folder = ChooseFolder(folderName_);
    if (folder.isEmpty())
        return;
    folderName_ = folder;
    StartSetFromFolder(state_.Run, folder.toStdString());
}

void MainWindow::OpenSetList() {
    HideSubmenus();
    if (setList_)
        setList_().ShowSetList(PlacementAnchor());
}

void MainWindow::OpenSettings() {
    HideSubmenus();
    if (!settings_)
        settings_ = new SettingsWindow(state_, this);
    settings_->Execute(PlacementAnchor());
}

void MainWindow::CheckCommandLine() {
    if (const std::optional<std::u16string> message = CommandLineMessage(commandLine_))
        state_.Box.Show(WarningButtonSet::Close, WarningIcon::Warning, *message);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Keys are seen at the platform window, before the application's filter swallows Tab on its
    // way to a widget; installing again only moves the filter to the front.
    windowHandle()->installEventFilter(this);
    if (std::exchange(shownOnce_, true))
        return;
    PrepareProgram(state_);
    ApplyWindowMode();
    HideSubmenus();
    state_.Generator.Seed(ClockSeed());
    // After the window is on screen, so that a message box has a window to stand over.
    QTimer::singleShot(0, this, &MainWindow::CheckCommandLine);
}

void MainWindow::SetSideWindows(std::function<QWidget*()> text, std::function<QWidget*()> picture) {
    testScreen_->SetSideWindows(std::move(text), std::move(picture));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const KeyAction action = MainWindowKey(KeyOf(*event), ModifiersOf(*event), event->key() - Qt::Key_0);
    switch (action.What) {
    case KeyAction::Kind::Nothing:
        // Keys the window leaves alone are the test screen's while it is shown.
        if (!testScreen_->HandleKey(*event, ModifiersOf(*event)))
            QWidget::keyPressEvent(event);
        return;
    case KeyAction::Kind::Swallow: break;
    case KeyAction::Kind::OpenHelp:
        OpenHelpPages();
        QWidget::keyPressEvent(event);
        return;
    case KeyAction::Kind::ToggleWindowMode: ToggleWindowMode(); break;
    case KeyAction::Kind::SetJournalLevel:
        state_.SettingsStore().SetJournalLevel(state_.LearnerSettings, action.Level);
        break;
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls())
        names.push_back(url.fileName().toStdString());
    event->acceptProposedAction();
    state_.Box.Show(WarningButtonSet::Close, WarningIcon::Warning, DroppedFilesMessage(names));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle()) {
        // A click ends the keyboard's turn: no focus outline stays behind.
        if (event->type() == QEvent::MouseButtonPress)
            ForgetMenuFocus();
        if (event->type() == QEvent::KeyPress)
            return HandleMenuKey(*static_cast<QKeyEvent*>(event));
        return QWidget::eventFilter(watched, event);
    }
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseMove && (name == "ImTloMenuPomoc" || name == "ImTloMenuTest"))
        ResetMenuHighlight();
    if (event->type() == QEvent::MouseButtonRelease && name == "ImTloGlowny") {
        ResetMenuHighlight();
        HideSubmenus();
    }
    return QWidget::eventFilter(watched, event);
}
