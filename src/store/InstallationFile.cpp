#include "store/InstallationFile.h"

#include "store/AtomicFile.h"
#include "store/StoreError.h"
#include "store/StoreTexts.h"

#include <QFile>
#include <QFileInfo>

InstallationFile::InstallationFile(const QString &folder, const QString &installation)
    : m_folder(folder), m_installation(installation), m_path(pathOf(folder, installation))
{
}

QString InstallationFile::pathOf(const QString &folder, const QString &installation)
{
    QString f = folder;
    if (!f.isEmpty() && !f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f + installation + QStringLiteral(".axo");
}

bool InstallationFile::exists() const { return QFileInfo(m_path).isFile(); }

QByteArray InstallationFile::readRaw() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(StoreTexts::text("STORE_AXO_UNREADABLE", QStringLiteral("Cannot read the installation file"))
                         + QLatin1Char(' ') + m_path + QStringLiteral(": ") + file.errorString());
    const QByteArray data = file.readAll();
    if (data.size() % BlockRecord::kSize != 0)
        throw StoreError(StoreTexts::text("STORE_AXO_DAMAGED",
                                          QStringLiteral("The installation file is damaged (its size is not a whole "
                                                         "number of block records):"))
                         + QLatin1Char(' ') + m_path);
    return data;
}

QList<BlockRecord> InstallationFile::readBlocks() const
{
    const QByteArray data = readRaw();
    QList<BlockRecord> records;
    records.reserve(data.size() / BlockRecord::kSize);
    for (qsizetype at = 0; at < data.size(); at += BlockRecord::kSize)
        records.append(BlockRecord::fromBytes(data.mid(at, BlockRecord::kSize)));
    return records;
}

QString InstallationFile::countBlocks() const
{
    try {
        return QString::number(readRaw().size() / BlockRecord::kSize);
    } catch (const StoreError &) {
        return QStringLiteral("0");
    }
}

bool InstallationFile::blockExists(const QString &block) const
{
    for (const BlockRecord &record : readBlocks())
        if (record.name().compare(block, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<BlockRecord> InstallationFile::blockRecord(const QString &block) const
{
    for (const BlockRecord &record : readBlocks())
        if (record.name() == block)
            return record;
    return std::nullopt;
}

std::optional<qint32> InstallationFile::blockCode(const QString &block) const
{
    if (const auto record = blockRecord(block))
        return record->code();
    return std::nullopt;
}

int InstallationFile::blockType(const QString &block) const
{
    for (const BlockRecord &record : readBlocks())
        if (record.name().compare(block, Qt::CaseInsensitive) == 0)
            return StoreTexts::blockTypeOf(record.text(BlockRecord::TypeText));
    return 0;
}

std::optional<BlockRecord> InstallationFile::findBlockRecord(const QString &name, qint32 code) const
{
    for (const BlockRecord &record : readBlocks())
        if (record.name().left(16) == name && record.code() == code)
            return record;
    return std::nullopt;
}

void InstallationFile::create() const { AtomicFile::write(m_path, QByteArray()); }

void InstallationFile::append(const BlockRecord &record) const { append(QList<BlockRecord>{record}); }

void InstallationFile::append(const QList<BlockRecord> &records) const
{
    QByteArray data = readRaw();
    for (const BlockRecord &record : records)
        data += record.bytes();
    AtomicFile::write(m_path, data);
}

int InstallationFile::saveBlockValues(const BlockRecord &current, const BlockRecord &rebuilt) const
{
    QList<BlockRecord> records = readBlocks();
    int replaced = 0;
    for (BlockRecord &record : records) {
        if (record.nameField() == current.nameField() && record.code() == current.code()) {
            record = rebuilt;
            ++replaced;
        }
    }
    if (replaced > 0)
        writeBlocks(records);
    return replaced;
}

int InstallationFile::removeBlock(const QString &block) const
{
    QList<BlockRecord> records = readBlocks();
    const qsizetype removed = records.removeIf([&](const BlockRecord &r) { return r.name() == block; });
    if (removed > 0)
        writeBlocks(records);
    return int(removed);
}

void InstallationFile::writeBlocks(const QList<BlockRecord> &records) const
{
    QByteArray data;
    data.reserve(records.size() * BlockRecord::kSize);
    for (const BlockRecord &record : records)
        data += record.bytes();
    AtomicFile::write(m_path, data);
}
