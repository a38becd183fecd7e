#include "transfer/RecordEncoders.h"

#include "common/BigEndian.h"
#include "transfer/FieldCodec.h"
#include "transfer/UserRecord.h"

#include <stdexcept>

namespace RecordEncoders {

namespace {

constexpr int kDescWidth = 16;

QString numbered(const char *stem, int n, int digits)
{
    return QString::fromLatin1(stem) + QString::number(n).rightJustified(digits, QLatin1Char('0'));
}

// Writes `bytes` into `record` at `offset`.
void put(QByteArray &record, int offset, const QByteArray &bytes)
{
    record.replace(offset, bytes.size(), bytes);
}

void put(QByteArray &record, int offset, quint8 byte)
{
    record[offset] = char(byte);
}

QByteArray staging(RecordKind kind)
{
    return QByteArray(MemoryMap::region(kind).size, '\0');
}

} // namespace

QByteArray liftCode(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::LiftCode, row, recordIndex);
    QByteArray r = staging(RecordKind::LiftCode);
    put(r, 0, f.text(QStringLiteral("FLOOR"), 2));
    put(r, 2, f.hexPairs(QStringLiteral("RELAY"), 2, true));
    return r;
}

QByteArray liftLicence(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::LiftLicence, row, recordIndex);
    QByteArray r = staging(RecordKind::LiftLicence);
    put(r, 0, f.text(QStringLiteral("DESC"), kDescWidth));
    for (int k = 1; k <= 5; ++k)
        put(r, 15 + k, f.hexPairs(numbered("REL", k, 1), 2, true));
    return r;
}

QByteArray profile(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Profile, row, recordIndex);
    QByteArray r = staging(RecordKind::Profile);
    put(r, 0, f.text(QStringLiteral("DESC"), kDescWidth));
    for (int k = 1; k <= 3; ++k) {
        put(r, 16 + 2 * (k - 1), f.decimalByte(numbered("A", k, 1)));
        put(r, 17 + 2 * (k - 1), f.decimalByte(numbered("T", k, 1)));
    }
    return r;
}

QByteArray holidayDays(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::HolidayDays, row, recordIndex);
    QByteArray r = staging(RecordKind::HolidayDays);
    for (int k = 1; k <= 5; ++k)
        put(r, 2 * (k - 1), f.digitPairs(numbered("DATE", k, 1)));
    return r;
}

QByteArray holidayPeriod(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::HolidayPeriods, row, recordIndex);
    QByteArray r = staging(RecordKind::HolidayPeriods);
    put(r, 0, f.digitPairs(QStringLiteral("START")));
    put(r, 2, f.digitPairs(QStringLiteral("END")));
    return r;
}

QByteArray timetable(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Timetable, row, recordIndex);
    QByteArray r = staging(RecordKind::Timetable);
    put(r, 0, f.weekdayMask());
    put(r, 1, f.digitPairs(QStringLiteral("HOUR_A_START")));
    put(r, 3, f.digitPairs(QStringLiteral("HOUR_A_END")));
    put(r, 5, f.digitPairs(QStringLiteral("HOUR_B_START")));
    put(r, 7, f.digitPairs(QStringLiteral("HOUR_B_END")));
    return r;
}

QByteArray accessPoint(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::AccessPoint, row, recordIndex);
    QByteArray r = staging(RecordKind::AccessPoint);
    put(r, 0, f.setMarker(QStringLiteral("ENABLED")));
    put(r, 1, f.text(QStringLiteral("DESC"), kDescWidth));
    put(r, 17, f.paddedHexPair(QStringLiteral("DOOR_RELAY")));
    put(r, 19, f.decimalByte(QStringLiteral("DOOR_TIME")));
    put(r, 20, quint8(f.flag(QStringLiteral("DOOR_INV")) ? 1 : 0));
    put(r, 21, f.setMarker(QStringLiteral("OUT_BUTTON")));
    put(r, 22, quint8(f.flag(QStringLiteral("OPEN_APART")) ? 1 : 0));
    put(r, 23, f.decimalByte(QStringLiteral("SUP_TIME")));
    put(r, 24, f.paddedHexPair(QStringLiteral("SUP_ALARM")));
    put(r, 26, f.digitPairs(QStringLiteral("TRADE_START")));
    put(r, 28, f.digitPairs(QStringLiteral("TRADE_END")));
    put(r, 30, f.digitPairs(QStringLiteral("PIN_START")));
    put(r, 32, f.digitPairs(QStringLiteral("PIN_END")));
    put(r, 34, f.setMarker(QStringLiteral("REL_ENABLE")));
    quint8 lift = 0;
    if (f.flag(QStringLiteral("LIFT_USER")))
        lift |= 0x01;
    if (f.flag(QStringLiteral("LIFT_VISIT")))
        lift |= 0x02;
    put(r, 35, lift);
    put(r, 36, f.paddedHexPair(QStringLiteral("LIFT_OFFSET")));
    put(r, 38, f.decimalByte(QStringLiteral("TIMETABLE")));
    return r;
}

