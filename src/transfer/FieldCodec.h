#pragma once

#include "transfer/EncodeError.h"
#include "transfer/ImageRow.h"
#include "transfer/RecordKind.h"

#include <QByteArray>
#include <QString>

// The byte encodings shared by all central-unit records, applied to one field
// of one image row. Every refusal throws EncodeError naming the record and the
// field. Used by the record encoders; public so that the control-panel blocks
// can build their records the same way.
class FieldCodec {
public:
    FieldCodec(RecordKind kind, const ImageRow &row, int recordIndex = -1);

    const ImageRow &row() const { return m_row; }

    // Text cut to `width` and padded with spaces; one byte a character
    // (codes 0-255). `upper` converts to upper case first.
    QByteArray text(const QString &field, int width, bool upper = false) const;

    // The field read as a decimal integer in 0..maxValue; `emptyValue` when
    // empty. Refuses other text and numbers out of range.
    int number(const QString &field, int emptyValue, int maxValue) const;

    // Decimal byte: number() limited to 0..255, 255 when empty unless stated.
    quint8 decimalByte(const QString &field, int emptyValue = 255) const;

    // Four decimal digits (a time hhmm or a day) as two BCD bytes; empty gives
    // 0xFF 0xFF.
    QByteArray digitPairs(const QString &field) const;

    // Exactly `chars` hexadecimal characters as chars/2 bytes; empty gives
    // 0xFF bytes. `padLeft` first left-fills a shorter value with "0".
    QByteArray hexPairs(const QString &field, int chars, bool padLeft = false, bool upper = false) const;

    // Padded hex pair: left-filled with "0" to four characters, two bytes;
    // empty gives 0x0F 0xFF.
    QByteArray paddedHexPair(const QString &field) const;

    // A flag: true/false, 1/0, "T"/"F", "True"/"False"; empty is false.
    bool flag(const QString &field) const;

    // Set marker: 0x3C when the flag is true, else 0.
    quint8 setMarker(const QString &field) const { return flag(field) ? 0x3C : 0x00; }

    // Weekday mask from the flags MO, TU, WE, TH, FR, SA, SU: Monday 0x02 ...
    // Sunday 0x80.
    quint8 weekdayMask() const;

    [[noreturn]] void refuse(const QString &field, const QString &value, EncodeError::Problem problem,
                             const QString &detail) const;

    // What names the item in an error: its NR when the row has one, else
    // the user number or name for users.
    QString itemLabel() const;

private:
    RecordKind m_kind;
    const ImageRow &m_row;
    int m_recordIndex;
};

// One byte a character, for the texts of the central unit (codes 0-255);
// false when a character has no such code.
bool toSingleBytes(const QString &text, QByteArray &out);
