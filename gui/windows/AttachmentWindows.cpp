#include "gui/windows/AttachmentWindows.h"

#include <utility>

AttachmentWindows::AttachmentWindows(std::function<TFOknoGrafiki*()> picture, std::function<TFOknoTekstu*()> text,
                                     std::function<const QWidget&()> anchor)
    : picture_(std::move(picture)), text_(std::move(text)), anchor_(std::move(anchor)) {}

void AttachmentWindows::OpenPictureWindow() {
    if (TFOknoGrafiki* picture = picture_())
        picture->Open(anchor_());
}

void AttachmentWindows::OpenTextWindow() {
    if (TFOknoTekstu* text = text_())
        text->Open(anchor_());
}

void AttachmentWindows::ClosePictureWindow() {
    if (TFOknoGrafiki* picture = picture_())
        picture->hide();
}

void AttachmentWindows::CloseTextWindow() {
    if (TFOknoTekstu* text = text_())
        text->hide();
}

void AttachmentWindows::ShowAttachedText(const std::string& name) {
    if (TFOknoTekstu* text = text_())
        text->ShowAttachedText(name);
}

void AttachmentWindows::HideAttachedText() {
    if (TFOknoTekstu* text = text_())
        text->HideAttachedText();
}

void AttachmentWindows::ShowPicture(const std::string& name) {
    if (TFOknoGrafiki* picture = picture_())
        picture->ShowPicture(name);
}

void AttachmentWindows::HidePicture() {
    if (TFOknoGrafiki* picture = picture_())
        picture->HidePicture();
}
