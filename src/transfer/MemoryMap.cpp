#include "transfer/MemoryMap.h"

#include "common/BigEndian.h"

#include <stdexcept>

namespace MemoryMap {

const QList<Region> &configurationRegions()
{
    static const QList<Region> regions = {
        {RecordKind::LiftCode, 0, 3, 10},
        {RecordKind::LiftLicence, 30, 21, 15},
        {RecordKind::DaylightSaving, 345, 8, 1},
        {RecordKind::Profile, 353, 22, 64},
        {RecordKind::HolidayDays, 1761, 10, 4},
        {RecordKind::HolidayPeriods, 1801, 4, 3},
        {RecordKind::Timetable, 1813, 9, 32},
        {RecordKind::AccessPoint, 2101, 39, 32},
        {RecordKind::Zone, 3349, 28, 32},
        {RecordKind::Area, 4245, 20, 32},
        {RecordKind::Sensor, 4885, 22, 10},
        {RecordKind::Message, 5105, 16, 18},
        {RecordKind::Phone, 5393, 48, 4},
        {RecordKind::RelayGroup, 5585, 19, 10},
        {RecordKind::Scheduler, 5775, 25, 32},
        {RecordKind::IncidenceSettings, 6576, 24, 1},
        {RecordKind::DecoderBus, 6607, 8, 1},
    };
    return regions;
}

const Region &region(RecordKind kind)
{
    for (const Region &r : configurationRegions()) {
        if (r.kind == kind)
            return r;
    }
    throw std::out_of_range("no configuration region for this record kind");
}

quint16 recordAddress(RecordKind kind, int index)
{
    const Region &r = region(kind);
    if (index < 0 || index >= r.count)
        throw std::out_of_range("record index outside the region");
    return r.address(index);
}

QList<MemoryWrite> recordWrites(RecordKind kind, int index, const QByteArray &record)
{
    const Region &r = region(kind);
    const quint16 address = recordAddress(kind, index);
    if (record.size() != r.size)
        throw std::invalid_argument("record length differs from the kind's record size");

    // Pieces of at most 32 bytes, cut where the unit expects them.
    QList<int> cuts;
    switch (kind) {
    case RecordKind::AccessPoint:
        cuts = {0, 29};
        break;
    case RecordKind::Phone:
        cuts = {0, 16, 32};
        break;
    default:
        cuts = {0};
        break;
    }
    QList<MemoryWrite> writes;
    for (qsizetype i = 0; i < cuts.size(); ++i) {
        const int from = cuts[i];
        const int to = i + 1 < cuts.size() ? cuts[i + 1] : r.size;
        writes.append(MemoryWrite{kConfigPage, quint16(address + from), record.mid(from, to - from), index});
    }
    return writes;
}

const QList<RecordKind> &fullConfigurationOrder()
{
    static const QList<RecordKind> order = {
        RecordKind::Profile,    RecordKind::Area,        RecordKind::Timetable,
        RecordKind::LiftLicence, RecordKind::LiftCode,   RecordKind::AccessPoint,
        RecordKind::Zone,       RecordKind::Phone,       RecordKind::Message,
        RecordKind::Sensor,     RecordKind::RelayGroup,  RecordKind::Scheduler,
        RecordKind::HolidayDays, RecordKind::HolidayPeriods,
    };
    return order;
}

SlotAddress userSlotWriteAddress(int slot)
{
    if (slot < 0 || slot >= kUserSlots)
        throw std::out_of_range("user slot outside 0..1023");
    if (slot <= kLastLowPageSlot)
        return {kUserPageLow, quint16(slot * kUserSlotSize)};
    return {kUserPageHigh, quint16((slot - (kLastLowPageSlot + 1)) * kUserSlotSize)};
}

quint16 userSlotReadAddress(int slot)
{
    if (slot < 0 || slot >= kUserSlots)
        throw std::out_of_range("user slot outside 0..1023");
    return quint16(slot * kUserSlotSize);
}

MemoryWrite userSlotWrite(int slot, const QByteArray &record)
{
    if (record.size() != kUserSlotSize)
        throw std::invalid_argument("a user record is 32 bytes");
    const SlotAddress at = userSlotWriteAddress(slot);
    return MemoryWrite{at.page, at.address, record, slot};
}

QList<int> userListSlots(int userCount)
{
    if (userCount < 0 || userCount > kMaxUsers)
        throw std::out_of_range("a central unit holds at most 1020 users");
    QList<int> list;
    list.reserve(userCount);
    for (int i = 0; i < userCount; ++i)
        list.append(kFirstUserSlot + i);
    return list;
}

QByteArray codesSlotRecord(const QByteArray &codes)
{
    if (codes.size() != kSystemCodes * kSystemCodeLength)
        throw std::invalid_argument("the system codes are 20 bytes");
    QByteArray record(kUserSlotSize, '\0');
    record.replace(0, codes.size(), codes);
    return record;
}

QList<QByteArray> systemCodes(const QByteArray &codesSlot)
{
    QList<QByteArray> codes;
    for (int i = 0; i < kSystemCodes; ++i)
        codes.append(codesSlot.mid(i * kSystemCodeLength, kSystemCodeLength));
    return codes;
}

bool systemCodePresent(const QByteArray &code)
{
    if (code.isEmpty())
        return false;
    const quint8 first = quint8(code.at(0));
    return first != 0x00 && first != 0xFF;
}

QByteArray displaySlotRecord(const QByteArray &line1, const QByteArray &line2)
{
    const auto line = [](const QByteArray &text) { return text.left(16).leftJustified(16, ' '); };
    return line(line1) + line(line2);
}

std::optional<UserCounts> decodeUserCounts(const QByteArray &answerData)
{
    if (answerData.size() < 4)
        return std::nullopt;
    UserCounts counts;
    counts.users = BigEndian::get16(answerData, 0);
    counts.occupiedSlots = BigEndian::get16(answerData, 2);
    return counts;
}

std::optional<FoundUser> decodeFoundUser(const QByteArray &answerData)
{
    if (answerData.size() < 3)
        return std::nullopt;
    FoundUser found;
    found.zone = quint8(answerData.at(0));
    found.slot = BigEndian::get16(answerData, 1);
    return found;
}

} // namespace MemoryMap
