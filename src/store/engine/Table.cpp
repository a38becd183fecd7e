#include "store/engine/Table.h"

#include "store/engine/EngineError.h"
#include "store/engine/FileHandle.h"
#include "store/engine/TableFamily.h"
#include "store/engine/TableFile.h"

#include <sqlite3.h>

#include <algorithm>

using Engine::StatementReset;

namespace {

// Rows read by the first load of an unfiltered list; the rest is read when a
// move goes past them.
constexpr int kFirstChunk = 48;

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool parseBoolean(const QString &text, bool *ok)
{
    const QString t = text.trimmed().toLower();
    *ok = true;
    if (t == QLatin1String("true") || t == QLatin1String("t") || t == QLatin1String("1") || t == QLatin1String("yes")
        || t == QLatin1String("y"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("f") || t == QLatin1String("0") || t == QLatin1String("no")
        || t == QLatin1String("n"))
        return false;
    *ok = false;
    return false;
}

// Runs a hook; an Abort thrown by it goes on to the caller after `undo`.
template <typename Undo>
void runHook(const std::function<void(Table &)> &hook, Table &table, Undo undo)
{
    if (!hook)
        return;
    try {
        hook(table);
    } catch (...) {
        undo();
        throw;
    }
}

} // namespace

Table::Table(QObject *parent) : QObject(parent) {}

Table::Table(const QString &folder, const QString &fileName, QObject *parent)
    : QObject(parent), m_folder(folder), m_fileName(fileName)
{
}

Table::~Table()
{
    // A buffer being edited is abandoned, as when a form closes unsaved.
    m_handle.reset();
}

void Table::setFolder(const QString &folder)
{
    if (isOpen() && folder != m_folder)
        throw EngineError(EngineError::WrongState, QStringLiteral("Cannot change the folder of an open table %1").arg(m_fileName));
    m_folder = folder;
}

void Table::setFileName(const QString &fileName)
{
    if (isOpen() && fileName != m_fileName)
        throw EngineError(EngineError::WrongState, QStringLiteral("Cannot change the name of an open table %1").arg(m_fileName));
    m_fileName = fileName;
}

void Table::setIndexName(const QString &indexName)
{
    if (!isOpen()) {
        m_indexName = indexName;
        return;
    }
    requireBrowse("change the index of");
    const QString previous = m_indexName;
    m_indexName = indexName;
    try {
        buildOrder();
    } catch (...) {
        m_indexName = previous;
        buildOrder();
        throw;
    }
    // Keep the current record, now placed in the new order.
    m_listValid = false;
    resolvePending();
    emit currentChanged();
}

// ---------------------------------------------------------------- open/close

void Table::open()
{
    if (isOpen())
        return;
    if (m_fileName.isEmpty())
        throw EngineError(EngineError::FileNotFound, QStringLiteral("No table name given"));
    m_path = TableFiles::resolve(m_folder, m_fileName);
    m_handle = Engine::acquire(m_path);
    m_def = &m_handle->definition();
    try {
        buildOrder();
    } catch (...) {
        m_handle.reset();
        m_def = nullptr;
        throw;
    }
    m_state = State::Browse;
    m_rowids.clear();
    m_listValid = false;
    m_hasCurrent = false;
    m_pos = -1;
    clearRecord();
    loadList(false);
    m_listValid = true;
    if (m_rowids.empty()) {
        m_bof = m_eof = true;
    } else {
        positionAt(0);
        m_bof = true;
        m_eof = !m_hasCurrent;
    }
    emit stateChanged();
    emit currentChanged();
    doAfterScroll();
}

void Table::setScratch()
{
    if (!isOpen())
        throw EngineError(EngineError::WrongState, QStringLiteral("The table is not open"));
    m_handle->exec("PRAGMA synchronous=OFF");
}

void Table::close()
{
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_handle.reset();
    m_def = nullptr;
    m_rowids.clear();
    m_rowids.shrink_to_fit();
    m_hasCurrent = false;
    m_pos = -1;
    m_bof = m_eof = true;
    m_record.clear();
    m_window.clear();
    m_lastFetched = -2;
    emit stateChanged();
}

// ---------------------------------------------------------------- helpers

const TableDef &Table::definition() const
{
    if (!m_def) {
        // A closed table still answers with its file's description.
        thread_local TableDef closedDef;
        closedDef = Engine::definitionOf(TableFiles::resolve(m_folder, m_fileName));
        return closedDef;
    }
    return *m_def;
}

QStringList Table::fieldNames() const
{
    QStringList names;
    for (const FieldDef &field : definition().fields)
        names << field.name;
    return names;
}

void Table::requireOpen(const char *operation) const
{
    if (!isOpen())
        throw EngineError(EngineError::WrongState,
                          QStringLiteral("Cannot %1 table %2: it is not open").arg(QLatin1String(operation), m_fileName));
}

void Table::requireBrowse(const char *operation)
{
    requireOpen(operation);
    if (m_state != State::Browse)
        throw EngineError(EngineError::WrongState,
                          QStringLiteral("Cannot %1 table %2 while a record is being edited").arg(QLatin1String(operation), m_fileName));
}

int Table::fieldIndexOrThrow(const QString &field) const
{
    int index = -1;
    if (m_handle)
        index = m_handle->fieldIndex(field);
    else if (m_state == State::Inactive)
        throw EngineError(EngineError::WrongState, QStringLiteral("Table %1 is not open").arg(m_fileName));
    if (index < 0)
        throw EngineError(EngineError::FieldNotFound, QStringLiteral("Field %1 not found in table %2").arg(field, m_fileName));
    return index;
}

void Table::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void Table::buildOrder()
{
    const TableDef &def = *m_def;
    QStringList fields;
    if (m_indexName.isEmpty()) {
        fields = def.primaryKey;
    } else {
        const auto found = std::find_if(def.indexes.cbegin(), def.indexes.cend(), [&](const IndexDef &index) {
            return index.name.compare(m_indexName, Qt::CaseInsensitive) == 0;
        });
        if (found == def.indexes.cend())
            throw EngineError(EngineError::IndexNotFound, QStringLiteral("Index %1 not found in table %2").arg(m_indexName, m_fileName));
        fields = found->fields;
    }
    m_orderFields = fields;
    QStringList terms;
    for (const QString &field : fields)
        terms << quoted(field);
    terms << QStringLiteral("rowid");
    m_orderSql = QStringLiteral(" ORDER BY ") + terms.join(QLatin1Char(','));
}

void Table::clearRecord()
{
    m_record.clear();
    if (m_def)
        m_record.resize(m_def->fields.size());
}

void Table::blankRecord() { clearRecord(); }

bool Table::readRow(qint64 rowid, QVariantList &record)
{
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT * FROM data WHERE rowid=?"));
    StatementReset reset(stmt);
    sqlite3_bind_int64(stmt, 1, rowid);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        Engine::throwSqlite(m_handle->db(), rc, m_path);
    const QList<FieldDef> &fields = m_def->fields;
    record.resize(fields.size());
    for (int i = 0; i < fields.size(); ++i)
        record[i] = Engine::columnValue(stmt, i, fields[i].kind);
    return true;
}

bool Table::passesFilter(qint64)
{
    if (!m_filter)
        return true;
    return m_filter(*this);
}

// Loads the row identities of the current order and filter: all of them, or
// (without a filter, unless `complete`) only the first chunk.
void Table::loadList(bool complete)
{
    m_rowids.clear();
    m_loadedGeneration = m_handle->generation;
    m_loadedDataVersion = m_handle->dataVersion();
    if (m_filter) {
        // Read the candidate rows whole, then judge them: the predicate may
        // itself use other Tables of this file.
        std::vector<std::pair<qint64, QVariantList>> rows;
        {
            sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT rowid,* FROM data") + m_orderSql);
            StatementReset reset(stmt);
            const QList<FieldDef> &fields = m_def->fields;
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                QVariantList record(fields.size());
                for (int i = 0; i < fields.size(); ++i)
                    record[i] = Engine::columnValue(stmt, i + 1, fields[i].kind);
                rows.emplace_back(sqlite3_column_int64(stmt, 0), std::move(record));
            }
            if (rc != SQLITE_DONE)
                Engine::throwSqlite(m_handle->db(), rc, m_path);
        }
        const QVariantList saved = m_record;
        try {
            for (auto &row : rows) {
                m_record = std::move(row.second);
                if (passesFilter(row.first))
                    m_rowids.push_back(row.first);
            }
        } catch (...) {
            m_record = saved;
            throw;
        }
        m_record = saved;
        m_complete = true;
        return;
    }
    sqlite3_stmt *stmt = complete ? m_handle->statement(QStringLiteral("SELECT rowid FROM data") + m_orderSql)
                                  : m_handle->statement(QStringLiteral("SELECT rowid FROM data") + m_orderSql + QStringLiteral(" LIMIT ?"));
    StatementReset reset(stmt);
    if (!complete)
        sqlite3_bind_int(stmt, 1, kFirstChunk + 1);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        m_rowids.push_back(sqlite3_column_int64(stmt, 0));
    if (rc != SQLITE_DONE)
        Engine::throwSqlite(m_handle->db(), rc, m_path);
    m_complete = complete || m_rowids.size() <= size_t(kFirstChunk);
}

