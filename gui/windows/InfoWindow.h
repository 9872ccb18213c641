#pragma once

#include <QDialog>

class QKeyEvent;
class QWidget;
struct Settings;

// The information window (instance FWinieta): one picture with a close spot.
class InfoWindow : public QDialog {
    Q_OBJECT

public:
    explicit InfoWindow(const Settings& settings, QWidget* parent = nullptr);

    // Shows the window modally beside the anchor: the main window, or in window mode 1 its
    // main panel PGlowny.
    void Execute(const QWidget& anchor);
    // Puts the window's left edge 260 px right of the anchor's and its top 160 px below the anchor's.
    void Place(const QWidget& anchor);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const Settings& settings_;
};
