#include "transfer/UserRecord.h"

#include "common/BigEndian.h"
#include "common/HexPair.h"
#include "common/TextPad.h"
#include "transfer/FieldCodec.h"

namespace UserRecord {

namespace {

constexpr int kNameWidth = 16;

QString trimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString bytesAsText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

std::optional<quint8> toCuCharacter(QChar c)
{
    switch (c.unicode()) {
    case 0x00C5: return quint8(7);    // Å
    case 0x00C6: return quint8(5);    // Æ
    case 0x00C7: return quint8(236);  // Ç
    case 0x00D1: return quint8(238);  // Ñ
    case 0x00D8: return quint8(6);    // Ø
    default:
        break;
    }
    if (c.unicode() > 0xFF)
        return std::nullopt;
    return quint8(c.unicode());
}

QChar fromCuCharacter(quint8 byte)
{
    switch (byte) {
    case 7: return QChar(0x00C5);
    case 5: return QChar(0x00C6);
    case 236: return QChar(0x00C7);
    case 238: return QChar(0x00D1);
    case 6: return QChar(0x00D8);
    default:
        return QChar(char16_t(byte));
    }
}

bool isEmptySlot(const QByteArray &record)
{
    if (record.isEmpty())
        return true;
    const quint8 first = quint8(record.at(0));
    return first == 0x00 || first == 0xFF;
}

QByteArray encode(const ImageRow &row, int recordIndex)
{
    const FieldCodec f(RecordKind::User, row, recordIndex);
    QByteArray r(kSize, '\0');

    // Name: upper case, then the CU character map.
    const QString nameField = QStringLiteral("NAME");
    const QString name = TextPad::right(row.text(nameField).toUpper(), kNameWidth);
    for (int i = 0; i < kNameWidth; ++i) {
        const auto b = toCuCharacter(name.at(i));
        if (!b)
            f.refuse(nameField, row.text(nameField), EncodeError::Problem::BadCharacter,
                     QStringLiteral("holds a character the central unit cannot show"));
        r[i] = char(*b);
    }
    if (name.startsWith(QLatin1String("[D")))
        r[0] = '\0';

    r.replace(16, 2, f.text(QStringLiteral("FLOOR"), 2, true));

    // Door: four hexadecimal digits, "0000" when there is none.
    const QString doorField = QStringLiteral("DOOR");
    if (row.isEmpty(doorField))
        r.replace(18, 2, QByteArray(2, '\0'));
    else
        r.replace(18, 2, f.hexPairs(doorField, 4, true, true));

    // Code: ten characters padded with spaces; a space in the seventh place
    // marks a keypad code, anything else a card number.
    const QString codeField = QStringLiteral("CODE");
    QString code = row.text(codeField).toUpper();
    if (code.isEmpty())
        code = QStringLiteral("FFFFFF");
    if (code.size() > 10)
        f.refuse(codeField, row.text(codeField), EncodeError::Problem::BadLength,
                 QStringLiteral("is longer than ten characters"));
    code = TextPad::right(code, 10);
    if (code.at(6) == QLatin1Char(' ')) {
        QByteArray keypad;
        if (!toSingleBytes(code.left(6), keypad))
            f.refuse(codeField, row.text(codeField), EncodeError::Problem::BadCharacter,
                     QStringLiteral("holds a character the central unit cannot take"));
        // The unit tells a card, a keypad code and no code apart by the first
        // byte; a keypad code must not look like either of the others.
        const quint8 first = quint8(keypad.at(0));
        if (first < 0x2A || first == 0x40)
            f.refuse(codeField, row.text(codeField), EncodeError::Problem::BadValue,
                     QStringLiteral("a keypad code cannot start with this character"));
        r.replace(20, 6, keypad);
    } else {
        const auto card = HexPair::toBytes(code);
        if (!card)
            f.refuse(codeField, row.text(codeField), EncodeError::Problem::NotHex,
                     QStringLiteral("a card number is ten hexadecimal digits"));
        r[20] = '\0';
        r.replace(21, 5, *card);
    }

    quint8 level = quint8(f.number(QStringLiteral("LEVEL"), 127, 127));
    if (f.flag(QStringLiteral("UNLOCK")))
        level |= 0x80;
    r[26] = char(level);

    const int lift = f.number(QStringLiteral("LIFT"), 15, 15);
    const int time = f.number(QStringLiteral("TIME"), 15, 15);
    r[27] = char(quint8((time << 4) | lift));

    r.replace(28, 2, f.hexPairs(QStringLiteral("SENSOR"), 4, false, true));
    BigEndian::put16(r, 30, quint16(f.number(QStringLiteral("USER"), 0xFFFF, 0xFFFE)));
    return r;
}

QList<MemoryMap::MemoryWrite> listWrites(const QList<ImageRow> &rows)
{
    if (rows.size() > MemoryMap::kMaxUsers)
        throw EncodeError(RecordKind::User, MemoryMap::kMaxUsers, QString(), QString(), QString(),
                          EncodeError::Problem::TooManyRecords,
                          QStringLiteral("%1 users for room of %2").arg(rows.size()).arg(MemoryMap::kMaxUsers));
    const QList<int> slotNumbers = MemoryMap::userListSlots(int(rows.size()));
    QList<MemoryMap::MemoryWrite> writes;
    writes.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        writes.append(MemoryMap::userSlotWrite(slotNumbers[i], encode(rows[i], int(i))));
    return writes;
}

std::optional<Fields> decode(const QByteArray &record)
{
    if (record.size() != kSize || isEmptySlot(record))
        return std::nullopt;
    Fields u;
    QString name;
    for (int i = 0; i < kNameWidth; ++i)
        name.append(fromCuCharacter(quint8(record.at(i))));
    u.name = trimRight(name);
    u.floor = trimRight(bytesAsText(record.mid(16, 2)));

    const QString door = HexPair::fromBytes(record.mid(18, 2));
    u.door = door == QLatin1String("0000") ? QString() : door;

    const quint8 codeByte = quint8(record.at(20));
    if (codeByte < 0x2A) {
        u.code = HexPair::fromBytes(record.mid(21, 5));
        u.codeKind = CodeKind::Card;
    } else if (codeByte != 0x40 && codeByte != 0xFF) {
        const QString keypad = bytesAsText(record.mid(20, 6));
        if (keypad != QLatin1String("FFFFFF")) {
            u.code = trimRight(keypad);
            u.codeKind = CodeKind::Keypad;
        }
    }

    const quint8 level = quint8(record.at(26));
    u.level = level & 0x7F;
    u.unlock = (level & 0x80) != 0;
    const quint8 liftTime = quint8(record.at(27));
    u.lift = liftTime & 0x0F;
    u.time = liftTime >> 4;

    if (BigEndian::get16(record, 28) != 0xFFFF)
        u.device = HexPair::fromBytes(record.mid(28, 2));
    const quint16 number = BigEndian::get16(record, 30);
    if (number != 0xFFFF)
        u.userNumber = number;
    return u;
}

ImageRow Fields::toImageRow() const
{
    const auto orNull = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); };
    ImageRow row;
    row.set(QStringLiteral("NAME"), orNull(name));
    row.set(QStringLiteral("FLOOR"), orNull(floor));
    row.set(QStringLiteral("DOOR"), orNull(door));
    row.set(QStringLiteral("CODE"), orNull(code));
    row.set(QStringLiteral("LEVEL"), hasLevel() ? QVariant(TextPad::left(QString::number(level), 3)) : QVariant());
    row.set(QStringLiteral("UNLOCK"), unlock);
    row.set(QStringLiteral("LIFT"), hasLift() ? QVariant(TextPad::left(QString::number(lift), 2)) : QVariant());
    row.set(QStringLiteral("TIME"), time != 15 ? QVariant(QString::number(time)) : QVariant());
    row.set(QStringLiteral("SENSOR"), orNull(device));
    row.set(QStringLiteral("USER"),
            userNumber >= 0 ? QVariant(TextPad::left(QString::number(userNumber), 5)) : QVariant());
    return row;
}

} // namespace UserRecord
