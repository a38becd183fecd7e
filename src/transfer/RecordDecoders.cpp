#include "transfer/RecordDecoders.h"

#include "common/BigEndian.h"
#include "common/HexPair.h"
#include "common/TextPad.h"
#include "transfer/MemoryMap.h"

#include <stdexcept>

namespace RecordDecoders {

namespace {

class Reader {
public:
    explicit Reader(const QByteArray &record) : m_r(record) {}

    quint8 byte(int offset) const { return quint8(m_r.at(offset)); }

    QVariant text(int offset, int width) const
    {
        QString t = QString::fromLatin1(m_r.mid(offset, width));
        qsizetype end = t.size();
        while (end > 0 && t.at(end - 1) == QLatin1Char(' '))
            --end;
        t.truncate(end);
        return t.isEmpty() ? QVariant() : QVariant(t);
    }

    // A decimal byte; null for `emptyValue`, else zero-filled to `digits`.
    QVariant number(int offset, int digits, int emptyValue = 255) const
    {
        const int n = byte(offset);
        if (n == emptyValue)
            return QVariant();
        return TextPad::left(QString::number(n), digits);
    }

    // Two BCD bytes of a time or day; null for 0xFF 0xFF.
    QVariant digitPairs(int offset) const
    {
        if (BigEndian::get16(m_r, offset) == 0xFFFF)
            return QVariant();
        return HexPair::fromBytes(m_r.mid(offset, 2));
    }

    // A device of four hexadecimal digits; null for 0xFF 0xFF.
    QVariant device(int offset) const { return digitPairs(offset); }

    // A padded hex pair (relay numbers); null for 0x0F 0xFF; three
    // characters when the first digit is 0.
    QVariant relay(int offset) const
    {
        if (byte(offset) == 0x0F && byte(offset + 1) == 0xFF)
            return QVariant();
        const QString t = HexPair::fromBytes(m_r.mid(offset, 2));
        return t.startsWith(QLatin1Char('0')) ? t.mid(1) : t;
    }

    // One hex pair (lift floor relays); null for 0xFF.
    QVariant pair(int offset) const
    {
        if (byte(offset) == 0xFF)
            return QVariant();
        return HexPair::fromBytes(m_r.mid(offset, 1));
    }

    bool marker(int offset) const { return byte(offset) == 0x3C; }

