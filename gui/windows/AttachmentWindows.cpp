#include "gui/windows/AttachmentWindows.h"

#include <utility>

AttachmentWindows::AttachmentWindows(std::function<PictureWindow*()> picture, std::function<TextWindow*()> text,
                                     std::function<const QWidget&()> anchor)
    : picture_(std::move(picture)), text_(std::move(text)), anchor_(std::move(anchor)) {}

void AttachmentWindows::OpenPictureWindow() {
    if (PictureWindow* picture = picture_())
        picture->Open(anchor_());
}

void AttachmentWindows::OpenTextWindow() {
    if (TextWindow* text = text_())
        text->Open(anchor_());
}

void AttachmentWindows::ClosePictureWindow() {
    if (PictureWindow* picture = picture_())
        picture->hide();
}

void AttachmentWindows::CloseTextWindow() {
    if (TextWindow* text = text_())
        text->hide();
}

void AttachmentWindows::ShowAttachedText(const std::string& name) {
    if (TextWindow* text = text_())
        text->ShowAttachedText(name);
}

void AttachmentWindows::HideAttachedText() {
    if (TextWindow* text = text_())
        text->HideAttachedText();
}

void AttachmentWindows::ShowPicture(const std::string& name) {
    if (PictureWindow* picture = picture_())
        picture->ShowPicture(name);
}

void AttachmentWindows::HidePicture() {
    if (PictureWindow* picture = picture_())
        picture->HidePicture();
}