QByteArray zone(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Zone, row, recordIndex);
    QByteArray r = staging(RecordKind::Zone);
    put(r, 0, f.text(QStringLiteral("DESC"), kDescWidth));
    for (int n = 0; n < 32; ++n) {
        const QString field = numbered("A", n, 2);
        const QString direction = row.text(field).trimmed().toUpper();
        bool entry = false;
        bool exit = false;
        if (direction == QLatin1String("I")) {
            entry = true;
        } else if (direction == QLatin1String("O")) {
            exit = true;
        } else if (direction == QLatin1String("D")) {
            entry = exit = true;
        } else if (!direction.isEmpty()) {
            f.refuse(field, row.text(field), EncodeError::Problem::BadValue,
                     QStringLiteral("is not a direction I, O or D"));
        }
        const quint8 bit = quint8(1u << (n % 8));
        if (entry)
            r[16 + n / 8] = char(quint8(r[16 + n / 8]) | bit);
        if (exit)
            r[20 + n / 8] = char(quint8(r[20 + n / 8]) | bit);
    }
    BigEndian::put16(r, 24, quint16(f.number(QStringLiteral("MAX"), 65535, 65535)));
    put(r, 26, f.paddedHexPair(QStringLiteral("R_MAX")));
    return r;
}

QByteArray area(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Area, row, recordIndex);
    QByteArray r = staging(RecordKind::Area);
    put(r, 0, f.text(QStringLiteral("DESC"), kDescWidth));
    for (int n = 0; n < 32; ++n) {
        if (f.flag(QStringLiteral("Z") + QString::number(n)))
            r[16 + n / 8] = char(quint8(r[16 + n / 8]) | quint8(1u << (n % 8)));
    }
    return r;
}

QByteArray sensor(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Sensor, row, recordIndex);
    QByteArray r = staging(RecordKind::Sensor);
    put(r, 0, f.decimalByte(QStringLiteral("TYPE")));
    put(r, 1, f.text(QStringLiteral("DESC"), kDescWidth));
    if (row.text(QStringLiteral("N1")).trimmed().compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
        put(r, 17, quint8(10));
    else
        put(r, 17, f.decimalByte(QStringLiteral("N1")));
    put(r, 18, f.paddedHexPair(QStringLiteral("N2")));
    put(r, 20, f.decimalByte(QStringLiteral("N3")));
    // Bit 7 of the last byte says the time is in minutes, so the time itself
    // has only seven bits.
    quint8 last = quint8(f.number(QStringLiteral("N4"), 0, 127));
    if (f.flag(QStringLiteral("UNIT")))
        last |= 0x80;
    put(r, 21, last);
    return r;
}

QByteArray message(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Message, row, recordIndex);
    return f.text(QStringLiteral("MESSAGE"), kDescWidth);
}

QByteArray phone(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Phone, row, recordIndex);
    QByteArray r = staging(RecordKind::Phone);
    for (int k = 1; k <= 3; ++k)
        put(r, 16 * (k - 1), f.text(numbered("PHONE", k, 1), kDescWidth));
    return r;
}

QByteArray relayGroup(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::RelayGroup, row, recordIndex);
    QByteArray r = staging(RecordKind::RelayGroup);
    put(r, 0, f.setMarker(QStringLiteral("VALID")));
    put(r, 1, f.text(QStringLiteral("DESC"), kDescWidth));
    put(r, 17, f.decimalByte(QStringLiteral("TIME")));
    put(r, 18, f.decimalByte(QStringLiteral("INIT")));
    return r;
}