// Makes sure the list holds `index` (when it exists). Reading the rest of a
// list whose rows changed meanwhile reads it whole again and finds the
// current record in it.
void Table::ensureLoaded(qsizetype index)
{
    if (m_complete || index < qsizetype(m_rowids.size()))
        return;
    if (m_handle->generation != m_loadedGeneration || m_handle->dataVersion() != m_loadedDataVersion) {
        loadList(true);
        if (m_hasCurrent) {
            const auto found = std::find(m_rowids.begin(), m_rowids.end(), m_currentRowid);
            m_pos = found == m_rowids.end() ? std::min<qsizetype>(m_pos, qsizetype(m_rowids.size()) - 1) : found - m_rowids.begin();
        }
        return;
    }
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT rowid FROM data") + m_orderSql + QStringLiteral(" LIMIT -1 OFFSET ?"));
    StatementReset reset(stmt);
    sqlite3_bind_int64(stmt, 1, qint64(m_rowids.size()));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        m_rowids.push_back(sqlite3_column_int64(stmt, 0));
    if (rc != SQLITE_DONE)
        Engine::throwSqlite(m_handle->db(), rc, m_path);
    m_complete = true;
}

void Table::ensureComplete() { ensureLoaded(std::numeric_limits<qsizetype>::max()); }

