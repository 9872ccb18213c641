#include "gui/windows/AttachmentWindows.h"

#include <utility>

AttachmentWindows::AttachmentWindows(TFOknoGrafiki& picture, TFOknoTekstu& text, std::function<const QWidget&()> anchor)
    : picture_(&picture), text_(&text), anchor_(std::move(anchor)) {}

void AttachmentWindows::OpenPictureWindow() {
    if (picture_)
        picture_->Open(anchor_());
}

void AttachmentWindows::OpenTextWindow() {
    if (text_)
        text_->Open(anchor_());
}

void AttachmentWindows::ClosePictureWindow() {
    if (picture_)
        picture_->hide();
}

void AttachmentWindows::CloseTextWindow() {
    if (text_)
        text_->hide();
}

void AttachmentWindows::ShowAttachedText(const std::string& name) {
    if (text_)
        text_->ShowAttachedText(name);
}

void AttachmentWindows::HideAttachedText() {
    if (text_)
        text_->HideAttachedText();
}

void AttachmentWindows::ShowPicture(const std::string& name) {
    if (picture_)
        picture_->ShowPicture(name);
}

void AttachmentWindows::HidePicture() {
    if (picture_)
        picture_->HidePicture();
}
