#pragma once

#include "store/engine/TableDef.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace Engine {
class FileHandle;
}

// A cursor on one table file: the program's dataset. It walks the rows of the
// table in primary key order or in the order of a named secondary index,
// edits them through a record buffer (states Browse, Edit, Insert) and checks
// every write against the table's field description (text widths, required
// fields, the key).
//
// Several Tables may be open on one file; within a process they share one
// connection to it. A Table keeps the row identities of its current order and
// filter and reads one row at a time, so opening a large table is cheap. It
// holds no lock between calls: other Tables' posted changes appear after
// refresh().
//
// Errors are thrown as EngineError. A hook abandons its operation by throwing
// Abort; the Table is left as it was before the operation and the Abort is
// passed on to the caller.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum LocateOption { NoOption = 0, CaseInsensitive = 1, PartialKey = 2 };
    using Bookmark = QVariant;

    explicit Table(QObject *parent = nullptr);
    Table(const QString &folder, const QString &fileName, QObject *parent = nullptr);
    ~Table() override;

    void setFolder(const QString &folder);
    void setFileName(const QString &fileName);
    QString folder() const { return m_folder; }
    QString fileName() const { return m_fileName; }
    // The file actually opened (the name resolved without regard to case).
    QString filePath() const { return m_path; }
    // "" selects primary key order; otherwise a secondary index by name
    // (I_NOMBRE, ...), without regard to case. Takes effect at once when open.
    void setIndexName(const QString &indexName);
    QString indexName() const { return m_indexName; }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }

    void first();
    void next();
    void prior();
    void last();
    int moveBy(int distance); // returns the distance actually moved

    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    int recordCount() const;
    int recordNumber() const; // 0-based position of the current record, -1 when none

    State state() const { return m_state; }

    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord(); // the cursor then stands on the following record
    void emptyTable();

    // Field access by name without regard to case; an unknown name is an
    // EngineError FieldNotFound.
    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    qint64 integer(const QString &field) const;
    bool boolean(const QString &field) const;
    bool isNull(const QString &field) const;

    // Only in Edit or Insert state. A text longer than its field is refused
    // (TextTooLong); an empty text is kept as null.
    void setValue(const QString &field, const QVariant &value);
    void setText(const QString &f, const QString &v);
    void setInteger(const QString &f, qint64 v);
    void setBoolean(const QString &f, bool v);
    void setNull(const QString &f);

    // Moves to the first record, in the current order and filter, whose
    // fields equal the values. CaseInsensitive compares texts without regard
    // to case; PartialKey lets a text value match the beginning of the field.
    // Returns false (and stays) when none matches.
    bool locate(const QStringList &fields, const QVariantList &values, int options = NoOption);

    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark &b);

    // A per-record filter: only records for which it answers true are seen.
    // The predicate reads the candidate record through the Table. Null = none.
    void setFilter(std::function<bool(const Table &)> predicate);

    // Reads the rows again (keeping the current record when it still exists):
    // shows the changes posted by other Tables and processes.
    void refresh();

    const TableDef &definition() const;
    QStringList fieldNames() const;

    // Bulk work on this file in one transaction (nestable; the outermost
    // commit writes). Rollback undoes every change made since the outermost
    // beginTransaction by any Table of this process on the file.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Marks the open file as scratch: it only holds rows rebuilt from other
    // tables (a central unit image), so its commits skip the flush to disk.
    // A power cut can at worst spoil such a file, and its rebuild replaces it
    // from its template. Lasts while the file stays open in this process.
    void setScratch();

    // Hooks; each may throw Abort to abandon the operation.
    std::function<void(Table &)> beforeInsert, onNewRecord, beforeEdit, beforePost, afterPost, beforeDelete, afterScroll;

signals:
    void stateChanged();
    void currentChanged();
    void dataChanged();

private:
    void postPending();
    int fieldIndexOrThrow(const QString &field) const;
    void requireOpen(const char *operation) const;
    void requireBrowse(const char *operation);
    void setState(State state);
    void buildOrder();
    void loadList(bool complete);
    void ensureLoaded(qsizetype index);
    void ensureComplete();
    void resolvePending();
    bool fetchCurrent();
    void positionAt(qsizetype index);
    void clearRecord();
    bool passesFilter(qint64 rowid);
    bool readRow(qint64 rowid, QVariantList &record);
    void blankRecord();
    QVariant convertIn(int index, const QVariant &value) const;
    void checkRecordForPost();
    void checkKeyWithNulls(qint64 exceptRowid);
    void doAfterScroll();

    QString m_folder;
    QString m_fileName;
    QString m_indexName;
    QString m_path;
    State m_state = State::Inactive;
    std::shared_ptr<Engine::FileHandle> m_handle;
    const TableDef *m_def = nullptr;
    QStringList m_orderFields; // current order (without the final rowid)
    QString m_orderSql;        // "ORDER BY ..." clause
    std::function<bool(const Table &)> m_filter;

    // The row identities of the current order and filter. The list may hold
    // only its beginning (m_complete false) until a move needs more.
    std::vector<qint64> m_rowids;
    bool m_complete = false;
    bool m_listValid = false;      // false after our own insert: reload on the next move
    quint64 m_loadedGeneration = 0;
    int m_loadedDataVersion = 0;

    qsizetype m_pos = -1;          // index in m_rowids of the current record
    qint64 m_currentRowid = 0;
    bool m_hasCurrent = false;
    bool m_bof = true;
    bool m_eof = true;
    QVariantList m_record;         // the current record or the edit buffer
    QVariantList m_original;       // the record as edit() found it
    // Rows read ahead while walking the list in one direction; valid while
    // no write went through this file's handle since they were read.
    QHash<qint64, QVariantList> m_window;
    quint64 m_windowGeneration = 0;
    qsizetype m_lastFetched = -2;
    bool readAhead(qsizetype index);
};
