#pragma once

#include "core/session/TestRun.h"
#include "gui/windows/PictureWindow.h"
#include "gui/windows/TextWindow.h"

#include <functional>

// The picture and the text window as the engine's attachment windows: opened beside
// the anchor (the main window, or its main panel in window mode 1) when a question
// loads, told about each question's attachments, closed on leaving the set. Each window
// comes from a function that makes it when first wanted; a window it gives none of is gone
// and left alone.
class AttachmentWindows final : public AttachmentView {
public:
    AttachmentWindows(std::function<PictureWindow*()> picture, std::function<TextWindow*()> text,
                      std::function<const QWidget&()> anchor);

    void OpenPictureWindow() override;
    void OpenTextWindow() override;
    void ClosePictureWindow() override;
    void CloseTextWindow() override;
    void ShowAttachedText(const std::string& name) override;
    void HideAttachedText() override;
    void ShowPicture(const std::string& name) override;
    void HidePicture() override;

private:
    std::function<PictureWindow*()> picture_;
    std::function<TextWindow*()> text_;
    std::function<const QWidget&()> anchor_;
};
