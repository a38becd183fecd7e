// veltrona: the desktop program.
#include "platform/Paths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrona"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Run on a demonstration set-up in FOLDER."), QStringLiteral("FOLDER"));
    parser.addOption(demo);
    parser.process(app);

    QTextStream out(stdout);
    QString error;
    if (!Paths::seedFolders(&error)) {
        QTextStream(stderr) << "veltrona: " << error << "\n";
        return 1;
    }
    out << "Veltrona: config folder " << Paths::configDir() << "\n";
    out << "Veltrona: system folder " << Paths::systemDir() << "\n";
    out << "Veltrona: the main window is not built yet; nothing more to do.\n";
    return 0;
}