// After our own insert (or a change of order) the list is read again and the
// current record found in it.
void Table::resolvePending()
{
    if (m_listValid)
        return;
    const qsizetype oldPos = m_pos;
    loadList(true);
    m_listValid = true;
    if (m_hasCurrent) {
        const auto found = std::find(m_rowids.begin(), m_rowids.end(), m_currentRowid);
        if (found != m_rowids.end()) {
            m_pos = found - m_rowids.begin();
            return;
        }
    }
    // The current record left the list (filtered out or deleted): stand on
    // the record now at its place.
    if (m_rowids.empty()) {
        m_pos = -1;
        m_hasCurrent = false;
        clearRecord();
        m_bof = m_eof = true;
        return;
    }
    positionAt(std::clamp<qsizetype>(oldPos, 0, qsizetype(m_rowids.size()) - 1));
}

// Makes the record at `index` current, skipping rows deleted meanwhile by
// others. Leaves no current record when the list ran out.
void Table::positionAt(qsizetype index)
{
    for (;;) {
        ensureLoaded(index);
        if (index < 0 || index >= qsizetype(m_rowids.size())) {
            if (m_rowids.empty()) {
                m_pos = -1;
                m_hasCurrent = false;
                clearRecord();
                m_bof = m_eof = true;
                return;
            }
            index = std::clamp<qsizetype>(index, 0, qsizetype(m_rowids.size()) - 1);
        }
        m_pos = index;
        m_currentRowid = m_rowids[size_t(index)];
        if (readAhead(index)) {
            m_hasCurrent = true;
            emit currentChanged();
            return;
        }
        m_rowids.erase(m_rowids.begin() + index);
    }
}