    void weekdays(ImageRow &row, int offset) const
    {
        static const char *const days[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
        for (int d = 0; d < 7; ++d)
            row.set(QString::fromLatin1(days[d]), (byte(offset) & (0x02 << d)) != 0);
    }

    bool bit(int offset, int n) const { return (byte(offset + n / 8) & (1u << (n % 8))) != 0; }

private:
    const QByteArray &m_r;
};

QString numbered(const char *stem, int n, int digits)
{
    return QString::fromLatin1(stem) + TextPad::left(QString::number(n), digits);
}

} // namespace

ImageRow decode(RecordKind kind, const QByteArray &record)
{
    if (kind == RecordKind::User || kind == RecordKind::LiftTimes || kind == RecordKind::DaylightSaving
        || kind == RecordKind::IncidenceSettings || kind == RecordKind::DecoderBus)
        throw std::invalid_argument("this kind has no image-row layout");
    if (record.size() != MemoryMap::region(kind).size)
        throw std::invalid_argument("record length differs from the kind's record size");

    const Reader r(record);
    ImageRow row;
    switch (kind) {
    case RecordKind::LiftCode:
        row.set(QStringLiteral("FLOOR"), r.text(0, 2));
        row.set(QStringLiteral("RELAY"), r.pair(2));
        break;
    case RecordKind::LiftLicence:
        row.set(QStringLiteral("DESC"), r.text(0, 16));
        for (int k = 1; k <= 5; ++k)
            row.set(numbered("REL", k, 1), r.pair(15 + k));
        break;
    case RecordKind::Profile:
        row.set(QStringLiteral("DESC"), r.text(0, 16));
        for (int k = 1; k <= 3; ++k) {
            row.set(numbered("A", k, 1), r.number(16 + 2 * (k - 1), 2));
            row.set(numbered("T", k, 1), r.number(17 + 2 * (k - 1), 2));
        }
        break;
    case RecordKind::HolidayDays:
        for (int k = 1; k <= 5; ++k)
            row.set(numbered("DATE", k, 1), r.digitPairs(2 * (k - 1)));
        break;
    case RecordKind::HolidayPeriods:
        row.set(QStringLiteral("START"), r.digitPairs(0));
        row.set(QStringLiteral("END"), r.digitPairs(2));
        break;
    case RecordKind::Timetable:
        r.weekdays(row, 0);
        row.set(QStringLiteral("HOUR_A_START"), r.digitPairs(1));
        row.set(QStringLiteral("HOUR_A_END"), r.digitPairs(3));
        row.set(QStringLiteral("HOUR_B_START"), r.digitPairs(5));
        row.set(QStringLiteral("HOUR_B_END"), r.digitPairs(7));
        break;
    case RecordKind::AccessPoint:
        row.set(QStringLiteral("ENABLED"), r.marker(0));
        row.set(QStringLiteral("DESC"), r.text(1, 16));
        row.set(QStringLiteral("DOOR_RELAY"), r.relay(17));
        row.set(QStringLiteral("DOOR_TIME"), r.number(19, 3));
        row.set(QStringLiteral("DOOR_INV"), r.byte(20) != 0);
        row.set(QStringLiteral("OUT_BUTTON"), r.marker(21));
        row.set(QStringLiteral("OPEN_APART"), r.byte(22) != 0);
        row.set(QStringLiteral("SUP_TIME"), r.number(23, 3));
        row.set(QStringLiteral("SUP_ALARM"), r.relay(24));
        row.set(QStringLiteral("TRADE_START"), r.digitPairs(26));
        row.set(QStringLiteral("TRADE_END"), r.digitPairs(28));
        row.set(QStringLiteral("PIN_START"), r.digitPairs(30));
        row.set(QStringLiteral("PIN_END"), r.digitPairs(32));
        row.set(QStringLiteral("REL_ENABLE"), r.marker(34));
        row.set(QStringLiteral("LIFT_USER"), (r.byte(35) & 0x01) != 0);
        row.set(QStringLiteral("LIFT_VISIT"), (r.byte(35) & 0x02) != 0);
        row.set(QStringLiteral("LIFT_OFFSET"), r.relay(36));
        row.set(QStringLiteral("TIMETABLE"), r.number(38, 2));
        break;
    case RecordKind::Zone: {
        row.set(QStringLiteral("DESC"), r.text(0, 16));
        for (int n = 0; n < 32; ++n) {
            const bool in = r.bit(16, n);
            const bool out = r.bit(20, n);
            const char *direction = in && out ? "D" : in ? "I" : out ? "O" : nullptr;
            row.set(numbered("A", n, 2), direction ? QVariant(QString::fromLatin1(direction)) : QVariant());
        }
        const quint16 max = BigEndian::get16(record, 24);
        row.set(QStringLiteral("MAX"), max == 0xFFFF ? QVariant() : QVariant(TextPad::left(QString::number(max), 5)));
        row.set(QStringLiteral("R_MAX"), r.relay(26));
        break;
    }
    case RecordKind::Area:
        row.set(QStringLiteral("DESC"), r.text(0, 16));
        for (int n = 0; n < 32; ++n)
            row.set(QStringLiteral("Z") + QString::number(n), r.bit(16, n));
        break;
    case RecordKind::Sensor:
        row.set(QStringLiteral("TYPE"), r.number(0, 1));
        row.set(QStringLiteral("DESC"), r.text(1, 16));
        row.set(QStringLiteral("N1"), r.byte(17) == 10 ? QVariant(QStringLiteral("A")) : r.number(17, 1));
        row.set(QStringLiteral("N2"), r.relay(18));
        row.set(QStringLiteral("N3"), r.number(20, 2));
        row.set(QStringLiteral("N4"), TextPad::left(QString::number(r.byte(21) & 0x7F), 3));
        row.set(QStringLiteral("UNIT"), (r.byte(21) & 0x80) != 0);
        break;
    case RecordKind::Message:
        row.set(QStringLiteral("MESSAGE"), r.text(0, 16));
        break;
    case RecordKind::Phone:
        for (int k = 1; k <= 3; ++k)
            row.set(numbered("PHONE", k, 1), r.text(16 * (k - 1), 16));
        break;
    case RecordKind::RelayGroup:
        row.set(QStringLiteral("VALID"), r.marker(0));
        row.set(QStringLiteral("DESC"), r.text(1, 16));
        row.set(QStringLiteral("TIME"), r.number(17, 3));
        row.set(QStringLiteral("INIT"), r.number(18, 1));
        break;
    case RecordKind::Scheduler:
        row.set(QStringLiteral("DESC"), r.text(0, 16));
        row.set(QStringLiteral("START"), r.digitPairs(16));
        row.set(QStringLiteral("END"), r.digitPairs(18));
        r.weekdays(row, 20);
        row.set(QStringLiteral("DEVICE"), r.device(21));
        row.set(QStringLiteral("HOLIDAY"), r.byte(23) == 0x00);
        row.set(QStringLiteral("SINCRO"), r.marker(24));
        break;
    default:
        break;
    }
    return row;
}

} // namespace RecordDecoders
