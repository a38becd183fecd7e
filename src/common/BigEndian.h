#pragma once

#include <QByteArray>

// Multi-byte numbers on the central-unit line travel high byte first.
namespace BigEndian {

inline void put16(QByteArray &bytes, qsizetype offset, quint16 value)
{
    bytes[offset] = char(value >> 8);
    bytes[offset + 1] = char(value & 0xFF);
}

inline QByteArray bytes16(quint16 value)
{
    QByteArray out(2, '\0');
    put16(out, 0, value);
    return out;
}

inline quint16 get16(const QByteArray &bytes, qsizetype offset)
{
    return quint16((quint8(bytes.at(offset)) << 8) | quint8(bytes.at(offset + 1)));
}

} // namespace BigEndian
