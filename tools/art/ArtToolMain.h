#pragma once

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <variant>

// Says a problem on the error output as "TOOL: message".
inline void Fail(const QString& message) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QGuiApplication::applicationName()), qPrintable(message));
}

// The main of a build-time art tool: Qt without a display, the command line read by parse
// (a job, or the problem with it), --help, and a bad command line a usage error (status 2);
// run does the job and gives the exit status.
template <typename Job, typename Parse, typename Run>
int ArtToolMain(int argc, char** argv, const char* name, const char* description, Parse parse, Run run) {
    // A build machine has no display; rendering needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QString::fromLatin1(name));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    const QCommandLineOption help = parser.addHelpOption();
    const std::variant<Job, QString> job = parse(parser, QGuiApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (const QString* problem = std::get_if<QString>(&job)) {
        Fail(*problem);
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    return run(std::get<Job>(job));
}
