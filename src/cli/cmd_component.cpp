// veltrona-cli component add | remove: a block's components.
#include "cli/CliCommand.h"
#include "cli/StoreCli.h"

#include "store/InstallationStore.h"

namespace {

int component(Cli::Context &c, bool add)
{
    if (c.args.size() != 3 || !Components::byItem(c.args[2])) {
        c.err << "usage: veltrona-cli component " << (add ? "add" : "remove")
              << " INSTALLATION.axo BLOCK ACC|APT|ACT|LCT|SCH|GUD|IND|ALA\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath inst = StoreCli::split(c.args[0]);
    const StoreOutcome outcome = add ? InstallationStore::addComponent(inst.folder, inst.name, c.args[1], c.args[2])
                                     : InstallationStore::removeComponent(inst.folder, inst.name, c.args[1], c.args[2]);
    return StoreCli::report(c, outcome);
}

Cli::Registration regAdd{{QStringLiteral("component add"),
                          QStringLiteral("component add INSTALLATION.axo BLOCK ACC|APT|ACT|LCT|SCH|GUD|IND|ALA"),
                          [](Cli::Context &c) { return component(c, true); }}};
Cli::Registration regRemove{{QStringLiteral("component remove"),
                             QStringLiteral("component remove INSTALLATION.axo BLOCK ACC|APT|ACT|LCT|SCH|GUD|IND|ALA"),
                             [](Cli::Context &c) { return component(c, false); }}};

} // namespace