// Reads the record at list position `index` into m_record. A walk in one
// direction reads the rows ahead of it in one statement, so a scan does not
// pay one statement (and one file lock) per record.
bool Table::readAhead(qsizetype index)
{
    constexpr int kWindow = 64;
    const qint64 rowid = m_rowids[size_t(index)];
    const bool sequential = index == m_lastFetched + 1 || index == m_lastFetched - 1;
    const bool backwards = index == m_lastFetched - 1;
    m_lastFetched = index;
    if (m_windowGeneration != m_handle->generation) {
        m_window.clear();
        m_windowGeneration = m_handle->generation;
    }
    const auto found = m_window.constFind(rowid);
    if (found != m_window.constEnd()) {
        m_record = *found;
        return true;
    }
    if (!sequential)
        return readRow(rowid, m_record);
    m_window.clear();
    QString marks;
    for (int i = 0; i < kWindow; ++i)
        marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT rowid,* FROM data WHERE rowid IN (%1)").arg(marks));
    StatementReset reset(stmt);
    sqlite3_clear_bindings(stmt);
    const qsizetype size = qsizetype(m_rowids.size());
    for (int i = 0; i < kWindow; ++i) {
        const qsizetype at = backwards ? index - i : index + i;
        if (at < 0 || at >= size)
            break;
        sqlite3_bind_int64(stmt, i + 1, m_rowids[size_t(at)]);
    }
    const QList<FieldDef> &fields = m_def->fields;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QVariantList record(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            record[i] = Engine::columnValue(stmt, i + 1, fields[i].kind);
        m_window.insert(sqlite3_column_int64(stmt, 0), std::move(record));
    }
    if (rc != SQLITE_DONE)
        Engine::throwSqlite(m_handle->db(), rc, m_path);
    const auto read = m_window.constFind(rowid);
    if (read == m_window.constEnd())
        return false;
    m_record = *read;
    return true;
}

bool Table::fetchCurrent()
{
    if (!m_hasCurrent)
        return false;
    if (readRow(m_currentRowid, m_record))
        return true;
    return false;
}

void Table::doAfterScroll()
{
    if (afterScroll)
        afterScroll(*this);
}

// ---------------------------------------------------------------- moves

// Moving, inserting, locating or re-reading first posts a record being edited.
void Table::postPending()
{
    if (m_state != State::Browse)
        post();
}

void Table::first()
{
    requireOpen("move in");
    postPending();
    resolvePending();
    positionAt(0);
    m_bof = true;
    m_eof = !m_hasCurrent;
    doAfterScroll();
}

void Table::last()
{
    requireOpen("move in");
    postPending();
    resolvePending();
    ensureComplete();
    positionAt(qsizetype(m_rowids.size()) - 1);
    m_eof = true;
    m_bof = !m_hasCurrent;
    doAfterScroll();
}

void Table::next() { moveBy(1); }

void Table::prior() { moveBy(-1); }

int Table::moveBy(int distance)
{
    requireOpen("move in");
    postPending();
    resolvePending();
    if (distance == 0 || !m_hasCurrent) {
        if (!m_hasCurrent)
            m_bof = m_eof = true;
        return 0;
    }
    const qsizetype from = m_pos;
    qsizetype target = from + distance;
    ensureLoaded(std::max<qsizetype>(target, 0));
    const qsizetype size = qsizetype(m_rowids.size());
    bool hitEnd = false;
    if (target >= size) {
        target = size - 1;
        hitEnd = true;
    }
    if (target < 0) {
        target = 0;
        hitEnd = true;
    }
    const qsizetype start = m_pos; // may have moved if the list was read again
    if (target != start)
        positionAt(target);
    const int moved = int(m_pos - start);
    if (distance > 0) {
        m_eof = hitEnd;
        m_bof = false;
    } else {
        m_bof = hitEnd;
        m_eof = false;
    }
    if (moved != 0)
        doAfterScroll();
    return moved;
}

bool Table::isEmpty() const
{
    return !m_hasCurrent && m_state != State::Insert;
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    auto *self = const_cast<Table *>(this);
    if (m_filter || !m_listValid) {
        self->resolvePending();
        self->ensureComplete();
        return int(m_rowids.size());
    }
    if (m_complete)
        return int(m_rowids.size());
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT count(*) FROM data"));
    StatementReset reset(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW)
        Engine::throwSqlite(m_handle->db(), sqlite3_errcode(m_handle->db()), m_path);
    return sqlite3_column_int(stmt, 0);
}

int Table::recordNumber() const
{
    if (!m_hasCurrent)
        return -1;
    const_cast<Table *>(this)->resolvePending();
    return int(m_pos);
}

// ---------------------------------------------------------------- editing

