#pragma once

#include <QUrl>
#include <QWidget>

#include <filesystem>

class QTextBrowser;

// The help pages in a window of the program's own, for when the desktop has no browser to show
// them: the local pages with their links between them; addresses outside them are not followed.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow();
    // Shows the page, or says that it is missing.
    void ShowPage(const std::filesystem::path& page);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
    QUrl home_;
};
