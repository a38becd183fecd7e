#pragma once

#include "transfer/ImageRow.h"
#include "transfer/MemoryMap.h"
#include "transfer/RecordKind.h"

#include <QByteArray>
#include <QList>

// Pure functions from one image row to the bytes of its central-unit record.
// Every record starts as zeros; each field goes to its offset by its encoding.
// A row holding a value that does not fit (a number above its byte, a time
// with a letter, a character without a single-byte code) is refused with an
// EncodeError naming the record and field; nothing is wrapped or guessed.
// `recordIndex` (the record's place in its table, from 0) only labels errors.
namespace RecordEncoders {

QByteArray liftCode(const ImageRow &row, int recordIndex = -1);        // 3 bytes, _AXOCOD
QByteArray liftLicence(const ImageRow &row, int recordIndex = -1);     // 21 bytes, _AXOLIC
QByteArray profile(const ImageRow &row, int recordIndex = -1);         // 22 bytes, _AXOPRO
QByteArray holidayDays(const ImageRow &row, int recordIndex = -1);     // 10 bytes, _AXOHL1
QByteArray holidayPeriod(const ImageRow &row, int recordIndex = -1);   // 4 bytes, _AXOHL2
QByteArray timetable(const ImageRow &row, int recordIndex = -1);       // 9 bytes, _AXOTIM
QByteArray accessPoint(const ImageRow &row, int recordIndex = -1);     // 39 bytes, _AXOACC
QByteArray zone(const ImageRow &row, int recordIndex = -1);            // 28 bytes, _AXOZON
QByteArray area(const ImageRow &row, int recordIndex = -1);            // 20 bytes, _AXOARE
QByteArray sensor(const ImageRow &row, int recordIndex = -1);          // 22 bytes, _AXOSEN
QByteArray message(const ImageRow &row, int recordIndex = -1);         // 16 bytes, _Msgs (MESSAGE)
QByteArray phone(const ImageRow &row, int recordIndex = -1);           // 48 bytes, _Phones (PHONE1..3)
QByteArray relayGroup(const ImageRow &row, int recordIndex = -1);      // 19 bytes, _AXOREL
QByteArray scheduler(const ImageRow &row, int recordIndex = -1);       // 25 bytes, _AXOSCH

// The encoder of a kind. Also encodes RecordKind::User (UserRecord::encode).
// Throws std::invalid_argument for the control-panel blocks, which have no
// image table.
QByteArray encode(RecordKind kind, const ImageRow &row, int recordIndex = -1);

// All writes of one configuration kind, rows in slot order (row i is record
// i), each record cut into its pieces (MemoryMap::recordWrites). Holiday days
// and periods keep only the first 4 rows (20 days) and 3 rows; any other
// kind with more rows than its room is refused (EncodeError TooManyRecords)
// rather than spill into the next region. Throws EncodeError for a bad row.
QList<MemoryMap::MemoryWrite> configurationWrites(RecordKind kind, const QList<ImageRow> &rows);

// Holiday days packed five to a record: days[0..4] become DATE1..DATE5 of the
// first row, and so on; only the first 20 days are kept, and the 4 rows are
// always returned (missing days empty).
QList<ImageRow> holidayDayRows(const QStringList &days);

// The two data bytes of the set-lift-times request ('S', parameter 13) from
// the row of `_Lift_Time`: `T_VISITOR` minutes × 60 (120 s when empty) and
// `T_USER` seconds (20 when empty). A visitors' time above 4 minutes or a
// residents' time above 255 s is refused.
QByteArray liftTimes(const ImageRow &liftTimeRow);

} // namespace RecordEncoders
