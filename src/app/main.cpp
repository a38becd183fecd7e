// veltrona: the desktop program.
#include "app/Program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrona"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.8"));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Run on a demonstration set-up in FOLDER."), QStringLiteral("FOLDER"));
    QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Start without the splash window."));
    parser.addOption(demo);
    parser.addOption(noSplash);
    parser.process(app);

    Program program;
    Program::Options options;
    options.demoFolder = parser.value(demo);
    options.splash = !parser.isSet(noSplash);
    QString error;
    if (!program.start(options, &error)) {
        QTextStream(stderr) << "veltrona: " << error << "\n";
        return 1;
    }
    return program.exec(app);
}
