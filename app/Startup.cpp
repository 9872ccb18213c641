#include "app/Startup.h"

#include "app/UFTloBig.h"
#include "widgets/Controls.h"
#include "windows/UWarning.h"
#include "windows/UWinieta.h"

#include <QApplication>

int RunLudra(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("Orvel - Ludra 4.0");
    SubstituteFonts();

    TFTloBig mainWindow;
    TFWarning warning;
    TFWinieta vignette;
    InstallWarningBox(warning);
    mainWindow.SetVignette(&vignette);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::vector<std::string> commandLine;
    for (const QString& argument : arguments)
        commandLine.push_back(argument.toStdString());
    mainWindow.SetCommandLine(std::move(commandLine));

    mainWindow.show();
    return QApplication::exec();
}
