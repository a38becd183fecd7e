// veltrona-cli block add | delete | list | load: the blocks of an installation.
#include "cli/CliCommand.h"
#include "cli/StoreCli.h"

#include "store/InstallationStore.h"

namespace {

// The components a block type may have, and those ticked at start.
struct TypeComponents {
    QStringList allowed;
    QStringList byDefault;
};

TypeComponents componentsOfType(int type)
{
    switch (type) {
    case 2:
        return {{"ACC", "ACT", "LCT", "ALA", "GUD", "SCH"}, {"ACC", "ACT", "LCT"}};
    case 3:
        return {{"ACC", "APT", "GUD", "IND", "ALA", "SCH"}, {"ACC", "APT", "GUD", "IND"}};
    default:
        return {{"ACC", "APT", "ACT", "LCT", "SCH", "GUD", "IND", "ALA"}, {"ACC", "APT", "ACT", "LCT", "SCH", "GUD", "IND", "ALA"}};
    }
}

int blockAdd(Cli::Context &c)
{
    QStringList args = c.args;
    const QString codeText = Cli::takeOption(args, QStringLiteral("code"));
    const QString typeText = Cli::takeOption(args, QStringLiteral("type"));
    const QString none = QStringLiteral("\x01");
    const QString componentList = Cli::takeOption(args, QStringLiteral("components"), none);
    const auto usage = [&] {
        c.err << "usage: veltrona-cli block add INSTALLATION.axo NAME --code NN --type 1|2|3 "
                 "[--components ACC,APT,ACT,LCT,SCH,GUD,IND,ALA]\n";
        return int(Cli::BadInput);
    };
    if (args.size() != 2 || codeText.isEmpty() || typeText.isEmpty())
        return usage();
    InstallationStore::NewBlock block;
    block.name = args[1];
    if (!StoreCli::parseCode(codeText, &block.code)) {
        c.err << "veltrona-cli: the code is one or two digits, 0 to 63\n";
        return Cli::BadInput;
    }
    if (typeText != QLatin1String("1") && typeText != QLatin1String("2") && typeText != QLatin1String("3"))
        return usage();
    block.type = typeText.toInt();
    const TypeComponents offered = componentsOfType(block.type);
    const QStringList chosen = componentList == none ? offered.byDefault
                                                     : componentList.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &item : chosen) {
        const Components::Component *component = Components::byItem(item.trimmed());
        if (!component || !offered.allowed.contains(QLatin1String(component->item))) {
            c.err << "veltrona-cli: component " << item << " is not offered for block type " << block.type << "\n";
            return Cli::BadInput;
        }
        block.components[size_t(component->orden)] = true;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath inst = StoreCli::split(args[0]);
    return StoreCli::report(c, InstallationStore::addBlock(inst.folder, inst.name, block));
}

int blockDelete(Cli::Context &c)
{
    if (c.args.size() != 2) {
        c.err << "usage: veltrona-cli block delete INSTALLATION.axo NAME\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath inst = StoreCli::split(c.args[0]);
    return StoreCli::report(c, InstallationStore::deleteBlock(inst.folder, inst.name, c.args[1]));
}

int blockList(Cli::Context &c)
{
    if (c.args.size() != 1) {
        c.err << "usage: veltrona-cli block list INSTALLATION.axo\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath inst = StoreCli::split(c.args[0]);
    for (const InstallationStore::BlockSummaryRow &row : InstallationStore::blockSummary(inst.folder, inst.name)) {
        QString flags;
        for (const bool on : row.components)
            flags += on ? QLatin1Char('X') : QLatin1Char('-');
        c.out << QStringLiteral("%1").arg(row.code, 2, 10, QLatin1Char('0')) << '\t' << row.name << '\t' << row.type
              << '\t' << flags << '\n';
    }
    return Cli::Ok;
}

int blockLoad(Cli::Context &c)
{
    if (c.args.size() != 5) {
        c.err << "usage: veltrona-cli block load INSTALLATION.axo SOURCE.axo SOURCE_BLOCK NEW_NAME NEW_CODE\n";
        return Cli::BadInput;
    }
    InstallationStore::LoadChoice choice;
    choice.sourceName = c.args[2];
    choice.newName = c.args[3];
    if (!StoreCli::parseCode(c.args[4], &choice.newCode)) {
        c.err << "veltrona-cli: the code is one or two digits, 0 to 63\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath inst = StoreCli::split(c.args[0]);
    return StoreCli::report(c, InstallationStore::loadBlocks(inst.folder, inst.name, c.args[1], {choice}));
}

Cli::Registration regAdd{{QStringLiteral("block add"),
                          QStringLiteral("block add INSTALLATION.axo NAME --code NN --type 1|2|3 "
                                         "[--components ACC,APT,ACT,LCT,SCH,GUD,IND,ALA]"),
                          blockAdd}};
Cli::Registration regDelete{{QStringLiteral("block delete"), QStringLiteral("block delete INSTALLATION.axo NAME"), blockDelete}};
Cli::Registration regList{{QStringLiteral("block list"), QStringLiteral("block list INSTALLATION.axo"), blockList}};
Cli::Registration regLoad{{QStringLiteral("block load"),
                           QStringLiteral("block load INSTALLATION.axo SOURCE.axo SOURCE_BLOCK NEW_NAME NEW_CODE"), blockLoad}};

} // namespace
