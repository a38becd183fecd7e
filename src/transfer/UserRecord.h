#pragma once

#include "transfer/ImageRow.h"
#include "transfer/MemoryMap.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The 32-byte user record of the central unit's user memory, from a row of
// `_AXOUSR` (fields NAME, FLOOR, DOOR, CODE, LEVEL, UNLOCK, LIFT, TIME,
// SENSOR, USER) and back.
//
//  0-15  NAME    16 characters, upper case, through the CU character map;
//                a name starting "[D" has byte 0 = 0x00
// 16-17  FLOOR   2 characters
// 18-19  DOOR    four hexadecimal digits (left-filled with "0"; empty "0000")
// 20-25  CODE    keypad code: six characters; no code: "FFFFFF";
//                card: 0x00 then ten hexadecimal digits as five bytes
// 26     LEVEL   bits 0-6 profile (127 none), bit 7 UNLOCK (may activate trades)
// 27     LIFT    low nibble lift group (15 none), high nibble TIME (15 none)
// 28-29  SENSOR  four hexadecimal digits ("A012" sensor, "B012" relay,
//                "0304" apartment); empty 0xFF 0xFF
// 30-31  USER    user number, high byte first; empty 0xFF 0xFF
namespace UserRecord {

constexpr int kSize = 32;

// Assembles the record. Refuses (EncodeError, kind User) a name character
// without a single-byte code, a door or device that is not hexadecimal, a
// card that is not ten hexadecimal digits, a code longer than ten
// characters, a keypad code whose first character would read back as a card
// or as no code, a profile above 127, a lift group or time above 15, and a
// user number above 65534 (65535 reads back as none).
QByteArray encode(const ImageRow &row, int recordIndex = -1);

// The writes of a full user list: row i goes to slot i + 1 (its
// `MEM_POS_RELATIVA` is i), page 2 up to slot 511, then page 3 up to slot
// 1020; each write's recordIndex is its slot. Refuses (EncodeError
// TooManyRecords) a list of more than 1020 users, and any bad row with the
// row's index in the list.
QList<MemoryMap::MemoryWrite> listWrites(const QList<ImageRow> &rows);

// The CU character map for user names: Å → 7, Æ → 5, Ç → 236, Ñ → 238,
// Ø → 6; any other character with a code up to 255 keeps it. nullopt for a
// character above 255.
std::optional<quint8> toCuCharacter(QChar c);
QChar fromCuCharacter(quint8 byte);

// A slot whose byte 0 is 0x00 or 0xFF holds no user.
bool isEmptySlot(const QByteArray &record);

enum class CodeKind { None, Keypad, Card };

struct Fields {
    QString name;        // trailing spaces removed
    QString floor;       // trailing spaces removed
    QString door;        // four hexadecimal digits; empty for "0000"
    QString code;        // six characters (trailing spaces removed) or ten hex digits; empty for none
    CodeKind codeKind = CodeKind::None;
    int level = 127;     // 127: no profile
    bool unlock = false; // may activate trades
    int lift = 15;       // 15: none
    int time = 15;       // 15: none
    QString device;      // four upper-case hexadecimal digits; empty for none
    int userNumber = -1; // -1: none

    bool hasLevel() const { return level != 127; }
    bool hasLift() const { return lift != 15; }

    // The same user as a `_AXOUSR` row (NAME, FLOOR, DOOR, CODE, LEVEL pad 3,
    // UNLOCK, LIFT pad 2, TIME, SENSOR, USER pad 5; empty values null), ready
    // to encode again.
    ImageRow toImageRow() const;
    bool operator==(const Fields &o) const = default;
};

// The reverse of encode(). nullopt when the record is not 32 bytes or the
// slot is empty (isEmptySlot).
std::optional<Fields> decode(const QByteArray &record);

} // namespace UserRecord
