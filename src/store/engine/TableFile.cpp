#include "store/engine/TableFile.h"

#include "store/engine/EngineError.h"
#include "store/engine/FileHandle.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

int TableDef::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

namespace {

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QChar kindLetter(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QLatin1Char('T');
    case FieldKind::Integer: return QLatin1Char('I');
    case FieldKind::Boolean: return QLatin1Char('B');
    case FieldKind::AutoInc: return QLatin1Char('A');
    }
    return QLatin1Char('T');
}

FieldKind kindFromLetter(const QString &letter)
{
    if (letter == QLatin1String("I"))
        return FieldKind::Integer;
    if (letter == QLatin1String("B"))
        return FieldKind::Boolean;
    if (letter == QLatin1String("A"))
        return FieldKind::AutoInc;
    return FieldKind::Text;
}

// A connection that is closed on every path out.
class Db {
public:
    Db(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
            sqlite3_close(m_db);
            m_db = nullptr;
            throw EngineError(EngineError::FileNotFound,
                              QStringLiteral("Cannot open table %1: %2").arg(path, message));
        }
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Db() { sqlite3_close(m_db); }
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    sqlite3 *handle() const { return m_db; }

    void exec(const QString &sql, int errorCode = EngineError::General)
    {
        char *message = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString text = QString::fromUtf8(message ? message : "unknown error");
            sqlite3_free(message);
            throw EngineError(errorCode, text);
        }
    }

private:
    sqlite3 *m_db = nullptr;
};

