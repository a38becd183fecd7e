// veltrona-cli operator list: one line per operator, name and level.
#include "cli/CliCommand.h"

#include "frame/Operators.h"

namespace {

int operatorList(Cli::Context &c)
{
    if (!c.args.isEmpty()) {
        c.err << "usage: veltrona-cli operator list\n";
        return Cli::BadInput;
    }
    QList<Operators::Operator> operators;
    QString error;
    if (!Operators::readAll(Operators::filePath(), &operators, &error)) {
        c.err << "veltrona-cli: " << error << "\n";
        return Cli::Failed;
    }
    // Passwords are never shown.
    for (const Operators::Operator &op : operators)
        c.out << op.name << '\t' << op.level << '\n';
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("operator list"), QStringLiteral("operator list"), operatorList}};

} // namespace
