#pragma once

#include "store/engine/TableDef.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// A statement of the program's local SQL, naming tables by file name in
// double quotes:
//
//   Select N_ZONA,ACCESO from "Tower_North_Zones_aux.db" where ACCESO=:a
//       and (E_S_D="E" or E_S_D="S") Order by ACCESO,N_ZONA
//   UPDATE "T_Zones_aux.db" set VISIBLE=false where ACCESO not in
//       (Select NUMERO from "T_Access.db")
//   DELETE FROM "T_Who_Item.db" WHERE WHO=:who AND ITEM=:kind
//
// The subset: SELECT [DISTINCT] * or columns (a column, UPPER(x), MAX(x),
// MIN(x), COUNT(*), COUNT(x), a literal; each optionally AS name); FROM one
// table; WHERE with = <> < > <= >=, [NOT] LIKE, IS [NOT] NULL, [NOT] IN with
// a sub-select or a list of values, AND, OR, NOT and parentheses; GROUP BY
// ... [HAVING ...]; ORDER BY ... [ASC|DESC]; UPDATE ... SET ... [WHERE];
// DELETE FROM ... [WHERE]. A double-quoted token ending in ".db" names a
// table file, resolved in the query's folder without regard to case (an
// absolute path names its own folder); any other double-quoted (or
// single-quoted) token is a text literal; true and false are booleans;
// :name is a bound parameter. Values are always bound, never pasted.
//
// Text semantics follow the tables: an empty text is the same as null, so
// `X=""` finds the empty fields and `SET X=""` empties them; `=` and `<>`
// against a value treat null as a value; LIKE is case-sensitive (% and _);
// UPPER folds every letter, not only ASCII ones.
//
// An UPDATE is checked against the table's field description, as a Table
// post would be: a too long text, a missing required value, a text in a
// number field or a repeated key refuses the whole statement and changes
// nothing. A statement outside the subset is an EngineError BadStatement
// whose text gives the character position of the fault (badPosition()).
class Query {
public:
    explicit Query(const QString &folder = QString());
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    // `name` with or without its leading ':'.
    void bind(const QString &name, const QVariant &value);
    void clearBindings() { m_params.clear(); }

    // Runs a SELECT and reads its rows; the cursor stands on the first row.
    void open();
    bool isOpen() const { return m_open; }
    bool eof() const { return !m_open || m_row >= m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recordCount() const { return int(m_rows.size()); }
    void first() { m_row = 0; }
    void next()
    {
        if (m_row < m_rows.size())
            ++m_row;
    }
    QStringList columnNames() const { return m_columns; }
    // The current row's value, by column name (without regard to case) or
    // position. Null for an empty text; booleans as bool.
    QVariant value(const QString &name) const;
    QVariant value(int index) const;
    QString text(const QString &name) const;
    void close();

    // Runs an UPDATE or DELETE; returns the number of rows affected.
    int exec();

    // The SQLite statement the last open() or exec() ran (for diagnostics).
    QString translatedSql() const { return m_translated; }
    // Character position of the last BadStatement fault, -1 when none.
    int badPosition() const { return m_badPosition; }

private:
    struct Prepared;
    Prepared prepare(bool forSelect);

    QString m_folder;
    QString m_sql;
    QMap<QString, QVariant> m_params;
    QString m_translated;
    int m_badPosition = -1;

    bool m_open = false;
    QStringList m_columns;
    QList<QVariantList> m_rows;
    qsizetype m_row = 0;
};
