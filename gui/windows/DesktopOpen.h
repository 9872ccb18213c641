#pragma once

#include <QUrl>

#include <functional>

class QObject;
class QWidget;

// Opens the address with the desktop's launcher (xdg-open, else Qt's desktop services). When there
// is no launcher, or it reports that nothing could open the address, `failed` is called once,
// possibly later.
void OpenOnDesktop(const QUrl& url, QObject* context, std::function<void()> failed);

// A small window with the address selected, to copy into a browser by hand.
void ShowAddressToCopy(QWidget* parent, const QString& address);
