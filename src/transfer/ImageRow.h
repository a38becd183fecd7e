#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <initializer_list>
#include <utility>

// One row of a CU image table (`_AXOTIM`, `_AXOUSR`, ...) as the encoders
// read it: the field values keyed by the image table's field names in upper
// case (`HOUR_A_START`, `LEVEL`). A QVariantMap read from a table converts
// implicitly. Values may be text, numbers or booleans; a null or invalid
// value and an empty text are empty.
class ImageRow {
public:
    ImageRow() = default;
    ImageRow(const QVariantMap &values) : m_values(values) {}  // NOLINT: implicit on purpose
    ImageRow(std::initializer_list<std::pair<QString, QVariant>> values);

    // The value of a field; the exact name is tried first, then the name
    // without regard to case. Invalid QVariant when the field is absent.
    QVariant value(const QString &field) const;
    bool has(const QString &field) const;

    // True for an absent, null or invalid value and for an empty text.
    bool isEmpty(const QString &field) const;

    // The value as text; empty for an empty value.
    QString text(const QString &field) const;

    void set(const QString &field, const QVariant &value) { m_values.insert(field, value); }
    const QVariantMap &values() const { return m_values; }
    bool operator==(const ImageRow &other) const { return m_values == other.m_values; }

private:
    QVariantMap m_values;
};
