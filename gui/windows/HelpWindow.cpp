#include "gui/windows/HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow() : browser_(new QTextBrowser) {
    setObjectName("Pomoc");
    setWindowTitle(QStringLiteral("Pomoc - Ludra"));
    browser_->setObjectName("StronaPomocy");
    browser_->setOpenLinks(false);
    // Only the help's own pages: an outside address would need the browser the desktop lacks.
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.isLocalFile() || link.isRelative())
            browser_->setSource(browser_->source().resolved(link));
    });
    auto* back = new QPushButton(QStringLiteral("Wstecz"));
    auto* home = new QPushButton(QStringLiteral("Spis treści"));
    auto* close = new QPushButton(QStringLiteral("Zamknij"));
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(home, &QPushButton::clicked, this, [this] { browser_->setSource(home_); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(home);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(760, 620);
}

void HelpWindow::ShowPage(const std::filesystem::path& page) {
    const QString file = QString::fromStdString(page.string());
    if (QFileInfo::exists(file)) {
        home_ = QUrl::fromLocalFile(file);
        browser_->clearHistory();
        browser_->setSource(home_);
    } else {
        browser_->setPlainText(QStringLiteral("Nie znaleziono stron pomocy: brak pliku %1.").arg(file));
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
