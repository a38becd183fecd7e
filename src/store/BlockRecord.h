#pragma once

#include <QByteArray>
#include <QString>

// One block of an installation as the installation file keeps it: a record of
// 264 bytes. Texts are single-byte characters padded on the right with '@'
// (0x40) to their width; a text ends at its first '@' or at its width.
//
//   0   50  block name          156  40  central unit type text
//   50   2  unused              196  16  first display line
//   52   4  block code (LE)     212  16  second display line
//   56 100  work folder         228   5  read code
//                               233   5  read-and-write code
//                               238   5  programming code
//                               243   5  incidence registering code
//                               248   4  number of digits (LE)
//                               252  10  version text
//                               262   2  unused
class BlockRecord {
public:
    static constexpr int kSize = 264;
    static constexpr char kPad = 0x40;

    enum Field { Name, WorkFolder, TypeText, Display1, Display2, ReadCode, ReadWriteCode, ProgrammingCode, RegisteringCode, Version };
    static int offset(Field field);
    static int width(Field field);

    // A record of padding only, code 0, digits 0, unused bytes zero.
    BlockRecord();
    // Takes exactly kSize bytes; the unused bytes are kept as they are.
    static BlockRecord fromBytes(const QByteArray &bytes);
    // A new block's record: empty display lines, the central unit's factory
    // codes, 6 digits, version "?".
    static BlockRecord newBlock(const QString &name, int code, const QString &workFolder, const QString &typeText);

    const QByteArray &bytes() const { return m_bytes; }

    QString text(Field field) const;
    // Writes the text padded with '@'; a longer text is cut at the width.
    void setText(Field field, const QString &value);

    QString name() const { return text(Name); }
    void setName(const QString &value) { setText(Name, value); }
    qint32 code() const { return int32At(52); }
    void setCode(qint32 value) { setInt32At(52, value); }
    qint32 digits() const { return int32At(248); }
    void setDigits(qint32 value) { setInt32At(248, value); }

    // The first `width` bytes of the name field as stored (used to find the
    // records of one block when its values are saved).
    QByteArray nameField() const { return m_bytes.left(50); }

    bool operator==(const BlockRecord &other) const { return m_bytes == other.m_bytes; }

    // The factory access codes of a new central unit.
    static QString factoryReadCode();
    static QString factoryReadWriteCode();
    static QString factoryProgrammingCode();
    static QString factoryRegisteringCode();

private:
    qint32 int32At(int offset) const;
    void setInt32At(int offset, qint32 value);

    QByteArray m_bytes;
};
