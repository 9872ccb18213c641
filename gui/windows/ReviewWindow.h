#pragma once

#include <QDialog>

#include <string_view>

class QKeyEvent;
class QPaintEvent;
class QPlainTextEdit;
class QPushButton;
class WindowDrag;

// The review of a run's mistakes (instance FPrzegladBledow), opened from the summary:
// a read-only text under a title strip to drag it by, with Kopiuj copying the whole
// text and Zamknij; Escape and Enter close it as well.
class ReviewWindow : public QDialog {
    Q_OBJECT

public:
    explicit ReviewWindow(QWidget* parent = nullptr);

    // Shows the text from its beginning, centred over the anchor; no showing yet.
    void Prepare(std::u16string_view text, const QWidget& anchor);
    // Prepares and shows the window modally; returns when it has been closed.
    void ShowReview(std::u16string_view text, const QWidget& anchor);

    void CopyClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPlainTextEdit* mTekst_;
    WindowDrag* drag_;
};
