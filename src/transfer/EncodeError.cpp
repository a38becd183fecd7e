#include "transfer/EncodeError.h"

EncodeError::EncodeError(RecordKind kind, int recordIndex, const QString &item, const QString &field,
                         const QString &value, Problem problem, const QString &detail)
    : std::runtime_error(compose(kind, recordIndex, item, field, value, detail).toStdString()),
      m_kind(kind), m_recordIndex(recordIndex), m_item(item), m_field(field), m_value(value),
      m_problem(problem), m_detail(detail),
      m_text(compose(kind, recordIndex, item, field, value, detail))
{
}

QString EncodeError::compose(RecordKind kind, int recordIndex, const QString &item,
                             const QString &field, const QString &value, const QString &detail)
{
    QString where = RecordKinds::name(kind);
    if (recordIndex >= 0)
        where += QStringLiteral(" record %1").arg(recordIndex);
    if (!item.isEmpty())
        where += QStringLiteral(" (%1)").arg(item);
    QString text = where;
    if (!field.isEmpty())
        text += QStringLiteral(", field %1 \"%2\"").arg(field, value);
    return text + QStringLiteral(": ") + detail;
}
