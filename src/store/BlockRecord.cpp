#include "store/BlockRecord.h"

#include "common/FactoryCodes.h"

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

QString BlockRecord::factoryReadCode() { return QString::fromLatin1(FactoryCodes::kRead); }
QString BlockRecord::factoryReadWriteCode() { return QString::fromLatin1(FactoryCodes::kReadWrite); }
QString BlockRecord::factoryProgrammingCode() { return QString::fromLatin1(FactoryCodes::kProgramming); }
QString BlockRecord::factoryRegisteringCode() { return QString::fromLatin1(FactoryCodes::kRegistering); }
