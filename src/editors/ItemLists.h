#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// What the installation window's item list shows for each kind of tree node:
// the columns, the rows read from the block's table, the value formatting,
// the row icons, the number shown beside "Objects : " and how a cell is
// drawn. Plain rules over rows of values; readList() reads the tables.
namespace ItemLists {

// The list kinds of tree nodes, by vocabulary key.
enum Kind : int {
    NoList = 0,
    KindACC = 1,
    KindAPA = 2,
    KindSEN = 4,
    KindGUA = 5,
    KindIND = 6,
    KindSCH = 7,
    KindIVD = 8,
    KindZON = 9,
    KindUSR = 10,
    KindPRO = 11,
    KindARE = 12,
    KindPER = 13,
    KindTIM = 14,
    KindLIF = 15,
    KindLIC = 16,
    KindLTM = 18,
};

// Every kind that has a list, in kind order.
const QList<int> &allKinds();
// The vocabulary key of a kind ("ACC"); empty for NoList.
QString keyOfKind(int kind);
// The kind of a vocabulary key; NoList for a key without a list.
int kindOfKey(const QString &key);
// The kind of a displayed caption: compared without regard to case with the
// words of the vocabulary (key → word).
int kindOfCaption(const QString &caption, const QHash<QString, QString> &words);
// The block table the list reads (suffix after N + "_" + B).
QString tableSuffix(int kind);

// One row of a table: field name in upper case → value (null for an empty text).
using Row = QHash<QString, QVariant>;

struct Column {
    QString caption;
    int width = 0;
};

// Row icons: none, a user with or without a place in the central unit's
// memory, an ordinary profile, or one of the four system profiles.
enum class RowIcon { None, UserInMemory, UserNotInMemory, Profile, Profile120, Profile125, Profile126, Profile127 };

struct ListRow {
    QStringList cells;
    RowIcon icon = RowIcon::None;
};

struct ItemList {
    int kind = NoList;
    QList<Column> columns;
    QList<ListRow> rows;
    int count = 0;       // the number shown as "Objects : "
};

// What a list is built from: the rows of the kind's table in key order,
// the block's profiles (users list), its type (1..3) and whether the
// operator is of level 2.
struct Input {
    int kind = NoList;
    QList<Row> rows;
    QList<Row> profiles;
    int blockType = 1;
};

ItemList build(const Input &input);
// The users list a level 2 operator sees for one block.
ItemList buildLevel2Users(const QList<Row> &users, const QList<Row> &profiles, int blockType);

// Reads the tables of the list from folder + N_B + suffix and builds it.
// Throws EngineError when a table cannot be read.
ItemList readList(int kind, const QString &folder, const QString &installation, const QString &block, int blockType);
ItemList readLevel2Users(const QString &folder, const QString &installation, const QString &block, int blockType);
// Every row of a table file in its key order.
QList<Row> readRows(const QString &folder, const QString &fileName);

// --- value formatting ------------------------------------------------------
// "0830" → "08:30"; other lengths as they are.
QString timeText(const QString &value);
// "2512" → "25/12"; other lengths as they are.
QString dateText(const QString &value);
// "08:30--12:00" when start and end together are eight characters; else "".
QString intervalText(const QString &start, const QString &end);
// "Z0Z3Z17": the zones Z0..Z31 whose flag is true.
QString areaZonesText(const Row &area);
// System profile numbers 120, 125, 126, 127.
bool isSystemProfile(int number);

// How a cell is drawn.
enum class CellStyle { Plain, Red, RedItalic };
CellStyle cellStyle(const QString &text, int kind, bool level2);

// The text of a field: empty for null.
QString fieldText(const Row &row, const char *field);

} // namespace ItemLists
