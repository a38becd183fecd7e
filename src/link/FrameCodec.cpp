#include "link/FrameCodec.h"

namespace FrameCodec {

uint8_t checksum(uint8_t destination, uint8_t source, const QByteArray &data)
{
    uint8_t sum = destination ^ source;
    for (char c : data) {
        const auto b = static_cast<uint8_t>(c);
        if (b != DLE)
            sum ^= b;
    }
    return sum;
}

QByteArray encode(uint8_t destination, uint8_t source, const QByteArray &payload, bool secondEtx)
{
    QByteArray frame;
    frame.reserve(payload.size() * 2 + 9);
    frame.append(char(DLE));
    frame.append(char(STX));
    frame.append(char(destination));
    frame.append(char(source));
    uint8_t sum = destination ^ source;
    for (char c : payload) {
        const auto b = static_cast<uint8_t>(c);
        frame.append(c);
        if (b == DLE)
            frame.append(c);
        else
            sum ^= b;
    }
    frame.append(char(sum));
    if (sum == DLE)
        frame.append(char(sum));
    frame.append(char(DLE));
    frame.append(char(ETX));
    if (secondEtx)
        frame.append(char(ETX));
    return frame;
}

QByteArray encodeTest(uint8_t destination, uint8_t source, const QByteArray &payload)
{
    return encode(destination, source, payload, false);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}

bool parseHex(const QString &text, QByteArray *bytes)
{
    QString digits;
    for (QChar c : text) {
        if (c.isSpace() || c == QLatin1Char(',') || c == QLatin1Char(':'))
            continue;
        if (!isxdigit(c.toLatin1()))
            return false;
        digits.append(c);
    }
    if (digits.size() % 2 != 0)
        return false;
    *bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

} // namespace FrameCodec