QByteArray scheduler(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::Scheduler, row, recordIndex);
    QByteArray r = staging(RecordKind::Scheduler);
    put(r, 0, f.text(QStringLiteral("DESC"), kDescWidth));
    put(r, 16, f.digitPairs(QStringLiteral("START")));
    put(r, 18, f.digitPairs(QStringLiteral("END")));
    put(r, 20, f.weekdayMask());
    put(r, 21, f.hexPairs(QStringLiteral("DEVICE"), 4, false, true));
    // Inverted: 0 when the entry also runs on holidays.
    put(r, 23, quint8(f.flag(QStringLiteral("HOLIDAY")) ? 0x00 : 0x3C));
    put(r, 24, f.setMarker(QStringLiteral("SINCRO")));
    return r;
}

QByteArray encode(RecordKind kind, const ImageRow &row, int recordIndex)
{
    switch (kind) {
    case RecordKind::LiftCode: return liftCode(row, recordIndex);
    case RecordKind::LiftLicence: return liftLicence(row, recordIndex);
    case RecordKind::Profile: return profile(row, recordIndex);
    case RecordKind::HolidayDays: return holidayDays(row, recordIndex);
    case RecordKind::HolidayPeriods: return holidayPeriod(row, recordIndex);
    case RecordKind::Timetable: return timetable(row, recordIndex);
    case RecordKind::AccessPoint: return accessPoint(row, recordIndex);
    case RecordKind::Zone: return zone(row, recordIndex);
    case RecordKind::Area: return area(row, recordIndex);
    case RecordKind::Sensor: return sensor(row, recordIndex);
    case RecordKind::Message: return message(row, recordIndex);
    case RecordKind::Phone: return phone(row, recordIndex);
    case RecordKind::RelayGroup: return relayGroup(row, recordIndex);
    case RecordKind::Scheduler: return scheduler(row, recordIndex);
    case RecordKind::User: return UserRecord::encode(row, recordIndex);
    case RecordKind::DaylightSaving:
    case RecordKind::IncidenceSettings:
    case RecordKind::DecoderBus:
    case RecordKind::LiftTimes:
        break;
    }
    throw std::invalid_argument("this kind has no image-row encoder");
}

QList<MemoryMap::MemoryWrite> configurationWrites(RecordKind kind, const QList<ImageRow> &rows)
{
    const MemoryMap::Region &region = MemoryMap::region(kind);
    qsizetype count = rows.size();
    if (count > region.count) {
        // The holiday tables keep what fits: 20 days and 3 periods.
        if (kind == RecordKind::HolidayDays || kind == RecordKind::HolidayPeriods) {
            count = region.count;
        } else {
            throw EncodeError(kind, region.count, QString(), QString(), QString(),
                              EncodeError::Problem::TooManyRecords,
                              QStringLiteral("%1 rows for room of %2 records").arg(rows.size()).arg(region.count));
        }
    }
    QList<MemoryMap::MemoryWrite> writes;
    for (int i = 0; i < count; ++i)
        writes.append(MemoryMap::recordWrites(kind, i, encode(kind, rows[i], i)));
    return writes;
}

QList<ImageRow> holidayDayRows(const QStringList &days)
{
    const int rowsCount = MemoryMap::region(RecordKind::HolidayDays).count;
    QList<ImageRow> rows(rowsCount);
    for (int i = 0; i < rowsCount; ++i) {
        rows[i].set(QStringLiteral("NR"), i);
        for (int k = 0; k < 5; ++k) {
            const int day = i * 5 + k;
            rows[i].set(numbered("DATE", k + 1, 1), day < days.size() ? QVariant(days[day]) : QVariant());
        }
    }
    return rows;
}

QByteArray liftTimes(const ImageRow &liftTimeRow)
{
    const FieldCodec f(RecordKind::LiftTimes, liftTimeRow);
    // One byte of seconds: at most 4 minutes for visitors.
    const int visitorMinutes = f.number(QStringLiteral("T_VISITOR"), 2, 4);
    const int userSeconds = f.number(QStringLiteral("T_USER"), 20, 255);
    QByteArray out;
    out.append(char(visitorMinutes * 60));
    out.append(char(userSeconds));
    return out;
}

} // namespace RecordEncoders
