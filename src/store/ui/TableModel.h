#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <vector>

#include "store/engine/Table.h"

// A read-only grid over a Table: one row per record in the Table's order and
// filter, one column per chosen field. The rows are read into the model when
// the Table opens or its data changes (while the Table is in Browse state:
// an edit under way is never disturbed) and the Table's current record is
// left where it was. Selecting a row moves the Table there (setCurrentRow).
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject *parent = nullptr);
    TableModel(Table *table, QObject *parent = nullptr);

    void setTable(Table *table);
    Table *table() const { return m_table; }

    // The fields shown, in order, and their column titles (a missing title
    // shows the field name). Empty fields: every field of the table.
    void setColumns(const QStringList &fields, const QStringList &titles = QStringList());
    QStringList columnFields() const;

    // Reads every row again from the Table.
    void reload();

    // The row of the Table's current record, -1 when none.
    int currentRow() const;
    // Moves the Table to `row`; false when the row no longer exists.
    bool setCurrentRow(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The Table's current record is now at `row` (-1 when none).
    void currentRowChanged(int row);

private:
    void onDataChanged();
    void onStateChanged();
    void onCurrentChanged();

    QPointer<Table> m_table;
    QStringList m_fields;       // as asked
    QStringList m_titles;
    QStringList m_shownFields;  // resolved
    std::vector<QVariantList> m_rows;
    std::vector<QVariant> m_bookmarks;
    bool m_stale = false;       // data changed while the Table was editing
};
