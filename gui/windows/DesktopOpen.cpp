#include "gui/windows/DesktopOpen.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <memory>

void OpenOnDesktop(const QUrl& url, QObject* context, std::function<void()> failed) {
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            failed();
        return;
    }
    // xdg-open says by its exit status whether anything opened the address; it may stay until
    // a browser it started ends, so it is waited for without blocking.
    auto* process = new QProcess(context);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    auto report = std::make_shared<std::function<void()>>(std::move(failed));
    QObject::connect(process, &QProcess::finished, process, [process, report](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            (*report)();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        (*report)();
        process->deleteLater();
    });
    process->start(launcher, {url.toString(QUrl::FullyEncoded)});
}

void ShowAddressToCopy(QWidget* parent, const QString& address) {
    QDialog dialog(parent);
    dialog.setObjectName("AddressToCopy");
    dialog.setWindowTitle(QStringLiteral("Strona domowa"));
    auto* text = new QLabel(QStringLiteral("Nie udało się otworzyć przeglądarki. Skopiuj adres strony domowej "
                                           "programu i wklej go do przeglądarki:"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto* field = new QLineEdit(address);
    field->setObjectName("Address");
    field->setReadOnly(true);
    field->setAccessibleName(QStringLiteral("Adres strony domowej"));
    auto* copy = new QPushButton(QStringLiteral("Kopiuj adres"));
    auto* close = new QPushButton(QStringLiteral("Zamknij"));
    QObject::connect(copy, &QPushButton::clicked, &dialog, [address] { QApplication::clipboard()->setText(address); });
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(field);
    layout->addLayout(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    field->selectAll();
    field->setFocus();
    dialog.exec();
}
