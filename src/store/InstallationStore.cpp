#include "store/InstallationStore.h"

#include "platform/Paths.h"
#include "store/AtomicFile.h"
#include "store/InstallationFile.h"
#include "store/SafeName.h"
#include "store/SharedTables.h"
#include "store/StoreTexts.h"
#include "store/TableFamilies.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"
#include "store/engine/TableFamily.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace InstallationStore {

namespace {

QString existsMessage(const QString &name)
{
    return name + QStringLiteral(" exists. Change block name.");
}

QString codeMessage()
{
    return StoreTexts::text("STORE_CODE_RANGE", QStringLiteral("The central unit code must be a number from 0 to 63."));
}

// Writes the first row of a one-row installation table.
void setFirstRow(const QString &folder, const QString &tableFile, const std::function<void(Table &)> &change)
{
    Table table(folder, tableFile);
    table.open();
    table.first();
    if (table.eof())
        table.append();
    else
        table.edit();
    change(table);
    table.post();
}

QString readFileBytes(const QString &path, QByteArray *out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    *out = file.readAll();
    return QString();
}

} // namespace

QString installationNameOf(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    if (fileName.size() >= 5 && fileName.at(fileName.size() - 4) == QLatin1Char('.'))
        return fileName.left(fileName.size() - 4);
    return fileName;
}

StoreOutcome createInstallation(const QString &folder, const QString &installation, Connection connection,
                                const QString &phone, const QString &port)
{
    if (const QString problem = SafeName::checkInstallationName(installation); !problem.isEmpty())
        return StoreOutcome::refused(problem);
    const QString work = Paths::withSlash(folder);
    if (!QDir().mkpath(work))
        throw StoreError(StoreTexts::text("STORE_FOLDER", QStringLiteral("Cannot create the folder")) + QLatin1Char(' ') + work);

    // Tables first: a missing template is reported before the installation
    // file exists, so no half-made installation can be opened.
    TableFamilies::createInstallationTables(work, installation, Paths::systemDir());
    if (!port.isEmpty())
        setFirstRow(work, installation + QStringLiteral("_Port.db"),
                    [&](Table &t) { t.setText(QStringLiteral("PUERTO"), port); });
    setFirstRow(work, installation + QStringLiteral("_connec.db"), [&](Table &t) {
        if (connection == Connection::Modem) {
            t.setText(QStringLiteral("TIPO_CONEXION"), QStringLiteral("MODEM"));
            t.setText(QStringLiteral("TELEFONO"), phone);
        } else {
            t.setText(QStringLiteral("TIPO_CONEXION"), QStringLiteral("LOCAL"));
            t.setNull(QStringLiteral("TELEFONO"));
        }
    });
    InstallationTree(installation).write(work, installation);
    InstallationFile(work, installation).create();
    return StoreOutcome::success();
}

StoreOutcome addBlock(const QString &folder, const QString &installation, const NewBlock &block,
                      const std::function<void(int)> &progress)
{
    if (const QString problem = SafeName::checkBlockName(block.name); !problem.isEmpty())
        return StoreOutcome::refused(problem);
    if (block.code < 0 || block.code > 63)
        return StoreOutcome::refused(codeMessage());
    const QString work = Paths::withSlash(folder);
    const InstallationFile axo(work, installation);
    if (axo.blockExists(block.name))
        return StoreOutcome::refused(existsMessage(block.name));
    const int type = block.type >= 1 && block.type <= 3 ? block.type : 1;
    const QString prefix = TableFamilies::blockPrefix(installation, block.name);
    const QString system = Paths::systemDir();

    InstallationTree tree = loadTree(work, installation);
    // The tables come first and the record last: until the record is in the
    // installation file the block does not exist, so a failure part way
    // leaves the installation as it was (the tables made are removed).
    try {
        TableFamilies::createBlockTables(
            work, prefix, system,
            [&](const TableFamilies::Family &f) {
                if (f.suffix == QLatin1String("_Profiles"))
                    SharedTables::refreshSystemProfileNames(work, prefix);
                else if (f.suffix == QLatin1String("_Zones"))
                    SharedTables::setDefaultZonePicture(work, prefix, system);
                else if (f.suffix == QLatin1String("_Items_Contiene"))
                    SharedTables::writeComponents(work, prefix, block.components);
            },
            progress);
        axo.append(BlockRecord::newBlock(block.name, block.code, work, StoreTexts::blockTypeText(type)));
    } catch (...) {
        try {
            TableFamilies::deleteBlockTables(work, prefix);
        } catch (...) {
        }
        throw;
    }
    tree.addBlock(block.name, block.components);
    tree.write(work, installation);
    return StoreOutcome::success();
}

