#pragma once

#include "core/presentation/WarningLogic.h"

#include <QDialog>
#include <QPoint>

#include <array>
#include <string>
#include <string_view>
#include <utility>

class QEvent;
class QKeyEvent;
class QLabel;
class QObject;
class QWidget;

// Whether the key event in hand is a Tab, which the application-wide filter swallows
// wherever it was going; false before any key event.
bool TabMarked();

// The one modal message box (instance FWarning): a text with an icon and either the single
// button Zamknij or Tak / Nie / Anuluj. Creating it installs the Tab filter on the application.
class WarningWindow : public QDialog, public MessageBox {
    Q_OBJECT

public:
    explicit WarningWindow(QWidget* parent = nullptr);

    // Shows the box modally; returns the chosen button.
    WarningButton Execute(WarningButtonSet buttons, WarningIcon icon, const std::u16string& text);
    // The core's message box.
    WarningButton Show(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) override {
        return Execute(buttons, icon, std::u16string(text));
    }
    // Readies pictures, buttons, text and icon afresh; show() or exec() then shows the box. The
    // chosen button's number becomes the dialog's result (and finished's argument); Nie until then.
    void Prepare(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text);

    // The language of the button faces and key letters: "pl", or English for any other.
    void SetLanguage(std::string language) { language_ = std::move(language); }

    // The first showing is centred on the screen; later ones keep the last position.
    void setVisible(bool visible) override;
    // Closed by the window system: the result stays as it was (Nie).
    void reject() override;

    // A key down; key is a code of WarningLogic, 0 for a Tab the filter swallowed.
    void FormKeyDown(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowButtonPicture(WarningButton button, bool highlighted);
    void MoveHighlight(WarningButton focus);
    void CloseWith(WarningButton chosen);
    void CloseSpotClick();
    bool LListwaMouse(QEvent* event);

    QLabel* imWarning_;
    QLabel* imIkona_;
    QLabel* lTekstWarning_;
    std::array<QWidget*, 4> buttonPanels_{};
    std::array<QLabel*, 4> buttonImages_{};
    QLabel* lClose_;
    QLabel* lListwa_;

    WarningBox box_;
    std::string language_{kWarningLanguage};
    bool placed_ = false;
    bool dragging_ = false;
    QPoint dragPoint_;
};
