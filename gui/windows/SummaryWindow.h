#pragma once

#include <QDialog>

#include <string_view>

class QKeyEvent;
class QLabel;
class QWidget;
class ReviewWindow;
class WindowDrag;

// The summary window (instance FPodsumowanie): the report of a finished run over a
// picture with a title strip to drag it by and a close spot. The link above the report
// (or the P key) opens the review of the run's mistakes.
struct Settings;
class TestRun;

class SummaryWindow : public QDialog {
    Q_OBJECT

public:
    SummaryWindow(const TestRun& run, const Settings& settings, QWidget* parent = nullptr);

    // Puts the text ("\r" breaks a line) into LPodsumowanie and shows the window modally
    // beside the anchor; returns when it has been closed.
    void ShowSummaryWindow(std::u16string_view text, const QWidget& anchor);
    // Puts the text into LPodsumowanie and places the window, without showing it.
    void Prepare(std::u16string_view text, const QWidget& anchor);
    // Puts the window's left edge 355 px right of the anchor's and its top 222 px below:
    // the anchor is the main window, or in window mode 1 its main panel PGlowny.
    void Place(const QWidget& anchor);

    // Opens the review of the run that has just ended, modally over this window.
    void ReviewMistakesClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TestRun& run_;
    const Settings& settings_;
    QLabel* lPodsumowanie_ = nullptr;
    WindowDrag* drag_;
    ReviewWindow* review_ = nullptr;
};