namespace {
QString checkBlock(const QString &work, const QString &installation, const QString &block);
}

StoreOutcome deleteBlock(const QString &folder, const QString &installation, const QString &block)
{
    const QString work = Paths::withSlash(folder);
    if (const QString problem = checkBlock(work, installation, block); !problem.isEmpty())
        return StoreOutcome::refused(problem);
    const InstallationFile axo(work, installation);
    InstallationTree tree = loadTree(work, installation);
    axo.removeBlock(block);
    tree.removeBlock(block);
    tree.write(work, installation);
    TableFamilies::deleteBlockTables(work, TableFamilies::blockPrefix(installation, block));
    return StoreOutcome::success();
}

namespace {

// The block must be in the installation file (exact name) before its tables
// are touched.
QString checkBlock(const QString &work, const QString &installation, const QString &block)
{
    if (block.isEmpty() || block.contains(QLatin1Char('/')) || block.contains(QLatin1Char('\\')))
        return SafeName::checkBlockName(block);
    if (!InstallationFile(work, installation).blockRecord(block))
        return StoreTexts::text("STORE_BLOCK_NOT_FOUND", QStringLiteral("Block not found:")) + QLatin1Char(' ') + block;
    return QString();
}

QString componentWord(const Components::Component &c)
{
    return StoreTexts::text(c.word);
}

// What adding and removing a component both check first: the block exists
// and the item names a component. `refusal` is empty when both hold.
struct ComponentRequest {
    QString work;
    QString prefix;
    QString code;
    const Components::Component *component = nullptr;
    QString refusal;
};

ComponentRequest componentRequest(const QString &folder, const QString &installation, const QString &block,
                                  const QString &item)
{
    ComponentRequest request;
    request.work = Paths::withSlash(folder);
    request.refusal = checkBlock(request.work, installation, block);
    if (!request.refusal.isEmpty())
        return request;
    request.component = Components::byItem(item);
    if (!request.component) {
        request.refusal = StoreTexts::text("STORE_COMPONENT_UNKNOWN", QStringLiteral("Unknown component:"))
            + QLatin1Char(' ') + item;
        return request;
    }
    request.prefix = TableFamilies::blockPrefix(installation, block);
    request.code = QString::fromLatin1(request.component->item);
    return request;
}

} // namespace

StoreOutcome addComponent(const QString &folder, const QString &installation, const QString &block,
                          const QString &item)
{
    const ComponentRequest request = componentRequest(folder, installation, block, item);
    if (!request.refusal.isEmpty())
        return StoreOutcome::refused(request.refusal);
    const QString &work = request.work;
    const QString &prefix = request.prefix;
    const QString &code = request.code;
    if (SharedTables::hasComponent(work, prefix, code))
        return StoreOutcome::refused(StoreTexts::text("F_Princ_MENSA00"));
    InstallationTree tree = loadTree(work, installation);
    SharedTables::setComponent(work, prefix, code, true);
    tree.addComponent(block, code);
    tree.write(work, installation);
    return StoreOutcome::success();
}

StoreOutcome removeComponent(const QString &folder, const QString &installation, const QString &block,
                             const QString &item)
{
    const ComponentRequest request = componentRequest(folder, installation, block, item);
    if (!request.refusal.isEmpty())
        return StoreOutcome::refused(request.refusal);
    const QString &work = request.work;
    const QString &prefix = request.prefix;
    const QString &code = request.code;
    const Components::Component *component = request.component;
    if (!SharedTables::hasComponent(work, prefix, code))
        return StoreOutcome::refused(StoreTexts::text("F_Princ_MENSA03"));
    InstallationTree tree = loadTree(work, installation);
    if (!SharedTables::removeComponentTables(work, prefix, code, Paths::systemDir()))
        return StoreOutcome::refused(StoreTexts::text("F_Princ_MENSA03") + QLatin1Char('\r') + componentWord(*component));
    SharedTables::setComponent(work, prefix, code, false);
    tree.removeComponent(block, code);
    tree.write(work, installation);
    return StoreOutcome::success();
}

