// veltrona-cli operator add NAME PASSWORD LEVEL
#include "cli/CliCommand.h"

#include "frame/Operators.h"
#include "platform/Paths.h"

#include <QDir>

namespace {

int operatorAdd(Cli::Context &c)
{
    if (c.args.size() != 3) {
        c.err << "usage: veltrona-cli operator add NAME PASSWORD LEVEL\n";
        return Cli::BadInput;
    }
    bool ok = false;
    const int level = c.args[2].toInt(&ok);
    if (!ok) {
        c.err << "veltrona-cli: the level must be 0, 1 or 2\n";
        return Cli::BadInput;
    }
    const QString dir = Paths::systemDir();
    if (!QDir().mkpath(dir)) {
        c.err << "veltrona-cli: cannot create the system folder " << dir << "\n";
        return Cli::Failed;
    }
    QString error;
    switch (Operators::addOperator(Operators::filePath(dir), c.args[0], c.args[1], level, &error)) {
    case Operators::AddResult::Ok:
        return Cli::Ok;
    case Operators::AddResult::BadInput:
        c.err << "veltrona-cli: " << error << "\n";
        return Cli::BadInput;
    case Operators::AddResult::Failed:
        break;
    }
    c.err << "veltrona-cli: " << error << "\n";
    return Cli::Failed;
}

Cli::Registration reg{{QStringLiteral("operator add"), QStringLiteral("operator add NAME PASSWORD LEVEL"), operatorAdd}};

} // namespace
