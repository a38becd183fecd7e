#include "store/ui/TableModel.h"

#include "store/engine/EngineError.h"
#include "store/engine/Table.h"

#include <QSignalBlocker>

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

TableModel::TableModel(Table *table, QObject *parent) : QAbstractTableModel(parent) { setTable(table); }

void TableModel::setTable(Table *table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &Table::dataChanged, this, &TableModel::onDataChanged);
        connect(m_table, &Table::stateChanged, this, &TableModel::onStateChanged);
        connect(m_table, &Table::currentChanged, this, &TableModel::onCurrentChanged);
    }
    reload();
}

void TableModel::setColumns(const QStringList &fields, const QStringList &titles)
{
    m_fields = fields;
    m_titles = titles;
    reload();
}

QStringList TableModel::columnFields() const { return m_shownFields; }

void TableModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_bookmarks.clear();
    m_shownFields.clear();
    m_stale = false;
    if (m_table && m_table->isOpen()) {
        m_shownFields = m_fields.isEmpty() ? m_table->fieldNames() : m_fields;
        if (m_table->state() != Table::State::Browse) {
            m_stale = true; // read again once the edit is posted or cancelled
        } else {
            // Walk the rows without letting the walk look like the operator
            // scrolling: no afterScroll hook, no signals to bound editors.
            const QVariant mark = m_table->bookmark();
            auto afterScroll = std::move(m_table->afterScroll);
            m_table->afterScroll = nullptr;
            {
                const QSignalBlocker blocker(m_table);
                try {
                    for (m_table->first(); !m_table->eof(); m_table->next()) {
                        QVariantList row;
                        row.reserve(m_shownFields.size());
                        for (const QString &f : m_shownFields)
                            row << m_table->value(f);
                        m_rows.push_back(row);
                        m_bookmarks.push_back(m_table->bookmark());
                    }
                    if (mark.isValid())
                        m_table->gotoBookmark(mark);
                    else
                        m_table->first();
                } catch (const EngineError &) {
                    m_table->afterScroll = std::move(afterScroll);
                    endResetModel();
                    throw;
                }
            }
            m_table->afterScroll = std::move(afterScroll);
        }
    }
    endResetModel();
    emit currentRowChanged(currentRow());
}

int TableModel::currentRow() const
{
    if (!m_table || !m_table->isOpen())
        return -1;
    const QVariant mark = m_table->bookmark();
    if (!mark.isValid())
        return -1;
    for (size_t i = 0; i < m_bookmarks.size(); ++i)
        if (m_bookmarks[i] == mark)
            return int(i);
    return -1;
}

bool TableModel::setCurrentRow(int row)
{
    if (!m_table || row < 0 || size_t(row) >= m_bookmarks.size())
        return false;
    return m_table->gotoBookmark(m_bookmarks[size_t(row)]);
}

int TableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int TableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_shownFields.size()); }

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size() || index.column() >= m_shownFields.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const QVariant &v = m_rows[size_t(index.row())].at(index.column());
    if (role == Qt::DisplayRole && v.isNull())
        return QString();
    return v;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= m_shownFields.size())
        return QVariant();
    if (section < m_titles.size() && !m_titles.at(section).isEmpty())
        return m_titles.at(section);
    return m_shownFields.at(section);
}

void TableModel::onDataChanged()
{
    if (m_table && m_table->state() == Table::State::Browse)
        reload();
    else
        m_stale = true;
}

void TableModel::onStateChanged()
{
    if (!m_table)
        return;
    if (!m_table->isOpen()) {
        beginResetModel();
        m_rows.clear();
        m_bookmarks.clear();
        m_shownFields.clear();
        endResetModel();
        return;
    }
    if (m_table->state() == Table::State::Browse && (m_stale || m_shownFields.isEmpty()))
        reload();
}

void TableModel::onCurrentChanged() { emit currentRowChanged(currentRow()); }