StoreOutcome copyInstallation(const QString &folder, const QString &installation, const QString &targetPath)
{
    const QString work = Paths::withSlash(folder);
    const QFileInfo target(targetPath);
    if (target.exists())
        return StoreOutcome::refused(StoreTexts::text("F_Princ_MENSA07"));
    const QString targetName = installationNameOf(targetPath);
    if (const QString problem = SafeName::checkInstallationName(targetName); !problem.isEmpty())
        return StoreOutcome::refused(problem);
    const QString targetFolder = Paths::withSlash(target.absolutePath());
    if (!QDir().mkpath(targetFolder))
        throw StoreError(StoreTexts::text("STORE_FOLDER", QStringLiteral("Cannot create the folder")) + QLatin1Char(' ')
                         + targetFolder);
    const InstallationFile source(work, installation);
    QByteArray axoBytes;
    if (const QString why = readFileBytes(source.path(), &axoBytes); !why.isEmpty())
        throw StoreError(StoreTexts::text("STORE_AXO_UNREADABLE", QStringLiteral("Cannot read the installation file"))
                         + QLatin1Char(' ') + source.path() + QStringLiteral(": ") + why);
    const QList<BlockRecord> blocks = source.readBlocks();

    // Only the installation's own files are copied: its installation-wide
    // tables and the tables of its blocks (not files of another installation
    // whose name merely begins with N).
    QStringList stems;
    for (const TableFamilies::Family &f : TableFamilies::installationTables())
        stems << f.suffix;
    for (const BlockRecord &record : blocks)
        for (const TableFamilies::Family &f : TableFamilies::blockTables())
            if (!stems.contains(QLatin1Char('_') + record.name() + f.suffix))
                stems << QLatin1Char('_') + record.name() + f.suffix;
    for (const QString &rest : stems) {
        if (TableFamily::members(work, installation + rest).isEmpty())
            continue;
        try {
            TableFamily::copy(work, installation + rest, targetFolder, targetName + rest);
        } catch (const EngineError &e) {
            throw StoreError(e.text());
        }
    }
    InstallationTree tree = loadTree(work, installation);
    tree.write(targetFolder, targetName);
    // The installation file last: the copy is an installation only once it is whole.
    AtomicFile::write(InstallationFile::pathOf(targetFolder, targetName), axoBytes);
    return StoreOutcome::success();
}

