#pragma once

#include "core/presentation/TextWindowRules.h"
#include "core/session/TestRun.h"
#include "gui/widgets/DottedFrame.h"
#include "gui/windows/FramedWindow.h"

#include <QPoint>
#include <QString>

#include <string>

class HotArea;
class QPlainTextEdit;
class ScrollBar;

// The text window (instance FOknoTekstu): the text attached to the question on
// screen, read-only in a frame of pictures, with buttons for a smaller and a larger
// font and for copying the text, the windows' own scroll bar, and a corner that
// makes the window taller.
class TextWindow : public FramedWindow {
    Q_OBJECT
public:
    TextWindow(TestRun& run, const Settings& settings, QWidget* parent = nullptr);

    // The run's current attached text is the one of that name: show it from its beginning, expanded.
    // A text too long to lay out at once shows its beginning and a mark that it was cut.
    void ShowAttachedText(const std::string& name);
    // The question has no attached text: fold up to the bar, which then stays folded.
    void HideAttachedText();

    void ShrinkClick();
    void GrowClick();
    void CopyTextClick();

    int TextFontSize() const { return fontSize_; }
    int TextWindowHeight() const { return windowHeight_; }
    int LinesThatFit() const { return linesThatFit_; }

protected:
    void LayoutExpanded() override;
    void FormShow() override;
    SizeTools ShownSizeTools() const override;
    void UseTool(FramedWindowAction tool) override;

private:
    TestRun& run_;
    void BuildTools();
    void BuildCentre();
    void ChangeFontSize(int step);
    void ApplyFont();
    void FitTextScrollBar();
    void ShowFontButtons();
    void ResizeGripMouseDown(QPoint cursor);
    void ResizeGripMouseUp();

    QWidget* PZmniejsz = nullptr;
    QWidget* PZwieksz = nullptr;
    QWidget* PPodTxt = nullptr;
    QPlainTextEdit* Mtekst = nullptr;
    QWidget* PPodListwe = nullptr;
    ScrollBar* bar_ = nullptr;
    DottedFrame resizeFrame_;
    // The part of the attached text that the box shows, put in again at a new font size.
    QString shownText_;
    int fontSize_ = kDefaultTextFontSize;
    int linesThatFit_ = 10;
};
