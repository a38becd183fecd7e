#pragma once

#include "store/engine/TableDef.h"

// Small building blocks shared by the template definitions: numbered field
// series, zero-filled numbers and the empty rows of fixed-size tables.
namespace Templates {

// n left-padded with "0" to `width` characters.
inline QString zeroFill(int n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// The field names prefix + 0 .. prefix + (count - 1), each number padded to
// `digits` characters (digits 0 means no padding: Z0, Z1 ... Z31).
inline QStringList numberedNames(const QString &prefix, int count, int digits = 0)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << prefix + (digits > 0 ? zeroFill(i, digits) : QString::number(i));
    return names;
}

inline QList<FieldDef> boolFields(const QStringList &names)
{
    QList<FieldDef> fields;
    for (const QString &name : names)
        fields << boolField(name);
    return fields;
}

inline QList<FieldDef> textFields(const QStringList &names, int width)
{
    QList<FieldDef> fields;
    for (const QString &name : names)
        fields << textField(name, width);
    return fields;
}

inline IndexDef secondaryIndex(const QString &name, const QStringList &fields)
{
    return IndexDef{name, fields, false};
}

// A row of `def` whose named fields hold the given values and every other
// field is NULL.
inline QVariantList rowOf(const TableDef &def, const QList<QPair<QString, QVariant>> &values)
{
    QVariantList row(def.fields.size());
    for (const auto &[name, value] : values) {
        const int at = def.fieldIndex(name);
        Q_ASSERT(at >= 0);
        if (at >= 0)
            row[at] = value;
    }
    return row;
}

// One row per key value 0 .. count - 1 (as a number, or as text zero-filled
// to `digits` when digits > 0) in `keyField`; every other field NULL.
inline void addNumberedRows(TableDef &def, const QString &keyField, int count, int digits = 0)
{
    for (int i = 0; i < count; ++i) {
        const QVariant key = digits > 0 ? QVariant(zeroFill(i, digits)) : QVariant(i);
        def.rows << rowOf(def, {{keyField, key}});
    }
}

} // namespace Templates
