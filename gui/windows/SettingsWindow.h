#pragma once

#include "core/session/SettingsForm.h"

#include <QDialog>

#include <vector>

class QKeyEvent;
class QShowEvent;
class SettingsCheckRow;
class SettingsButton;
class WindowDrag;

// The key as the settings form and the information windows read it; Ctrl, Alt and Meta make any key
// another one.
SettingsKey SettingsKeyOf(const QKeyEvent& event);

// The settings window (instance FUstawienia): a check box per setting, "Zapisz" and "Anuluj", worked
// with the mouse or the keyboard; a title strip drags it, the close spot cancels.
struct ProgramState;

class SettingsWindow : public QDialog {
    Q_OBJECT

public:
    explicit SettingsWindow(ProgramState& state, QWidget* parent = nullptr);

    // Shows the current settings modally over the anchor (the main window, or its main panel in
    // window mode 1); returns once saved or cancelled.
    void Execute(const QWidget& anchor);
    // Takes the current settings and places the window, without showing it.
    void Prepare(const QWidget& anchor);
    const SettingsForm& Form() const { return form_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ProgramState& state_;
    void Finish(SettingsOutcome outcome);
    void Show();

    SettingsForm form_;
    std::vector<SettingsCheckRow*> rows_;
    SettingsButton* save_;
    SettingsButton* cancel_;
    WindowDrag* drag_;
};