class Statement {
public:
    Statement(sqlite3 *db, const QString &sql)
    {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw EngineError(EngineError::NotATable, QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};


} // namespace

namespace TableFile {

QString createDataSql(const TableDef &def)
{
    QStringList columns;
    const bool singleAutoIncKey = def.primaryKey.size() == 1 && def.fieldIndex(def.primaryKey.first()) >= 0
        && def.fields[def.fieldIndex(def.primaryKey.first())].kind == FieldKind::AutoInc;
    for (const FieldDef &field : def.fields) {
        QString column = quoted(field.name);
        switch (field.kind) {
        case FieldKind::Text: column += QStringLiteral(" TEXT"); break;
        case FieldKind::Integer: column += QStringLiteral(" INTEGER"); break;
        case FieldKind::Boolean: column += QStringLiteral(" INTEGER"); break;
        case FieldKind::AutoInc:
            column += QStringLiteral(" INTEGER");
            if (singleAutoIncKey)
                column += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
            break;
        }
        columns << column;
    }
    if (!def.primaryKey.isEmpty() && !singleAutoIncKey) {
        QStringList key;
        for (const QString &name : def.primaryKey)
            key << quoted(name);
        columns << QStringLiteral("PRIMARY KEY (%1)").arg(key.join(QStringLiteral(", ")));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(kDataTable), columns.join(QStringLiteral(", ")));
}

void create(const QString &path, const TableDef &def)
{
    if (QFileInfo::exists(path))
        throw EngineError(EngineError::General, QStringLiteral("Table %1 already exists").arg(path));
    for (const QString &name : def.primaryKey) {
        if (def.fieldIndex(name) < 0)
            throw EngineError(EngineError::FieldNotFound, QStringLiteral("%1: key field %2 is not a field").arg(def.fileName, name));
    }
    for (const IndexDef &index : def.indexes) {
        for (const QString &name : index.fields) {
            if (def.fieldIndex(name) < 0)
                throw EngineError(EngineError::FieldNotFound,
                                  QStringLiteral("%1: index %2 names unknown field %3").arg(def.fileName, index.name, name));
        }
    }

    try {
        Db db(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        db.exec(QStringLiteral("BEGIN"));
        db.exec(createDataSql(def));
        db.exec(QStringLiteral("CREATE TABLE %1 (pos INTEGER PRIMARY KEY, name TEXT NOT NULL, kind TEXT NOT NULL, "
                               "width INTEGER NOT NULL, required INTEGER NOT NULL)")
                    .arg(QLatin1String(kFieldsTable)));
        db.exec(QStringLiteral("CREATE TABLE %1 (name TEXT NOT NULL, pos INTEGER NOT NULL, field TEXT NOT NULL, "
                               "is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL)")
                    .arg(QLatin1String(kIndexesTable)));
        {
            Statement insert(db.handle(), QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?, ?)").arg(QLatin1String(kFieldsTable)));
            for (int i = 0; i < def.fields.size(); ++i) {
                const FieldDef &field = def.fields[i];
                const QByteArray name = field.name.toUtf8();
                const QByteArray kind = QString(kindLetter(field.kind)).toUtf8();
                sqlite3_bind_int(insert.get(), 1, i);
                sqlite3_bind_text(insert.get(), 2, name.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert.get(), 3, kind.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(insert.get(), 4, field.width);
                sqlite3_bind_int(insert.get(), 5, field.required ? 1 : 0);
                if (sqlite3_step(insert.get()) != SQLITE_DONE)
                    throw EngineError(EngineError::General, QString::fromUtf8(sqlite3_errmsg(db.handle())));
                sqlite3_reset(insert.get());
            }
        }
        {
            Statement insert(db.handle(), QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?, ?)").arg(QLatin1String(kIndexesTable)));
            auto add = [&](const QString &name, int pos, const QString &field, bool primary, bool unique) {
                const QByteArray n = name.toUtf8();
                const QByteArray f = field.toUtf8();
                sqlite3_bind_text(insert.get(), 1, n.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(insert.get(), 2, pos);
                sqlite3_bind_text(insert.get(), 3, f.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(insert.get(), 4, primary ? 1 : 0);
                sqlite3_bind_int(insert.get(), 5, unique ? 1 : 0);
                if (sqlite3_step(insert.get()) != SQLITE_DONE)
                    throw EngineError(EngineError::General, QString::fromUtf8(sqlite3_errmsg(db.handle())));
                sqlite3_reset(insert.get());
            };
            for (int i = 0; i < def.primaryKey.size(); ++i)
                add(QString(), i, def.primaryKey[i], true, true);
            for (const IndexDef &index : def.indexes) {
                for (int i = 0; i < index.fields.size(); ++i)
                    add(index.name, i, index.fields[i], false, index.unique);
                QStringList columns;
                for (const QString &field : index.fields)
                    columns << quoted(field);
                db.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                            .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(index.name),
                                 QLatin1String(kDataTable), columns.join(QStringLiteral(", "))));
            }
        }
        if (!def.rows.isEmpty()) {
            QStringList marks;
            for (int i = 0; i < def.fields.size(); ++i)
                marks << QStringLiteral("?");
            Statement insert(db.handle(), QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QLatin1String(kDataTable), marks.join(QLatin1Char(','))));
            for (const QVariantList &row : def.rows) {
                if (row.size() != def.fields.size())
                    throw EngineError(EngineError::InvalidValue,
                                      QStringLiteral("%1: an initial row has %2 values for %3 fields").arg(def.fileName).arg(row.size()).arg(def.fields.size()));
                for (int i = 0; i < row.size(); ++i) {
                    const FieldDef &field = def.fields[i];
                    if (field.kind == FieldKind::Text && row[i].toString().size() > field.width)
                        throw EngineError(EngineError::TextTooLong,
                                          QStringLiteral("%1: value \"%2\" is longer than field %3").arg(def.fileName, row[i].toString(), field.name));
                    Engine::bindValue(insert.get(), i + 1, row[i], field.kind);
                }
                const int rc = sqlite3_step(insert.get());
                if (rc != SQLITE_DONE)
                    throw EngineError(rc == SQLITE_CONSTRAINT ? int(EngineError::KeyViolation) : int(EngineError::General),
                                      QStringLiteral("%1: %2").arg(def.fileName, QString::fromUtf8(sqlite3_errmsg(db.handle()))));
                sqlite3_reset(insert.get());
                sqlite3_clear_bindings(insert.get());
            }
        }
        db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        throw;
    }
}

TableDef readDefinition(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw EngineError(EngineError::FileNotFound, QStringLiteral("Table %1 does not exist").arg(path));
    Db db(path, SQLITE_OPEN_READONLY);
    return readDefinition(db.handle(), path);
}

TableDef readDefinition(sqlite3 *handle, const QString &path)
{
    TableDef def;
    def.fileName = QFileInfo(path).fileName();
    try {
        Statement fields(handle, QStringLiteral("SELECT name, kind, width, required FROM %1 ORDER BY pos").arg(QLatin1String(kFieldsTable)));
        while (sqlite3_step(fields.get()) == SQLITE_ROW) {
            FieldDef field;
            field.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(fields.get(), 0)));
            field.kind = kindFromLetter(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(fields.get(), 1))));
            field.width = sqlite3_column_int(fields.get(), 2);
            field.required = sqlite3_column_int(fields.get(), 3) != 0;
            def.fields << field;
        }
        Statement indexes(handle, QStringLiteral("SELECT name, field, is_primary, is_unique FROM %1 ORDER BY is_primary DESC, name, pos").arg(QLatin1String(kIndexesTable)));
        while (sqlite3_step(indexes.get()) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(indexes.get(), 0)));
            const QString field = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(indexes.get(), 1)));
            if (sqlite3_column_int(indexes.get(), 2) != 0) {
                def.primaryKey << field;
                continue;
            }
            if (def.indexes.isEmpty() || def.indexes.last().name != name)
                def.indexes << IndexDef{name, {}, sqlite3_column_int(indexes.get(), 3) != 0};
            def.indexes.last().fields << field;
        }
    } catch (const EngineError &) {
        throw EngineError(EngineError::NotATable, QStringLiteral("%1 is not a table (its field description is missing)").arg(path));
    }
    if (def.fields.isEmpty())
        throw EngineError(EngineError::NotATable, QStringLiteral("%1 is not a table (it declares no fields)").arg(path));
    return def;
}

} // namespace TableFile
