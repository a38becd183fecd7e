// veltrona-cli sql: runs one statement of the local SQL on the tables of a
// folder. A SELECT prints a header line of column names and one line per
// row, tab-separated (null printed as nothing); UPDATE and DELETE print the
// number of rows affected.
#include "cli/CliCommand.h"

#include "store/engine/EngineError.h"
#include "store/engine/Query.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cell(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text = value.typeId() == QMetaType::Bool ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False")) : value.toString();
    // One row, one line: a tab or line break inside a value becomes a space.
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

int runSql(Cli::Context &context)
{
    QStringList args = context.args;
    const QStringList params = Cli::takeOptions(args, QStringLiteral("param"));
    if (args.size() != 2) {
        context.err << "usage: veltrona-cli sql FOLDER STATEMENT [--param NAME=VALUE]...\n";
        return Cli::BadInput;
    }
    const QString folder = args[0];
    if (!QFileInfo(folder).isDir()) {
        context.err << "veltrona-cli: folder " << folder << " does not exist\n";
        return Cli::BadInput;
    }
    Query query(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    query.setSql(args[1]);
    for (const QString &param : params) {
        const qsizetype eq = param.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            context.err << "veltrona-cli: --param needs NAME=VALUE, got '" << param << "'\n";
            return Cli::BadInput;
        }
        query.bind(param.left(eq), param.mid(eq + 1));
    }
    const QString trimmed = args[1].trimmed();
    const bool isSelect = trimmed.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
    try {
        if (isSelect) {
            query.open();
            context.out << query.columnNames().join(QLatin1Char('\t')) << "\n";
            const int columns = int(query.columnNames().size());
            for (; !query.eof(); query.next()) {
                QStringList cells;
                for (int i = 0; i < columns; ++i)
                    cells << cell(query.value(i));
                context.out << cells.join(QLatin1Char('\t')) << "\n";
            }
        } else {
            const int rows = query.exec();
            context.out << rows << " rows affected\n";
        }
    } catch (const EngineError &e) {
        if (e.code() == EngineError::BadStatement) {
            context.err << "veltrona-cli: " << e.text() << "\n";
            return Cli::BadInput;
        }
        throw;
    }
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("sql"), QStringLiteral("sql FOLDER STATEMENT [--param NAME=VALUE]...  run a statement on the tables of FOLDER"), runSql}};

} // namespace
