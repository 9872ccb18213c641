#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class HotArea;
class QWidget;

// Moves a borderless window by its title strips: a press with any button starts the
// drag, each move shifts the window by the cursor's screen movement since the last
// one, the release ends it. A window may refuse drags (the main window filling the
// work area).
class WindowDrag : public QObject {
public:
    explicit WindowDrag(
        QWidget* window, std::function<bool()> allowed = [] { return true; });

    void Attach(HotArea* strip);
    // A drag cut short (the window hidden under a held button) starts afresh.
    void Cancel() { dragging_ = false; }

private:
    QWidget* window_;
    std::function<bool()> allowed_;
    bool dragging_ = false;
    QPoint lastCursor_;
};
