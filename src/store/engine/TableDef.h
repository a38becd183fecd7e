#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The declared shape of one table: its fields, primary key, named secondary
// indexes and the rows a new table starts with. Only the template generator
// declares tables; the program creates table files by copying templates.

enum class FieldKind {
    Text,     // text of at most `width` characters; an empty text is stored as NULL
    Integer,
    Boolean,  // 0/1, may be NULL
    AutoInc,  // integer numbered by the engine on insert
};

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int width = 0;          // characters, for Text only
    bool required = false;  // NULL refused on post
};

struct IndexDef {
    QString name;           // I_NOMBRE, I_FECHA, ...
    QStringList fields;
    bool unique = false;
};

struct TableDef {
    QString fileName;       // M_Users.db; the family stem is the name without extension
    QList<FieldDef> fields;
    QStringList primaryKey; // may be empty (a table without a key)
    QList<IndexDef> indexes;
    QList<QVariantList> rows; // initial rows, values in field order (QVariant() for NULL)

    int fieldIndex(const QString &name) const;  // without regard to case, -1 when missing
};

// Convenience constructors for definitions.
inline FieldDef textField(const QString &name, int width, bool required = false)
{
    return FieldDef{name, FieldKind::Text, width, required};
}
inline FieldDef intField(const QString &name, bool required = false)
{
    return FieldDef{name, FieldKind::Integer, 0, required};
}
inline FieldDef boolField(const QString &name, bool required = false)
{
    return FieldDef{name, FieldKind::Boolean, 0, required};
}
inline FieldDef autoIncField(const QString &name)
{
    return FieldDef{name, FieldKind::AutoInc, 0, true};
}