StoreOutcome loadBlocks(const QString &folder, const QString &installation, const QString &sourcePath,
                        const QList<LoadChoice> &choices, QStringList *loaded)
{
    const QString work = Paths::withSlash(folder);
    const QFileInfo sourceInfo(sourcePath);
    const QString sourceFolder = Paths::withSlash(sourceInfo.absolutePath());
    const QString sourceName = installationNameOf(sourcePath);
    const InstallationFile source(sourceFolder, sourceName);
    const InstallationFile target(work, installation);
    const QList<BlockRecord> sourceBlocks = source.readBlocks();

    // Every new name is checked before anything is written.
    QStringList newNames;
    for (const LoadChoice &choice : choices) {
        if (const QString problem = SafeName::checkBlockName(choice.newName); !problem.isEmpty())
            return StoreOutcome::refused(problem);
        if (choice.newCode < 0 || choice.newCode > 63)
            return StoreOutcome::refused(codeMessage());
        if (target.blockExists(choice.newName))
            return StoreOutcome::refused(existsMessage(choice.newName));
        for (const QString &other : newNames)
            if (other.compare(choice.newName, Qt::CaseInsensitive) == 0)
                return StoreOutcome::refused(existsMessage(choice.newName));
        newNames << choice.newName;
    }

    InstallationTree tree = loadTree(work, installation);
    // Whatever happens part way, the tree files end up listing the blocks
    // loaded so far.
    try {
        for (const LoadChoice &choice : choices) {
            const BlockRecord *found = nullptr;
            for (const BlockRecord &record : sourceBlocks)
                if (record.name() == choice.sourceName) {
                    found = &record;
                    break;
                }
            if (!found) {
                tree.write(work, installation);
                return StoreOutcome::refused(StoreTexts::text("STORE_BLOCK_NOT_FOUND", QStringLiteral("Block not found:"))
                                             + QLatin1Char(' ') + choice.sourceName);
            }
            const QString toPrefix = TableFamilies::blockPrefix(installation, choice.newName);
            TableFamilies::copyBlockTables(sourceFolder, TableFamilies::blockPrefix(sourceName, choice.sourceName),
                                           work, toPrefix);
            BlockRecord record = *found;
            record.setName(choice.newName);
            record.setCode(choice.newCode);
            try {
                target.append(record);
            } catch (...) {
                try {
                    TableFamilies::deleteBlockTables(work, toPrefix);
                } catch (...) {
                }
                throw;
            }
            tree.addBlock(choice.newName, SharedTables::readComponents(work, toPrefix));
            if (loaded)
                *loaded << choice.newName;
        }
    } catch (...) {
        try {
            tree.write(work, installation);
        } catch (...) {
        }
        throw;
    }
    tree.write(work, installation);
    return StoreOutcome::success();
}

QList<BlockSummaryRow> blockSummary(const QString &folder, const QString &installation)
{
    const QString work = Paths::withSlash(folder);
    QList<BlockSummaryRow> rows;
    for (const BlockRecord &record : InstallationFile(work, installation).readBlocks()) {
        BlockSummaryRow row;
        row.code = record.code();
        row.name = record.name();
        row.typeText = record.text(BlockRecord::TypeText);
        row.type = StoreTexts::blockTypeOf(row.typeText);
        row.components = SharedTables::readComponents(work, TableFamilies::blockPrefix(installation, row.name));
        rows << row;
    }
    return rows;
}

StoreOutcome saveBlockValues(const QString &folder, const QString &installation, const BlockRecord &current,
                             const BlockRecord &rebuilt)
{
    // The block's tables are named after it, so its name is not changed here.
    if (rebuilt.name() != current.name())
        return StoreOutcome::refused(StoreTexts::text("STORE_BLOCK_RENAME",
                                                      QStringLiteral("The block name cannot be changed.")));
    if (rebuilt.code() < 0 || rebuilt.code() > 63)
        return StoreOutcome::refused(codeMessage());
    InstallationFile(Paths::withSlash(folder), installation).saveBlockValues(current, rebuilt);
    return StoreOutcome::success();
}

InstallationTree loadTree(const QString &folder, const QString &installation)
{
    const QString work = Paths::withSlash(folder);
    const QList<BlockRecord> records = InstallationFile(work, installation).readBlocks();
    const auto flagsOf = [&](const QString &block) {
        try {
            return SharedTables::readComponents(work, TableFamilies::blockPrefix(installation, block));
        } catch (const EngineError &) {
            return Components::Flags{};
        }
    };
    InstallationTree tree(installation);
    try {
        tree = InstallationTree::read(work, installation);
    } catch (const StoreError &) {
    }
    // The installation file is the list of blocks: the tree is made to agree
    // with it (a block missing from the tree gets its node, a node of no block
    // goes), so an interrupted operation cannot leave them apart.
    QSet<QString> names;
    for (const BlockRecord &record : records) {
        names.insert(record.name());
        if (!tree.block(record.name()))
            tree.addBlock(record.name(), flagsOf(record.name()));
    }
    tree.root().children.removeIf([&](const TreeNode &n) { return !names.contains(n.caption); });
    return tree;
}

void refreshAllSystemProfiles(const QString &folder, const QString &installation)
{
    const QString work = Paths::withSlash(folder);
    for (const BlockRecord &record : InstallationFile(work, installation).readBlocks())
        SharedTables::refreshSystemProfileNames(work, TableFamilies::blockPrefix(installation, record.name()));
}

} // namespace InstallationStore
