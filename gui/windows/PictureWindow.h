#pragma once

#include "core/session/TestRun.h"
#include "gui/windows/FramedWindow.h"

#include <QImage>

#include <string>

class QFrame;
class QHideEvent;
class QLabel;

// The picture window (instance FOknoGrafiki): the picture of the question on screen
// at its natural size in a frame of pictures, with a button that grows the window
// to the whole picture and back, and a spot that copies the picture.
class PictureWindow : public FramedWindow {
    Q_OBJECT
public:
    PictureWindow(TestRun& run, const Settings& settings, QWidget* parent = nullptr);

    // The run's current picture is the one of that name: show it in the small window.
    void ShowPicture(const std::string& name);
    // The question has no picture: fold up to the bar without size buttons.
    void HidePicture();

    void EnlargeClick();
    void ShrinkClick();
    void CopyPictureClick();

    FrameSize PictureWindowSize() const { return {windowWidth_, windowHeight_}; }
    FrameSize CentreSize() const { return centre_; }

protected:
    void LayoutExpanded() override;
    void FormShow() override;
    // Closed by the program, the window lets its picture go: showing again starts without one.
    void hideEvent(QHideEvent* event) override;
    SizeTools ShownSizeTools() const override;
    void UseTool(FramedWindowAction tool) override;

private:
    TestRun& run_;
    void ResizeTo(FrameSize window);
    void ShowSizeButtons();

    QWidget* PPowieksz = nullptr;
    QWidget* PZmniejsz = nullptr;
    QFrame* PPodImg = nullptr;
    QLabel* Img = nullptr;
    FrameSize picture_; // the size of the picture shown
    FrameSize centre_;
};
