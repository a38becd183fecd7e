#include "store/engine/FileHandle.h"

#include "store/engine/EngineError.h"
#include "store/engine/TableFile.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <sys/stat.h>

namespace Engine {

namespace {

// The identity of a file's current content as far as its definition goes:
// device, inode, size and modification time. A copied-over or rewritten file
// gets a new identity.
QByteArray fileIdentity(const QString &path, bool *exists)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        *exists = false;
        return QByteArray();
    }
    *exists = true;
    QByteArray id;
    id.reserve(48);
    id.append(reinterpret_cast<const char *>(&st.st_dev), sizeof(st.st_dev));
    id.append(reinterpret_cast<const char *>(&st.st_ino), sizeof(st.st_ino));
    id.append(reinterpret_cast<const char *>(&st.st_size), sizeof(st.st_size));
    id.append(reinterpret_cast<const char *>(&st.st_mtim.tv_sec), sizeof(st.st_mtim.tv_sec));
    id.append(reinterpret_cast<const char *>(&st.st_mtim.tv_nsec), sizeof(st.st_mtim.tv_nsec));
    return id;
}

// Only the device and inode: whether an open handle still refers to the file
// now found at the path.
QByteArray inodeOf(const QByteArray &identity)
{
    return identity.left(int(sizeof(dev_t) + sizeof(ino_t)));
}

struct CachedDefinition {
    QByteArray identity;
    TableDef def;
};

QHash<QString, CachedDefinition> &definitionCache()
{
    thread_local QHash<QString, CachedDefinition> cache;
    return cache;
}

QHash<QString, std::weak_ptr<FileHandle>> &handles()
{
    thread_local QHash<QString, std::weak_ptr<FileHandle>> registry;
    return registry;
}

QString notFound(const QString &path) { return QStringLiteral("Table %1 does not exist").arg(path); }

} // namespace

StatementReset::~StatementReset() { sqlite3_reset(m_stmt); }

[[noreturn]] void throwSqlite(sqlite3 *db, int rc, const QString &context)
{
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_ROWID)
        throw EngineError(EngineError::KeyViolation, QStringLiteral("Key violation"));
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw EngineError(EngineError::TableLocked, QStringLiteral("%1: the table is locked by another user").arg(context));
    if ((rc & 0xff) == SQLITE_NOTADB)
        throw EngineError(EngineError::NotATable, QStringLiteral("%1 is not a table").arg(context));
    throw EngineError(EngineError::General, QStringLiteral("%1: %2").arg(context, message));
}

FileHandle::FileHandle(const QString &path, const QByteArray &identity) : m_path(path), m_identity(identity)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EngineError(EngineError::FileNotFound, QStringLiteral("Cannot open table %1").arg(path));
    }
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 1);
    try {
        // Rollback journal deleted after each transaction (no side files
        // lingering beside a table) and full syncs: a table survives a crash.
        char *message = nullptr;
        const int prc = sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, &message);
        sqlite3_free(message);
        if (prc != SQLITE_OK)
            throwSqlite(m_db, prc, path);
        auto &cache = definitionCache();
        const auto found = cache.constFind(path);
        if (found != cache.constEnd() && found->identity == identity) {
            m_def = found->def;
        } else {
            m_def = TableFile::readDefinition(m_db, path);
            cache.insert(path, CachedDefinition{identity, m_def});
        }
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
    for (int i = 0; i < m_def.fields.size(); ++i) {
        m_fieldByName.insert(m_def.fields[i].name.toUpper(), i);
        m_fieldByExactName.insert(m_def.fields[i].name, i);
    }
}

FileHandle::~FileHandle()
{
    for (sqlite3_stmt *stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    if (m_db && transactionDepth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

sqlite3_stmt *FileHandle::statement(const QString &sql)
{
    const auto found = m_statements.constFind(sql);
    if (found != m_statements.constEnd())
        return *found;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throwSqlite(m_db, rc, m_path);
    }
    m_statements.insert(sql, stmt);
    return stmt;
}

void FileHandle::exec(const char *sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throwSqlite(m_db, rc, m_path);
}

int FileHandle::dataVersion()
{
    sqlite3_stmt *stmt = statement(QStringLiteral("PRAGMA data_version"));
    StatementReset reset(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW)
        return 0;
    return sqlite3_column_int(stmt, 0);
}

std::shared_ptr<FileHandle> acquire(const QString &path)
{
    bool exists = false;
    const QByteArray identity = fileIdentity(path, &exists);
    if (!exists)
        throw EngineError(EngineError::FileNotFound, notFound(path));
    auto &registry = handles();
    const auto found = registry.constFind(path);
    if (found != registry.constEnd()) {
        if (std::shared_ptr<FileHandle> handle = found->lock()) {
            if (inodeOf(handle->identity()) == inodeOf(identity))
                return handle;
        }
    }
    auto handle = std::make_shared<FileHandle>(path, identity);
    registry.insert(path, handle);
    // Forget handles whose Tables are all closed.
    if (registry.size() > 64) {
        for (auto it = registry.begin(); it != registry.end();) {
            if (it->expired())
                it = registry.erase(it);
            else
                ++it;
        }
    }
    return handle;
}

TableDef definitionOf(const QString &path)
{
    bool exists = false;
    const QByteArray identity = fileIdentity(path, &exists);
    if (!exists)
        throw EngineError(EngineError::FileNotFound, notFound(path));
    auto &cache = definitionCache();
    const auto found = cache.constFind(path);
    if (found != cache.constEnd() && found->identity == identity)
        return found->def;
    TableDef def = TableFile::readDefinition(path);
    cache.insert(path, CachedDefinition{identity, def});
    return def;
}

QVariant columnValue(sqlite3_stmt *stmt, int column, FieldKind kind)
{
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return QVariant();
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        return QVariant(qint64(sqlite3_column_int64(stmt, column)));
    case FieldKind::Boolean:
        return QVariant(sqlite3_column_int64(stmt, column) != 0);
    case FieldKind::Text:
        break;
    }
    const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    const int bytes = sqlite3_column_bytes(stmt, column);
    if (bytes == 0)
        return QVariant();
    return QVariant(QString::fromUtf8(text, bytes));
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value, FieldKind kind)
{
    if (value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::AutoInc:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case FieldKind::Boolean:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        return;
    case FieldKind::Text: {
        const QByteArray utf8 = value.toString().toUtf8();
        if (utf8.isEmpty())
            sqlite3_bind_null(stmt, index);
        else
            sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

} // namespace Engine
