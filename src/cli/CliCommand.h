#pragma once

#include <QStringList>
#include <QTextStream>

#include <functional>

// veltrona-cli's commands. Each command file registers itself with a static
// CliRegistration; main() dispatches on the first word (or first two words).
//
// Exit codes: 0 success, 1 the operation failed, 2 bad input.
namespace Cli {

enum Exit : int { Ok = 0, Failed = 1, BadInput = 2 };

struct Context {
    QStringList args;     // the words after the command's own name(s)
    QTextStream &out;
    QTextStream &err;
};

using Handler = std::function<int(Context &)>;

struct Command {
    QString name;         // "sql", "operator add", "cu detect"
    QString usage;        // one line shown by `veltrona-cli help`
    Handler handler;
};

void registerCommand(const Command &command);
const QList<Command> &commands();

// Removes "--name VALUE" (or "--name=VALUE") from args and returns VALUE;
// returns `fallback` when absent. Repeated options: see takeOptions.
QString takeOption(QStringList &args, const QString &name, const QString &fallback = QString());
QStringList takeOptions(QStringList &args, const QString &name);
// Removes a bare flag "--name"; true when it was present.
bool takeFlag(QStringList &args, const QString &name);

struct Registration {
    explicit Registration(const Command &command) { registerCommand(command); }
};

} // namespace Cli