void Table::insert()
{
    requireOpen("insert into");
    postPending();
    runHook(beforeInsert, *this, [] {});
    blankRecord();
    setState(State::Insert);
    emit currentChanged();
    runHook(onNewRecord, *this, [this] { cancel(); });
}

void Table::append() { insert(); }

void Table::edit()
{
    requireOpen("edit");
    if (m_state != State::Browse)
        return;
    if (!m_hasCurrent)
        throw EngineError(EngineError::NoCurrentRecord, QStringLiteral("Table %1 has no current record to edit").arg(m_fileName));
    runHook(beforeEdit, *this, [] {});
    // Edit the record as it is now in the file, not as it was read.
    if (!fetchCurrent()) {
        m_listValid = false;
        resolvePending();
        throw EngineError(EngineError::NoCurrentRecord, QStringLiteral("The record was deleted by another user"));
    }
    m_original = m_record;
    setState(State::Edit);
}

void Table::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    setState(State::Browse);
    if (m_hasCurrent) {
        if (!fetchCurrent()) {
            m_listValid = false;
            resolvePending();
        }
    } else {
        clearRecord();
    }
    emit currentChanged();
}

QVariant Table::convertIn(int index, const QVariant &value) const
{
    const FieldDef &field = m_def->fields[index];
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (field.kind) {
    case FieldKind::Text: {
        const QString text = value.typeId() == QMetaType::Bool ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                                                               : value.toString();
        if (text.isEmpty())
            return QVariant();
        if (text.size() > field.width)
            throw EngineError(EngineError::TextTooLong,
                              QStringLiteral("Field %1 holds at most %2 characters; \"%3\" has %4")
                                  .arg(field.name).arg(field.width).arg(text).arg(text.size()));
        return QVariant(text);
    }
    case FieldKind::Integer:
    case FieldKind::AutoInc: {
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return QVariant();
            bool ok = false;
            const qint64 number = text.toLongLong(&ok);
            if (!ok)
                throw EngineError(EngineError::InvalidValue, QStringLiteral("\"%1\" is not a valid integer for field %2").arg(text, field.name));
            return QVariant(number);
        }
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        if (!ok)
            throw EngineError(EngineError::InvalidValue, QStringLiteral("Invalid value for integer field %1").arg(field.name));
        return QVariant(number);
    }
    case FieldKind::Boolean: {
        if (value.typeId() == QMetaType::QString) {
            if (value.toString().trimmed().isEmpty())
                return QVariant();
            bool ok = false;
            const bool flag = parseBoolean(value.toString(), &ok);
            if (!ok)
                throw EngineError(EngineError::InvalidValue,
                                  QStringLiteral("\"%1\" is not a valid logical value for field %2").arg(value.toString(), field.name));
            return QVariant(flag);
        }
        return QVariant(value.toBool());
    }
    }
    return QVariant();
}

void Table::checkRecordForPost()
{
    for (int i = 0; i < m_def->fields.size(); ++i) {
        const FieldDef &field = m_def->fields[i];
        m_record[i] = convertIn(i, m_record[i]);
        if (field.required && field.kind != FieldKind::AutoInc && m_record[i].isNull())
            throw EngineError(EngineError::RequiredFieldMissing, QStringLiteral("Field %1 must have a value").arg(field.name));
    }
}

// SQLite lets NULL repeat in a key; a key with an empty field is still one
// value here, so a second record with the same (partly empty) key is refused.
void Table::checkKeyWithNulls(qint64 exceptRowid)
{
    const QStringList &key = m_def->primaryKey;
    if (key.isEmpty())
        return;
    bool anyNull = false;
    QStringList terms;
    for (const QString &name : key) {
        anyNull = anyNull || m_record[m_handle->fieldIndex(name)].isNull();
        terms << quoted(name) + QStringLiteral(" IS ?");
    }
    if (!anyNull)
        return;
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT 1 FROM data WHERE ") + terms.join(QStringLiteral(" AND "))
                                             + QStringLiteral(" AND rowid<>? LIMIT 1"));
    StatementReset reset(stmt);
    int p = 1;
    for (const QString &name : key) {
        const int index = m_handle->fieldIndex(name);
        Engine::bindValue(stmt, p++, m_record[index], m_def->fields[index].kind);
    }
    sqlite3_bind_int64(stmt, p, exceptRowid);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        throw EngineError(EngineError::KeyViolation, QStringLiteral("Key violation"));
    if (rc != SQLITE_DONE)
        Engine::throwSqlite(m_handle->db(), rc, m_path);
}

