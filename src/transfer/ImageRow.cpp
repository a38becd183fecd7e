#include "transfer/ImageRow.h"

ImageRow::ImageRow(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto &[field, value] : values)
        m_values.insert(field, value);
}

QVariant ImageRow::value(const QString &field) const
{
    const auto exact = m_values.constFind(field);
    if (exact != m_values.constEnd())
        return exact.value();
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it) {
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QVariant();
}

bool ImageRow::has(const QString &field) const
{
    return value(field).isValid();
}

bool ImageRow::isEmpty(const QString &field) const
{
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return true;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray)
        return v.toString().isEmpty();
    return false;
}

QString ImageRow::text(const QString &field) const
{
    if (isEmpty(field))
        return QString();
    return value(field).toString();
}
