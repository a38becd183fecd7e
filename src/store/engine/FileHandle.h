#pragma once

#include "store/engine/TableDef.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The engine's connections to table files. Within one thread every Table
// open on one file shares one FileHandle: one SQLite connection, the file's
// parsed definition and a cache of prepared statements. Nothing here holds a
// lock between calls: every statement is reset after use.
namespace Engine {

class FileHandle {
public:
    FileHandle(const QString &path, const QByteArray &identity);
    ~FileHandle();
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    sqlite3 *db() const { return m_db; }
    const QString &path() const { return m_path; }
    const TableDef &definition() const { return m_def; }
    const QByteArray &identity() const { return m_identity; }
    // Without regard to case; the spelling of the definition is found without
    // building an upper-case copy (field access is on every scan's hot path).
    int fieldIndex(const QString &name) const
    {
        if (const auto exact = m_fieldByExactName.constFind(name); exact != m_fieldByExactName.cend())
            return exact.value();
        return m_fieldByName.value(name.toUpper(), -1);
    }

    // A prepared statement kept for the life of the handle, found by its SQL.
    sqlite3_stmt *statement(const QString &sql);

    // Executes a statement without results; throws EngineError.
    void exec(const char *sql);

    // Increased by every write through this handle, so a Table can tell that
    // the rows changed under its partly loaded list.
    quint64 generation = 0;
    int transactionDepth = 0;

    // SQLite's counter of changes committed by other connections.
    int dataVersion();

private:
    QString m_path;
    QByteArray m_identity;
    sqlite3 *m_db = nullptr;
    TableDef m_def;
    QHash<QString, int> m_fieldByName;      // upper-case names
    QHash<QString, int> m_fieldByExactName; // names as the definition spells them
    QHash<QString, sqlite3_stmt *> m_statements;
};

// The shared handle of the table file `path` (which must exist), opening it
// when needed. Throws EngineError FileNotFound or NotATable.
std::shared_ptr<FileHandle> acquire(const QString &path);

// The definition of the table file `path`, from a cache that is refreshed
// whenever the file changes. Throws EngineError FileNotFound or NotATable.
TableDef definitionOf(const QString &path);

// Converts an SQLite failure into the engine's error (key violation, locked
// table, ...).
[[noreturn]] void throwSqlite(sqlite3 *db, int rc, const QString &context);

// Reads column `column` of the current row of `stmt` as a value of `kind`.
QVariant columnValue(sqlite3_stmt *stmt, int column, FieldKind kind);

// Binds `value` (already converted to `kind`) to parameter `index`.
void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value, FieldKind kind);

// Resets a statement when leaving a scope.
class StatementReset {
public:
    explicit StatementReset(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    ~StatementReset();
    StatementReset(const StatementReset &) = delete;
    StatementReset &operator=(const StatementReset &) = delete;

private:
    sqlite3_stmt *m_stmt;
};

} // namespace Engine
