#pragma once

#include "transfer/RecordKind.h"

#include <QByteArray>
#include <QList>

#include <optional>

// Where a central unit keeps what: the configuration memory (page 1) with one
// region per kind of record, and the user memory (pages 2 and 3) of 1024
// slots of 32 bytes. Addresses here are write addresses; a read of the
// configuration memory adds 0x4000.
namespace MemoryMap {

// --- memory pages and read spaces -------------------------------------------
constexpr quint8 kConfigPage = 1;      // configuration memory, addresses 0..6614
constexpr quint8 kUserPageLow = 2;     // user slots 0..511
constexpr quint8 kUserPageHigh = 3;    // user slots 512..1023
constexpr quint8 kConfigReadSpace = 0;
constexpr quint8 kUserReadSpace = 1;
constexpr quint16 kConfigReadOffset = 0x4000;
constexpr int kConfigMemorySize = 6615;
constexpr int kMaxWriteBytes = 32;     // no single write carries more

// --- configuration regions --------------------------------------------------
struct Region {
    RecordKind kind;
    quint16 base;   // write address of record 0
    int size;       // bytes a record
    int count;      // records the region has room for
    quint16 address(int index) const { return quint16(base + size * index); }
    int end() const { return base + size * count; }  // first address after the region
};

// Every configuration region in address order (lift codes at 0 ... decoder
// bus settings at 6607). The user kind has no region.
const QList<Region> &configurationRegions();

// The region of a kind; throws std::out_of_range for RecordKind::User.
const Region &region(RecordKind kind);

// Write address of record `index` of a kind; throws std::out_of_range when
// the index is outside 0..count-1.
quint16 recordAddress(RecordKind kind, int index);

// The address a configuration write address is read back from (space 0).
constexpr quint16 readAddress(quint16 writeAddress) { return quint16(kConfigReadOffset + writeAddress); }

// One memory write: the page it belongs to, the address and 1..32 bytes.
struct MemoryWrite {
    quint8 page = kConfigPage;
    quint16 address = 0;
    QByteArray bytes;
    int recordIndex = -1;  // the record (or user slot) it belongs to
    bool operator==(const MemoryWrite &o) const
    {
        return page == o.page && address == o.address && bytes == o.bytes && recordIndex == o.recordIndex;
    }
};

// The writes that put one assembled record of a kind at its place: access
// points in two pieces (bytes 0-28 at the record address, bytes 29-38 at
// address + 29), phone records in three 16-byte pieces, every other record in
// one write. Throws std::invalid_argument when the record has not the kind's
// length, std::out_of_range for a bad index.
QList<MemoryWrite> recordWrites(RecordKind kind, int index, const QByteArray &record);

// The kinds of a full configuration send in the order they are written:
// profiles, areas, timetables, lift licences, lift codes, access points,
// zones, phones, messages, sensors, relay groups, scheduler, holiday days,
// holiday periods. Page 1 is opened once before them (the profiles open it)
// and the holiday periods close it; a user list goes before them all.
const QList<RecordKind> &fullConfigurationOrder();

// --- lift times -------------------------------------------------------------
constexpr quint8 kSetLiftTimesRequest = 'S';
constexpr quint8 kSetLiftTimesParameter = 13;

// --- user memory --------------------------------------------------------------
constexpr int kUserSlotSize = 32;
constexpr int kUserSlots = 1024;
constexpr int kCodesSlot = 0;         // the four 5-byte system codes
constexpr int kDisplaySlot = 1023;    // the two 16-character display lines
constexpr int kFirstUserSlot = 1;
constexpr int kLastUserSlot = 1020;
constexpr int kMaxUsers = 1020;       // users the program puts into one unit
constexpr int kUnitCapacity = 1022;   // the unit's own capacity, as quoted to the operator
constexpr int kLastLowPageSlot = 511;
constexpr int kSystemCodes = 4;
constexpr int kSystemCodeLength = 5;

struct SlotAddress {
    quint8 page;
    quint16 address;
    bool operator==(const SlotAddress &o) const { return page == o.page && address == o.address; }
};

// Page and write address of user slot n (0..1023): page 2 at n × 32 up to
// slot 511, page 3 at (n − 512) × 32 from slot 512. Throws std::out_of_range.
SlotAddress userSlotWriteAddress(int slot);

// Read address (space 1) of user slot n: n × 32, always 32 bytes.
quint16 userSlotReadAddress(int slot);

// The write of a 32-byte user record into slot n. Throws std::invalid_argument
// when the record is not 32 bytes, std::out_of_range for a bad slot.
MemoryWrite userSlotWrite(int slot, const QByteArray &record);

// `MEM_POS_RELATIVA` of a user in slot n is n − 1, and back.
constexpr int memPosFromSlot(int slot) { return slot - 1; }
constexpr int slotFromMemPos(int memPos) { return memPos + 1; }

// Marks, in memory only, a missing memory position or a full unit.
constexpr int kNoMemoryPosition = 8888;

// A full user-list send: the user list goes to slots 1, 2, ... in list order.
// The slots of a list of `userCount` users; throws std::out_of_range when the
// list holds more than 1020 users. The writes of page 2 come first (up to
// slot 511), then those of page 3.
QList<int> userListSlots(int userCount);

// The header slots rewritten after the erase of a full user-list send.
// Slot 0: the four 5-byte codes stored at connection in bytes 0-19, bytes
// 20-31 zero. Throws std::invalid_argument when codes is not 20 bytes.
QByteArray codesSlotRecord(const QByteArray &codes);
// The four codes of a slot-0 record (or of its first 20 bytes).
QList<QByteArray> systemCodes(const QByteArray &codesSlot);
// A code counts as present when its first byte is neither 0 nor 255.
bool systemCodePresent(const QByteArray &code);
// Slot 1023: the two display lines, each cut or padded with spaces to 16.
QByteArray displaySlotRecord(const QByteArray &line1, const QByteArray &line2);

// --- counts and holes ---------------------------------------------------------
struct UserCounts {
    int users = 0;           // users in the unit
    int occupiedSlots = 0;   // users and holes
    int holes() const { return occupiedSlots > users ? occupiedSlots - users : 0; }
    // An on-line insert is refused from 1020 occupied slots on.
    bool full() const { return occupiedSlots >= kMaxUsers; }
};

// The data of the answer 0x1A to the user-count request 0x19: bytes 0-1 the
// users, bytes 2-3 the occupied slots, high byte first; nullopt when fewer
// than four bytes came.
std::optional<UserCounts> decodeUserCounts(const QByteArray &answerData);

struct FoundUser {
    quint8 zone = 0;   // the zone the user is in; 0x20 and above: no zone
    int slot = 0;
    bool inZone() const { return zone < 0x20; }
};

// The data of the answer 'Z' to the find-user request 'Y': byte 0 the zone,
// bytes 1-2 the slot; nullopt when fewer than three bytes came.
std::optional<FoundUser> decodeFoundUser(const QByteArray &answerData);

} // namespace MemoryMap