void Table::post()
{
    requireOpen("post to");
    if (m_state != State::Edit && m_state != State::Insert)
        throw EngineError(EngineError::NotEditing, QStringLiteral("Table %1 is not in edit or insert mode").arg(m_fileName));
    runHook(beforePost, *this, [] {});
    const QVariantList before = m_record;
    const bool inserting = m_state == State::Insert;
    const QList<FieldDef> &fields = m_def->fields;
    try {
        checkRecordForPost();
        // Auto-increment fields left empty are numbered here; a single
        // auto-increment key is numbered by SQLite itself.
        const bool rowidKey = m_def->primaryKey.size() == 1
            && fields[m_handle->fieldIndex(m_def->primaryKey.first())].kind == FieldKind::AutoInc;
        for (int i = 0; i < fields.size(); ++i) {
            if (fields[i].kind != FieldKind::AutoInc || !m_record[i].isNull())
                continue;
            if (rowidKey && fields[i].name.compare(m_def->primaryKey.first(), Qt::CaseInsensitive) == 0)
                continue;
            sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("SELECT coalesce(max(%1),0)+1 FROM data").arg(quoted(fields[i].name)));
            StatementReset reset(stmt);
            if (sqlite3_step(stmt) != SQLITE_ROW)
                Engine::throwSqlite(m_handle->db(), sqlite3_errcode(m_handle->db()), m_path);
            m_record[i] = QVariant(qint64(sqlite3_column_int64(stmt, 0)));
        }
        checkKeyWithNulls(inserting ? 0 : m_currentRowid);

        QString sql;
        if (inserting) {
            QStringList names, marks;
            for (const FieldDef &field : fields) {
                names << quoted(field.name);
                marks << QStringLiteral("?");
            }
            sql = QStringLiteral("INSERT INTO data (%1) VALUES (%2)").arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        } else {
            QStringList sets;
            for (const FieldDef &field : fields)
                sets << quoted(field.name) + QStringLiteral("=?");
            sql = QStringLiteral("UPDATE data SET %1 WHERE rowid=?").arg(sets.join(QLatin1Char(',')));
        }
        sqlite3_stmt *stmt = m_handle->statement(sql);
        StatementReset reset(stmt);
        for (int i = 0; i < fields.size(); ++i)
            Engine::bindValue(stmt, i + 1, m_record[i], fields[i].kind);
        if (!inserting)
            sqlite3_bind_int64(stmt, int(fields.size()) + 1, m_currentRowid);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE)
            Engine::throwSqlite(m_handle->db(), rc, m_path);
    } catch (...) {
        m_record = before;
        throw;
    }
    ++m_handle->generation;

    if (inserting) {
        m_currentRowid = sqlite3_last_insert_rowid(m_handle->db());
        m_hasCurrent = true;
        m_listValid = false; // placed in order on the next move
    } else {
        // The list stays right unless the record may have moved in the order
        // or left the filter.
        bool orderChanged = bool(m_filter) || m_original.size() != m_record.size();
        for (const QString &name : std::as_const(m_orderFields)) {
            const int index = m_handle->fieldIndex(name);
            if (!orderChanged && m_original[index] != m_record[index])
                orderChanged = true;
        }
        if (orderChanged)
            m_listValid = false;
        else
            m_loadedGeneration = m_handle->generation;
    }
    readRow(m_currentRowid, m_record);
    m_bof = m_eof = false;
    setState(State::Browse);
    emit currentChanged();
    emit dataChanged();
    if (afterPost)
        afterPost(*this);
}

