#include "store/NewInstallation.h"

#include "frame/Settings.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/SafeName.h"
#include "store/SharedTables.h"
#include "store/StoreTexts.h"
#include "store/TableFamilies.h"
#include "store/engine/EngineError.h"

#include <QFileInfo>
#include <QSet>

namespace NewInstallation {

PathCheck checkNewPath(const QString &path)
{
    const QFileInfo info(path);
    // The folder as shown (ending in '/') plus the file name: the whole path.
    const QString folder = Paths::withSlash(info.absolutePath());
    if (folder.size() + info.fileName().size() > kMaxPathLength)
        return PathCheck::TooLong;
    return checkClonePath(path);
}

PathCheck checkClonePath(const QString &path)
{
    return QFileInfo::exists(path) ? PathCheck::Exists : PathCheck::Ok;
}

QStringList portEntries(const Settings &settings)
{
    QStringList entries;
    for (int i = 0; i < Settings::kPortCount; ++i)
        if (settings.ports[size_t(i)].compare(QLatin1String("Include"), Qt::CaseInsensitive) == 0)
            entries << QStringLiteral("COM%1 %2").arg(i + 1).arg(settings.portsDesc[size_t(i)]);
    return entries;
}

QString portOfEntry(const QString &entry)
{
    QString port = entry.left(5);
    if (port.size() == 5 && port.at(4) == QLatin1Char(' '))
        port.chop(1);
    return port;
}

bool phoneCharAllowed(QChar c)
{
    return c.isDigit() || c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('\b')
           || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

QString codeText(int code)
{
    return QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0'));
}

QList<CloneBlock> readCloneBlocks(const QString &sourcePath)
{
    const QFileInfo info(sourcePath);
    const QString folder = Paths::withSlash(info.absolutePath());
    const QString name = InstallationStore::installationNameOf(sourcePath);
    QList<BlockRecord> records;
    try {
        records = InstallationFile(folder, name).readBlocks();
    } catch (const std::exception &) {
        return {};
    }
    QList<CloneBlock> blocks;
    for (const BlockRecord &record : records) {
        CloneBlock block;
        block.code = record.code();
        block.name = record.name();
        block.newName = block.name;
        block.typeText = record.text(BlockRecord::TypeText).left(40);
        try {
            block.components = SharedTables::readComponents(folder, TableFamilies::blockPrefix(name, block.name));
        } catch (const std::exception &) {
            // A block whose components table is missing lists none.
        }
        blocks << block;
    }
    return blocks;
}

QString checkCloneList(const QList<CloneBlock> &blocks)
{
    QSet<QString> names;
    QSet<int> codes;
    for (const CloneBlock &block : blocks) {
        if (const QString problem = SafeName::checkBlockName(block.newName); !problem.isEmpty())
            return problem;
        if (block.code < 0 || block.code > 63)
            return StoreTexts::text("STORE_CODE_RANGE", QStringLiteral("The central unit code must be a number from 0 to 63."));
        const QString key = block.newName.toUpper();
        if (names.contains(key))
            return block.newName + QStringLiteral(" exists. Change block name.");
        if (codes.contains(block.code))
            return StoreTexts::text("F_New_Inst2_MENSA08", QStringLiteral("This central unit code is used by another block:"))
                   + QLatin1Char(' ') + codeText(block.code);
        names.insert(key);
        codes.insert(block.code);
    }
    return QString();
}

StoreOutcome create(const Plan &plan)
{
    const QFileInfo info(plan.path);
    const QString folder = Paths::withSlash(info.absolutePath());
    const QString name = InstallationStore::installationNameOf(plan.path);
    // Chosen earlier, the file may have appeared since: never replace one.
    if (info.exists())
        return StoreOutcome::refused(StoreTexts::text("F_New_Inst2_MENSA00"));
    if (!plan.sourcePath.isEmpty())
        if (const QString problem = checkCloneList(plan.blocks); !problem.isEmpty())
            return StoreOutcome::refused(problem);
    StoreOutcome outcome = InstallationStore::createInstallation(
        folder, name, plan.connection, plan.connection == InstallationStore::Connection::Modem ? plan.phone : QString(),
        plan.port);
    if (!outcome || plan.sourcePath.isEmpty() || plan.blocks.isEmpty())
        return outcome;
    QList<InstallationStore::LoadChoice> choices;
    for (const CloneBlock &block : plan.blocks)
        choices << InstallationStore::LoadChoice{block.name, block.newName, block.code};
    return InstallationStore::loadBlocks(folder, name, plan.sourcePath, choices);
}

} // namespace NewInstallation
