#include "gui/windows/Startup.h"

#include "core/session/SummaryReport.h"
#include "core/session/UObslugaTest.h"
#include "gui/resources/Sounds.h"
#include "gui/widgets/Controls.h"
#include "gui/windows/AttachmentWindows.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <langinfo.h>

#include <clocale>
#include <string_view>

namespace {

// Xlib writes the older window title property in the C library's character set: outside a UTF-8 locale the
// Polish letters of the titles come out garbled there. Only the character set changes, nothing else of the locale.
void UseUtf8Characters() {
    if (std::string_view(nl_langinfo(CODESET)) != "UTF-8")
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

int RunLudra(int argc, char** argv) {
    QApplication application(argc, argv);
    UseUtf8Characters();
    QApplication::setApplicationDisplayName("Orvel - Ludra 4.0");
    SubstituteFonts();
    // Qt's own dialogs (the folder dialog) speak Polish like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Polish), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    ProgramWindows windows;
    TFTloBig& mainWindow = windows.MainWindow;
    TFPodsumowanie& summary = windows.Summary;
    InstallWarningBox(windows.Warning);
    mainWindow.SetVignette(&windows.Vignette);
    InstallAttachmentWindows(windows.PictureWindow, windows.TextWindow,
                             [&mainWindow]() -> const QWidget& { return mainWindow.PlacementAnchor(); });
    mainWindow.SetSetList(&windows.SetList);

    // The run's sounds and its summary join the hooks the test screen installed.
    SoundPlayer sounds;
    TestScreenHooks hooks = SetTestScreenHooks({});
    hooks.PlaySound = [&sounds](const char* name) { sounds.Play(name); };
    hooks.ShowSummary = [&summary, &mainWindow](const SummaryReport& report) {
        summary.ShowSummaryWindow(report.Text, mainWindow.PlacementAnchor());
    };
    SetTestScreenHooks(hooks);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::vector<std::string> commandLine;
    for (const QString& argument : arguments)
        commandLine.push_back(argument.toStdString());
    mainWindow.SetCommandLine(std::move(commandLine));

    mainWindow.show();
    return QApplication::exec();
}
