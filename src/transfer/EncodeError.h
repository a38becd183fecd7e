#pragma once

#include "transfer/RecordKind.h"

#include <QString>

#include <stdexcept>

// A row that cannot be put into its record as it stands: a number that does
// not fit its byte, a time with a letter in it, a character the central unit
// cannot show. The encoder refuses the row rather than send a wrapped or
// guessed value; the error names the record and the field so the operator can
// correct the item.
class EncodeError : public std::runtime_error {
public:
    enum class Problem {
        NotANumber,      // a numeric field holding other text
        OutOfRange,      // a number that does not fit its byte(s)
        NotHex,          // a hex-pair field with a character other than 0-9, A-F
        BadLength,       // a fixed-width field of the wrong length
        BadCharacter,    // a text character with no single-byte code
        BadValue,        // a value outside the field's set (a zone direction "Q")
        TooManyRecords,  // more rows than the memory has room for
    };

    EncodeError(RecordKind kind, int recordIndex, const QString &item, const QString &field,
                const QString &value, Problem problem, const QString &detail);

    RecordKind kind() const { return m_kind; }
    int recordIndex() const { return m_recordIndex; }  // -1 when not known
    QString item() const { return m_item; }            // "NR 03", "user 00012", ...
    QString field() const { return m_field; }            // image field name, "HOUR_A_START"
    QString value() const { return m_value; }           // the offending value as text
    Problem problem() const { return m_problem; }
    QString detail() const { return m_detail; }          // "above 255", "not four digits"
    // "timetable record 3 (NR 03), field HOUR_A_START "2G30": not four decimal digits"
    QString text() const { return m_text; }

private:
    static QString compose(RecordKind kind, int recordIndex, const QString &item,
                           const QString &field, const QString &value, const QString &detail);

    RecordKind m_kind;
    int m_recordIndex;
    QString m_item;
    QString m_field;
    QString m_value;
    Problem m_problem;
    QString m_detail;
    QString m_text;
};