void Table::deleteRecord()
{
    requireOpen("delete from");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (!m_hasCurrent)
        throw EngineError(EngineError::NoCurrentRecord, QStringLiteral("Table %1 has no current record to delete").arg(m_fileName));
    runHook(beforeDelete, *this, [] {});
    resolvePending();
    sqlite3_stmt *stmt = m_handle->statement(QStringLiteral("DELETE FROM data WHERE rowid=?"));
    {
        StatementReset reset(stmt);
        sqlite3_bind_int64(stmt, 1, m_currentRowid);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE)
            Engine::throwSqlite(m_handle->db(), rc, m_path);
    }
    const bool wasCurrentList = m_handle->generation == m_loadedGeneration;
    ++m_handle->generation;
    if (wasCurrentList)
        m_loadedGeneration = m_handle->generation;
    const qsizetype index = m_pos;
    if (index >= 0 && index < qsizetype(m_rowids.size()) && m_rowids[size_t(index)] == m_currentRowid)
        m_rowids.erase(m_rowids.begin() + index);
    m_hasCurrent = false;
    ensureLoaded(index);
    if (m_rowids.empty()) {
        m_pos = -1;
        clearRecord();
        m_bof = m_eof = true;
        emit currentChanged();
    } else if (index >= qsizetype(m_rowids.size())) {
        positionAt(qsizetype(m_rowids.size()) - 1);
        m_eof = true;
        m_bof = false;
    } else {
        positionAt(index);
        m_bof = index == 0;
        m_eof = false;
    }
    emit dataChanged();
    doAfterScroll();
}

void Table::emptyTable()
{
    requireOpen("empty");
    cancel();
    m_handle->exec("DELETE FROM data");
    ++m_handle->generation;
    m_rowids.clear();
    m_complete = true;
    m_listValid = true;
    m_loadedGeneration = m_handle->generation;
    m_hasCurrent = false;
    m_pos = -1;
    clearRecord();
    m_bof = m_eof = true;
    emit currentChanged();
    emit dataChanged();
}

// ---------------------------------------------------------------- fields

QVariant Table::value(const QString &field) const
{
    const int index = fieldIndexOrThrow(field);
    return index < m_record.size() ? m_record[index] : QVariant();
}

