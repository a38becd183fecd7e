#pragma once

#include "transfer/ImageRow.h"
#include "transfer/RecordKind.h"

#include <QByteArray>

// The reverse of the record encoders: the bytes of one configuration record
// (as read back from a central unit, or as a simulator holds them) turned
// into an image row with the image table's field names. Empty markers come
// back as null values (0xFF 0xFF times, 255 numbers, 0x0F 0xFF relays);
// numbers come back zero-filled as the compile writes them (`DOOR_TIME`
// "005", `A1` "03", `MAX` "00150"); relay numbers as three characters when
// their first digit is 0; texts without their trailing spaces. Encoding the
// decoded row gives the same bytes for every record the encoders produce.
namespace RecordDecoders {

// Throws std::invalid_argument when the record has not the kind's length or
// the kind has no image-row layout (control-panel blocks, lift times). For
// RecordKind::User see UserRecord::decode.
ImageRow decode(RecordKind kind, const QByteArray &record);

} // namespace RecordDecoders
