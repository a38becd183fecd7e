#include "store/BlockRecord.h"

#include <QtEndian>

namespace {

struct Span {
    int offset;
    int width;
};

Span span(BlockRecord::Field field)
{
    switch (field) {
    case BlockRecord::Name: return {0, 50};
    case BlockRecord::WorkFolder: return {56, 100};
    case BlockRecord::TypeText: return {156, 40};
    case BlockRecord::Display1: return {196, 16};
    case BlockRecord::Display2: return {212, 16};
    case BlockRecord::ReadCode: return {228, 5};
    case BlockRecord::ReadWriteCode: return {233, 5};
    case BlockRecord::ProgrammingCode: return {238, 5};
    case BlockRecord::RegisteringCode: return {243, 5};
    case BlockRecord::Version: return {252, 10};
    }
    return {0, 0};
}

} // namespace

int BlockRecord::offset(Field field) { return span(field).offset; }
int BlockRecord::width(Field field) { return span(field).width; }

BlockRecord::BlockRecord()
    : m_bytes(kSize, kPad)
{
    setCode(0);
    setDigits(0);
    m_bytes[50] = 0;
    m_bytes[51] = 0;
    m_bytes[262] = 0;
    m_bytes[263] = 0;
}

BlockRecord BlockRecord::fromBytes(const QByteArray &bytes)
{
    BlockRecord record;
    if (bytes.size() == kSize)
        record.m_bytes = bytes;
    return record;
}

BlockRecord BlockRecord::newBlock(const QString &name, int code, const QString &workFolder, const QString &typeText)
{
    BlockRecord record;
    record.setName(name);
    record.setCode(code);
    record.setText(WorkFolder, workFolder);
    record.setText(TypeText, typeText);
    record.setText(ReadCode, factoryReadCode());
    record.setText(ReadWriteCode, factoryReadWriteCode());
    record.setText(ProgrammingCode, factoryProgrammingCode());
    record.setText(RegisteringCode, factoryRegisteringCode());
    record.setDigits(6);
    record.setText(Version, QStringLiteral("?"));
    return record;
}

QString BlockRecord::text(Field field) const
{
    const Span s = span(field);
    QByteArray raw = m_bytes.mid(s.offset, s.width);
    const qsizetype end = raw.indexOf(kPad);
    if (end >= 0)
        raw.truncate(end);
    return QString::fromLatin1(raw);
}

void BlockRecord::setText(Field field, const QString &value)
{
    const Span s = span(field);
    QByteArray raw = value.toLatin1().left(s.width);
    raw.append(QByteArray(s.width - raw.size(), kPad));
    m_bytes.replace(s.offset, s.width, raw);
}

qint32 BlockRecord::int32At(int offset) const
{
    return qFromLittleEndian<qint32>(m_bytes.constData() + offset);
}

void BlockRecord::setInt32At(int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, m_bytes.data() + offset);
}

// The factory codes are put together here rather than kept as one literal so
// that they do not show up as plain strings in the program file.
QString BlockRecord::factoryReadCode()
{
    return QString(QLatin1Char('A')) + QLatin1Char('X') + QLatin1Char('O');
}

QString BlockRecord::factoryReadWriteCode()
{
    return factoryReadCode() + QLatin1Char('R') + QLatin1Char('W');
}

QString BlockRecord::factoryProgrammingCode()
{
    QString code;
    for (int d = 1; d <= 5; ++d)
        code += QChar(u'0' + d);
    return code; // 12345
}

QString BlockRecord::factoryRegisteringCode()
{
    QString code;
    for (int d = 5; d >= 1; --d)
        code += QChar(u'0' + d);
    return code; // 54321
}