QString Table::text(const QString &field) const
{
    const int index = fieldIndexOrThrow(field);
    const QVariant v = index < m_record.size() ? m_record[index] : QVariant();
    if (v.isNull())
        return QString();
    if (m_def->fields[index].kind == FieldKind::Boolean)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

qint64 Table::integer(const QString &field) const
{
    const int index = fieldIndexOrThrow(field);
    const QVariant v = index < m_record.size() ? m_record[index] : QVariant();
    if (v.isNull())
        return 0;
    if (m_def->fields[index].kind != FieldKind::Text)
        return v.toLongLong();
    bool ok = false;
    const qint64 number = v.toString().trimmed().toLongLong(&ok);
    if (!ok)
        throw EngineError(EngineError::InvalidValue, QStringLiteral("\"%1\" is not a valid integer (field %2)").arg(v.toString(), m_def->fields[index].name));
    return number;
}

bool Table::boolean(const QString &field) const
{
    const int index = fieldIndexOrThrow(field);
    const QVariant v = index < m_record.size() ? m_record[index] : QVariant();
    if (v.isNull())
        return false;
    if (m_def->fields[index].kind != FieldKind::Text)
        return v.toBool();
    bool ok = false;
    const bool flag = parseBoolean(v.toString(), &ok);
    if (!ok)
        throw EngineError(EngineError::InvalidValue, QStringLiteral("\"%1\" is not a valid logical value (field %2)").arg(v.toString(), m_def->fields[index].name));
    return flag;
}

bool Table::isNull(const QString &field) const
{
    const int index = fieldIndexOrThrow(field);
    return index >= m_record.size() || m_record[index].isNull();
}

void Table::setValue(const QString &field, const QVariant &value)
{
    const int index = fieldIndexOrThrow(field);
    if (m_state != State::Edit && m_state != State::Insert)
        throw EngineError(EngineError::NotEditing, QStringLiteral("Table %1 is not in edit or insert mode").arg(m_fileName));
    m_record[index] = convertIn(index, value);
}

void Table::setText(const QString &f, const QString &v) { setValue(f, QVariant(v)); }
void Table::setInteger(const QString &f, qint64 v) { setValue(f, QVariant(v)); }
void Table::setBoolean(const QString &f, bool v) { setValue(f, QVariant(v)); }
void Table::setNull(const QString &f) { setValue(f, QVariant()); }

// ---------------------------------------------------------------- search

bool Table::locate(const QStringList &fields, const QVariantList &values, int options)
{
    requireOpen("search");
    if (fields.size() != values.size() || fields.isEmpty())
        throw EngineError(EngineError::InvalidValue, QStringLiteral("Locate needs one value for each field"));
    postPending();
    QList<int> indexes;
    QVariantList wanted;
    for (int i = 0; i < fields.size(); ++i) {
        const int index = fieldIndexOrThrow(fields[i]);
        indexes << index;
        // A value the field could never hold matches nothing.
        QVariant converted;
        const FieldDef &def = m_def->fields[index];
        if (def.kind == FieldKind::Text) {
            const QString text = values[i].toString();
            converted = text.isEmpty() ? QVariant() : QVariant(text);
        } else {
            try {
                converted = convertIn(index, values[i]);
            } catch (const EngineError &) {
                return false;
            }
        }
        wanted << converted;
    }
    resolvePending();
    ensureComplete();
    const Qt::CaseSensitivity cs = (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QVariantList record;
    for (size_t n = 0; n < m_rowids.size(); ++n) {
        if (!readRow(m_rowids[n], record))
            continue;
        bool match = true;
        for (int i = 0; i < indexes.size() && match; ++i) {
            const QVariant &have = record[indexes[i]];
            const QVariant &want = wanted[i];
            if (want.isNull()) {
                match = have.isNull() || (options & PartialKey);
            } else if (have.isNull()) {
                match = false;
            } else if (m_def->fields[indexes[i]].kind == FieldKind::Text) {
                const QString h = have.toString();
                const QString w = want.toString();
                match = (options & PartialKey) ? h.startsWith(w, cs) : h.compare(w, cs) == 0;
            } else {
                match = have == want;
            }
        }
        if (match) {
            positionAt(qsizetype(n));
            m_bof = m_eof = false;
            doAfterScroll();
            return true;
        }
    }
    return false;
}

Table::Bookmark Table::bookmark() const
{
    if (!m_hasCurrent)
        return Bookmark();
    return Bookmark(m_currentRowid);
}

bool Table::gotoBookmark(const Bookmark &b)
{
    requireOpen("move in");
    if (!b.isValid())
        return false;
    postPending();
    resolvePending();
    ensureComplete();
    const qint64 rowid = b.toLongLong();
    const auto found = std::find(m_rowids.begin(), m_rowids.end(), rowid);
    if (found == m_rowids.end())
        return false;
    positionAt(found - m_rowids.begin());
    if (m_currentRowid != rowid)
        return false;
    m_bof = m_eof = false;
    doAfterScroll();
    return true;
}

void Table::setFilter(std::function<bool(const Table &)> predicate)
{
    m_filter = std::move(predicate);
    if (!isOpen())
        return;
    postPending();
    // A filter shows its records from the first.
    m_listValid = false;
    m_hasCurrent = false;
    first();
}

void Table::refresh()
{
    requireOpen("refresh");
    postPending();
    m_window.clear();
    m_listValid = false;
    resolvePending();
    if (m_hasCurrent && !fetchCurrent()) {
        m_listValid = false;
        resolvePending();
    }
    if (m_hasCurrent) {
        m_bof = m_pos == 0;
        m_eof = false;
    }
    emit currentChanged();
    emit dataChanged();
}

// ---------------------------------------------------------------- transactions

void Table::beginTransaction()
{
    requireOpen("start a transaction on");
    if (m_handle->transactionDepth == 0)
        m_handle->exec("BEGIN IMMEDIATE");
    ++m_handle->transactionDepth;
}

void Table::commit()
{
    requireOpen("commit");
    if (m_handle->transactionDepth == 0)
        throw EngineError(EngineError::WrongState, QStringLiteral("No transaction is active on table %1").arg(m_fileName));
    if (m_handle->transactionDepth == 1)
        m_handle->exec("COMMIT");
    --m_handle->transactionDepth;
}

void Table::rollback()
{
    requireOpen("roll back");
    if (m_handle->transactionDepth == 0)
        throw EngineError(EngineError::WrongState, QStringLiteral("No transaction is active on table %1").arg(m_fileName));
    m_handle->transactionDepth = 0;
    m_handle->exec("ROLLBACK");
    ++m_handle->generation;
    m_window.clear();
    cancel();
    m_listValid = false;
    resolvePending();
    if (m_hasCurrent && !fetchCurrent()) {
        m_listValid = false;
        resolvePending();
    }
    emit currentChanged();
    emit dataChanged();
}

bool Table::inTransaction() const { return m_handle && m_handle->transactionDepth > 0; }
