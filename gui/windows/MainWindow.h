#pragma once

#include "gui/windows/OnDemand.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class MenuItem;
enum class MenuPanel;
enum class MenuSpot;

class HotArea;
class MenuFocusRing;
class QLabel;
class SetListWindow;
class HelpWindow;
class SettingsWindow;
class InfoWindow;
class TestScreen;
class WindowDrag;
struct ProgramState;

// The main window: a borderless face of pictures with transparent hot areas,
// the menu with its two submenus, window modes, shortcuts and dropped files.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(ProgramState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows the menu opens, made when first wanted.
    void SetVignette(std::function<InfoWindow&()> vignette) { vignette_ = std::move(vignette); }
    void SetSetList(std::function<SetListWindow&()> setList) { setList_ = std::move(setList); }
    // The text and picture windows once made, which T and O hand the keyboard to.
    void SetSideWindows(std::function<QWidget*()> text, std::function<QWidget*()> picture);
    // Opens help pages and the home page outside the program, calling the second when that
    // fails; tests replace it.
    std::function<void(const QUrl&, std::function<void()>)> OpenUrl;
    // Asks for a set's folder, starting at the given one; empty when cancelled. Tests replace it.
    std::function<QString(const QString& start)> ChooseFolder;

    // The program's arguments (without the program's name), looked at once shown.
    void SetCommandLine(std::vector<std::string> arguments) { commandLine_ = std::move(arguments); }

    void HideSubmenus();
    void ResetMenuHighlight();
    void ShowMenuDescription(MenuItem item);
    void ApplyWindowMode();
    void ToggleWindowMode();
    void CheckCommandLine();
    void OpenHelpPages();
    // Starts a set from a folder the learner points at.
    void ChooseSetFolder();
    // Starts a set chosen in the set list window.
    void OpenSetList();
    // Opens the settings window.
    void OpenSettings();
    // The widget that auxiliary windows are placed against: the window, or its main panel in mode 1.
    const QWidget& PlacementAnchor() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenuScreen();
    void BuildHelpSubmenu();
    void BuildTestsSubmenu();
    void BuildTestScreen();
    HotArea* MenuEntry(const QString& objectName, const QString& text, const QRect& geometry, QWidget* parent);
    void WatchMoves(QLabel* background);
    void Highlight(QLabel* label, std::initializer_list<QLabel*> others, MenuItem item);
    void ShowTestsSubmenu();
    void ShowHelpSubmenu();
    // The drawn menu from the keyboard; true when the key was the menu's.
    bool HandleMenuKey(const QKeyEvent& event);
    MenuPanel OpenPanel() const;
    HotArea* SpotArea(MenuSpot spot) const;
    void FocusMenuSpot(std::optional<MenuSpot> spot);
    void ForgetMenuFocus();

    QLabel* ImTloBig = nullptr;
    QWidget* PGlowny = nullptr;
    QWidget* PTlo = nullptr;
    QLabel* LOpisMenu = nullptr;
    QWidget* PPodMenuPomoc = nullptr;
    QWidget* PPodMenuTest = nullptr;
    HotArea* LTest_0 = nullptr;
    HotArea* LPomoc_0 = nullptr;
    HotArea* LTest_1 = nullptr;
    HotArea* LPomoc_1 = nullptr;
    HotArea* LOProgramie = nullptr;
    HotArea* LHelp = nullptr;
    HotArea* LStronaDomowa = nullptr;
    HotArea* LTestZNazwiskiem = nullptr;
    HotArea* LTestAnonimowo = nullptr;
    HotArea* LUstawienia = nullptr;
    SettingsWindow* settings_ = nullptr;
    QWidget* PTest = nullptr;
    TestScreen* testScreen_ = nullptr;
    MenuFocusRing* menuFocusRing_ = nullptr; // shown only while the menu is worked from the keyboard
    std::optional<MenuSpot> menuFocus_;

    std::function<InfoWindow&()> vignette_;
    std::function<SetListWindow&()> setList_;
    std::vector<std::string> commandLine_;
    bool shownOnce_ = false;
    QString folderName_; // the folder chosen last; the documents folder before the first
    ProgramState& state_;
    WindowDrag* drag_;
    OnDemand<HelpWindow> helpWindow_; // shows the help pages when the desktop can't
};
