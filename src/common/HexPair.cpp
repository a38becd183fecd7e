#include "common/HexPair.h"

namespace HexPair {

std::optional<quint8> nibble(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return quint8(u - u'0');
    if (u >= u'A' && u <= u'F')
        return quint8(u - u'A' + 10);
    if (u >= u'a' && u <= u'f')
        return quint8(u - u'a' + 10);
    return std::nullopt;
}

std::optional<quint8> toByte(QChar high, QChar low)
{
    const auto h = nibble(high);
    const auto l = nibble(low);
    if (!h || !l)
        return std::nullopt;
    return quint8((*h << 4) | *l);
}

std::optional<QByteArray> toBytes(const QString &text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const auto b = toByte(text.at(i), text.at(i + 1));
        if (!b)
            return std::nullopt;
        out.append(char(*b));
    }
    return out;
}

QString fromBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

bool isHex(const QString &text)
{
    for (QChar c : text) {
        if (!nibble(c))
            return false;
    }
    return true;
}

} // namespace HexPair
