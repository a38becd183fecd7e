#include "transfer/FieldCodec.h"

#include "common/HexPair.h"
#include "common/TextPad.h"

#include <QRegularExpression>

namespace {

const QStringList kWeekdayFields = {QStringLiteral("MO"), QStringLiteral("TU"), QStringLiteral("WE"),
                                    QStringLiteral("TH"), QStringLiteral("FR"), QStringLiteral("SA"),
                                    QStringLiteral("SU")};

} // namespace

bool toSingleBytes(const QString &text, QByteArray &out)
{
    out.clear();
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
        out.append(char(c.unicode()));
    }
    return true;
}

FieldCodec::FieldCodec(RecordKind kind, const ImageRow &row, int recordIndex)
    : m_kind(kind), m_row(row), m_recordIndex(recordIndex)
{
}

QString FieldCodec::itemLabel() const
{
    if (!m_row.isEmpty(QStringLiteral("NR")))
        return QStringLiteral("NR ") + m_row.text(QStringLiteral("NR"));
    if (m_kind == RecordKind::User) {
        if (!m_row.isEmpty(QStringLiteral("USER")))
            return QStringLiteral("user ") + m_row.text(QStringLiteral("USER"));
        if (!m_row.isEmpty(QStringLiteral("NAME")))
            return m_row.text(QStringLiteral("NAME")).trimmed();
    }
    return QString();
}

void FieldCodec::refuse(const QString &field, const QString &value, EncodeError::Problem problem,
                        const QString &detail) const
{
    throw EncodeError(m_kind, m_recordIndex, itemLabel(), field, value, problem, detail);
}

QByteArray FieldCodec::text(const QString &field, int width, bool upper) const
{
    QString value = m_row.text(field);
    if (upper)
        value = value.toUpper();
    QByteArray bytes;
    if (!toSingleBytes(TextPad::right(value, width), bytes))
        refuse(field, value, EncodeError::Problem::BadCharacter,
               QStringLiteral("holds a character the central unit cannot show"));
    return bytes;
}

int FieldCodec::number(const QString &field, int emptyValue, int maxValue) const
{
    if (m_row.isEmpty(field))
        return emptyValue;
    const QVariant v = m_row.value(field);
    qint64 n = 0;
    bool ok = false;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::SChar:
        n = v.toLongLong(&ok);
        break;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        ok = d == double(qint64(d)) && d > -1e15 && d < 1e15;
        n = qint64(d);
        break;
    }
    default: {
        static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,15}$"));
        const QString t = v.toString().trimmed();
        if (t.isEmpty())
            return emptyValue;
        if (digits.match(t).hasMatch())
            n = t.toLongLong(&ok);
        break;
    }
    }
    const QString shown = v.toString();
    if (!ok)
        refuse(field, shown, EncodeError::Problem::NotANumber, QStringLiteral("is not a whole number"));
    if (n < 0 || n > maxValue)
        refuse(field, shown, EncodeError::Problem::OutOfRange,
               QStringLiteral("must be between 0 and %1").arg(maxValue));
    return int(n);
}

quint8 FieldCodec::decimalByte(const QString &field, int emptyValue) const
{
    return quint8(number(field, emptyValue, 255));
}

QByteArray FieldCodec::digitPairs(const QString &field) const
{
    if (m_row.isEmpty(field))
        return QByteArray(2, char(0xFF));
    const QString value = m_row.text(field);
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (!fourDigits.match(value).hasMatch())
        refuse(field, value, EncodeError::Problem::BadLength, QStringLiteral("is not four decimal digits"));
    return *HexPair::toBytes(value);
}

QByteArray FieldCodec::hexPairs(const QString &field, int chars, bool padLeft, bool upper) const
{
    if (m_row.isEmpty(field))
        return QByteArray(chars / 2, char(0xFF));
    QString value = m_row.text(field);
    if (upper)
        value = value.toUpper();
    const QString shown = value;
    if (padLeft)
        value = TextPad::left(value, chars);
    if (value.size() != chars)
        refuse(field, shown, EncodeError::Problem::BadLength,
               QStringLiteral("is not %1 hexadecimal characters").arg(chars));
    const auto bytes = HexPair::toBytes(value);
    if (!bytes)
        refuse(field, shown, EncodeError::Problem::NotHex,
               QStringLiteral("holds a character other than 0-9 and A-F"));
    return *bytes;
}

QByteArray FieldCodec::paddedHexPair(const QString &field) const
{
    if (m_row.isEmpty(field))
        return QByteArray::fromRawData("\x0F\xFF", 2);
    return hexPairs(field, 4, true);
}

bool FieldCodec::flag(const QString &field) const
{
    if (m_row.isEmpty(field))
        return false;
    const QVariant v = m_row.value(field);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return v.toDouble() != 0;
    default:
        break;
    }
    const QString t = v.toString().trimmed().toUpper();
    if (t == QLatin1String("TRUE") || t == QLatin1String("T") || t == QLatin1String("1"))
        return true;
    if (t.isEmpty() || t == QLatin1String("FALSE") || t == QLatin1String("F") || t == QLatin1String("0"))
        return false;
    refuse(field, v.toString(), EncodeError::Problem::BadValue, QStringLiteral("is not true or false"));
}

quint8 FieldCodec::weekdayMask() const
{
    quint8 mask = 0;
    for (int d = 0; d < kWeekdayFields.size(); ++d) {
        if (flag(kWeekdayFields[d]))
            mask |= quint8(0x02 << d);
    }
    return mask;
}
