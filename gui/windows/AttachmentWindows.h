#pragma once

#include <functional>

class QWidget;
class TFOknoGrafiki;
class TFOknoTekstu;

// Makes the picture and the text window the engine's attachment windows: opened
// beside the anchor (the main window, or its main panel in window mode 1) when a
// question loads, told about each question's attachments, closed on leaving the set.
// Once a window is gone, its hooks do nothing.
void InstallAttachmentWindows(TFOknoGrafiki& picture, TFOknoTekstu& text, std::function<const QWidget&()> anchor);
