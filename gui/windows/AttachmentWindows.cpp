#include "gui/windows/AttachmentWindows.h"

#include "core/session/UObslugaTest.h"
#include "gui/windows/UOknoGrafiki.h"
#include "gui/windows/UOknoTekstu.h"

#include <QPointer>

#include <utility>

namespace {

// A hook that acts on the window while it exists.
template <typename Window, typename Action> auto While(Window& window, Action action) {
    return [guarded = QPointer<Window>(&window), action](auto&&... arguments) {
        if (guarded)
            action(*guarded, arguments...);
    };
}

} // namespace

void InstallAttachmentWindows(TFOknoGrafiki& picture, TFOknoTekstu& text, std::function<const QWidget&()> anchor) {
    TestScreenHooks hooks = SetTestScreenHooks({});
    hooks.OpenPictureWindow = While(picture, [anchor](TFOknoGrafiki& window) { window.Open(anchor()); });
    hooks.OpenTextWindow = While(text, [anchor](TFOknoTekstu& window) { window.Open(anchor()); });
    hooks.ClosePictureWindow = While(picture, [](TFOknoGrafiki& window) { window.hide(); });
    hooks.CloseTextWindow = While(text, [](TFOknoTekstu& window) { window.hide(); });
    hooks.ShowAttachedText =
        While(text, [](TFOknoTekstu& window, const std::string& name) { window.ShowAttachedText(name); });
    hooks.HideAttachedText = While(text, [](TFOknoTekstu& window) { window.HideAttachedText(); });
    hooks.ShowPicture =
        While(picture, [](TFOknoGrafiki& window, const std::string& name) { window.ShowPicture(name); });
    hooks.HidePicture = While(picture, [](TFOknoGrafiki& window) { window.HidePicture(); });
    SetTestScreenHooks(std::move(hooks));
}
