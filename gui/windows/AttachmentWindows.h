#pragma once

#include "core/session/UObslugaTest.h"
#include "gui/windows/UOknoGrafiki.h"
#include "gui/windows/UOknoTekstu.h"

#include <QPointer>

#include <functional>

// The picture and the text window as the engine's attachment windows: opened beside
// the anchor (the main window, or its main panel in window mode 1) when a question
// loads, told about each question's attachments, closed on leaving the set. A window
// that is gone is left alone.
class AttachmentWindows final : public AttachmentView {
public:
    AttachmentWindows(TFOknoGrafiki& picture, TFOknoTekstu& text, std::function<const QWidget&()> anchor);

    void OpenPictureWindow() override;
    void OpenTextWindow() override;
    void ClosePictureWindow() override;
    void CloseTextWindow() override;
    void ShowAttachedText(const std::string& name) override;
    void HideAttachedText() override;
    void ShowPicture(const std::string& name) override;
    void HidePicture() override;

private:
    QPointer<TFOknoGrafiki> picture_;
    QPointer<TFOknoTekstu> text_;
    std::function<const QWidget&()> anchor_;
};
