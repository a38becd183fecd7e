// veltrona-cli: the program's operations without windows, for scripts and tests.
#include "cli/CliCommand.h"

#include "platform/Paths.h"
#include "store/engine/EngineError.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace Cli {

namespace {
QList<Command> &registry()
{
    static QList<Command> list;
    return list;
}
} // namespace

void registerCommand(const Command &command) { registry().append(command); }
const QList<Command> &commands() { return registry(); }

QString takeOption(QStringList &args, const QString &name, const QString &fallback)
{
    const QString flag = QStringLiteral("--") + name;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == flag && i + 1 < args.size()) {
            const QString value = args[i + 1];
            args.remove(i, 2);
            return value;
        }
        if (args[i].startsWith(flag + QLatin1Char('='))) {
            const QString value = args[i].mid(flag.size() + 1);
            args.removeAt(i);
            return value;
        }
    }
    return fallback;
}

QStringList takeOptions(QStringList &args, const QString &name)
{
    QStringList values;
    const QString none = QStringLiteral("\x01");
    for (QString value = takeOption(args, name, none); value != none; value = takeOption(args, name, none))
        values << value;
    return values;
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(QStringLiteral("--") + name) > 0;
}

} // namespace Cli

static void printUsage(QTextStream &stream)
{
    stream << "usage: veltrona-cli [--config-dir DIR] [--system-dir DIR] COMMAND ...\n";
    QList<Cli::Command> sorted = Cli::commands();
    std::sort(sorted.begin(), sorted.end(), [](const Cli::Command &a, const Cli::Command &b) { return a.name < b.name; });
    for (const Cli::Command &command : sorted)
        stream << "  " << command.usage << "\n";
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    const QString configDir = Cli::takeOption(args, QStringLiteral("config-dir"));
    const QString systemDir = Cli::takeOption(args, QStringLiteral("system-dir"));
    if (!configDir.isEmpty())
        Paths::setConfigDirOverride(configDir);
    if (!systemDir.isEmpty())
        Paths::setSystemDirOverride(systemDir);

    if (args.isEmpty() || args.first() == QLatin1String("help") || args.first() == QLatin1String("--help")) {
        printUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? Cli::BadInput : Cli::Ok;
    }

    // The longest registered name that matches the leading words wins.
    const Cli::Command *chosen = nullptr;
    int chosenWords = 0;
    for (const Cli::Command &command : Cli::commands()) {
        const QStringList words = command.name.split(QLatin1Char(' '));
        if (words.size() > args.size() || words.size() <= chosenWords)
            continue;
        if (args.mid(0, words.size()) == words) {
            chosen = &command;
            chosenWords = int(words.size());
        }
    }
    if (!chosen) {
        err << "veltrona-cli: unknown command '" << args.join(QLatin1Char(' ')) << "'\n";
        printUsage(err);
        return Cli::BadInput;
    }

    Cli::Context context{args.mid(chosenWords), out, err};
    try {
        const int code = chosen->handler(context);
        out.flush();
        err.flush();
        return code;
    } catch (const EngineError &e) {
        out.flush();
        err << "veltrona-cli: " << e.text() << "\n";
        return Cli::Failed;
    } catch (const std::exception &e) {
        out.flush();
        err << "veltrona-cli: " << e.what() << "\n";
        return Cli::Failed;
    }
}
