#include "gui/windows/Startup.h"

#include "core/session/TestRun.h"
#include "core/storage/ApplicationSetup.h"
#include "gui/resources/Resources.h"
#include "gui/resources/Sounds.h"
#include "gui/widgets/Controls.h"
#include "gui/windows/AttachmentWindows.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <langinfo.h>
#include <malloc.h>

#include <clocale>
#include <string_view>

namespace {

// Xlib writes the older window title property in the C library's character set: outside a UTF-8 locale the
// Polish letters of the titles come out garbled there. Only the character set changes, nothing else of the locale.
void UseUtf8Characters() {
    if (std::string_view(nl_langinfo(CODESET)) != "UTF-8")
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The run's sounds, and its summary shown beside the main window.
class ProgramFeedback final : public RunFeedback {
public:
    ProgramFeedback(OnDemand<SummaryWindow>& summary, const MainWindow& mainWindow)
        : summary_(summary), mainWindow_(mainWindow) {}

    void PlaySound(const char* sound) override { sounds_.Play(sound); }
    void ShowSummary(const SummaryReport& report) override {
        (*summary_).ShowSummaryWindow(report.Text, mainWindow_.PlacementAnchor());
    }

private:
    SoundPlayer sounds_;
    OnDemand<SummaryWindow>& summary_;
    const MainWindow& mainWindow_;
};

} // namespace

void ReturnFreedPicturesToTheSystem() {
    // A fixed threshold: glibc would otherwise raise it after the first large free and keep later
    // pictures in its heap.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

int RunLudra(int argc, char** argv) {
    ReturnFreedPicturesToTheSystem();
    // The menu's background decodes on the other core while Qt starts.
    DecodeArtAhead({"tloglowny"});
    QApplication application(argc, argv);
    UseUtf8Characters();
    QApplication::setApplicationDisplayName(QString::fromStdString(MainWindowTitle()));
    // Ties the windows to the installed menu entry, whose icon the desktop then shows for them.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orvel.Ludra"));
    SubstituteFonts();
    // Qt's own dialogs (the folder dialog) speak Polish like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Polish), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // The message box first: its application-wide Tab filter must hold from the start.
    WarningWindow messageBox;
    ProgramState state(messageBox);
    state.Paths.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    ProgramWindows windows(state);
    MainWindow& mainWindow = windows.Main;
    mainWindow.SetVignette([&windows]() -> InfoWindow& { return *windows.Info; });
    mainWindow.SetSetList([&windows]() -> SetListWindow& { return *windows.SetList; });
    mainWindow.SetSideWindows([&windows] { return windows.Text.IfMade(); },
                              [&windows] { return windows.Picture.IfMade(); });
    // Both unregister themselves when they go, before the windows they use.
    AttachmentWindows attachments([&windows] { return &*windows.Picture; }, [&windows] { return &*windows.Text; },
                                  [&mainWindow]() -> const QWidget& { return mainWindow.PlacementAnchor(); });
    state.Run.SetAttachmentView(&attachments);
    ProgramFeedback feedback(windows.Summary, mainWindow);
    state.Run.SetRunFeedback(&feedback);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::vector<std::string> commandLine;
    for (const QString& argument : arguments)
        commandLine.push_back(argument.toStdString());
    mainWindow.SetCommandLine(std::move(commandLine));

    mainWindow.show();
    // The icon theme is searched after the first frame, which doesn't wait for it.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("example.orvel.Ludra"))); });
    return QApplication::exec();
}
