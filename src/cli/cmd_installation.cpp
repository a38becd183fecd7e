// veltrona-cli installation create | copy: new installations and copies.
#include "cli/CliCommand.h"
#include "cli/StoreCli.h"

#include "frame/Settings.h"
#include "store/InstallationStore.h"
#include "store/StoreTexts.h"

#include <QFileInfo>

namespace {

int installationCreate(Cli::Context &c)
{
    QStringList args = c.args;
    const QString none = QStringLiteral("\x01");
    const QString phone = Cli::takeOption(args, QStringLiteral("modem"), none);
    const QString port = Cli::takeOption(args, QStringLiteral("port"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        c.err << "usage: veltrona-cli installation create PATH.axo [--modem PHONE] [--port COMn]\n";
        return Cli::BadInput;
    }
    if (!port.isEmpty() && Settings::portIndex(port) < 0) {
        c.err << "veltrona-cli: the port must be one of COM1 to COM16\n";
        return Cli::BadInput;
    }
    const bool modem = phone != none;
    if (modem) {
        for (const QChar ch : phone)
            if (!ch.isDigit() && ch != QLatin1Char(' ') && ch != QLatin1Char(',')) {
                c.err << "veltrona-cli: a phone number holds only digits, spaces and commas\n";
                return Cli::BadInput;
            }
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath target = StoreCli::split(args.first());
    if (QFileInfo::exists(target.folder + target.name + QStringLiteral(".axo"))) {
        c.err << "veltrona-cli: " << StoreTexts::text("STORE_AXO_EXISTS", QStringLiteral("The installation file already exists:"))
              << ' ' << target.folder << target.name << ".axo\n";
        return Cli::Failed;
    }
    const QString portName = port.isEmpty() ? QString() : Settings::portName(Settings::portIndex(port));
    return StoreCli::report(c, InstallationStore::createInstallation(
                                   target.folder, target.name,
                                   modem ? InstallationStore::Connection::Modem : InstallationStore::Connection::Local,
                                   modem ? phone : QString(), portName));
}

int installationCopy(Cli::Context &c)
{
    if (c.args.size() != 2) {
        c.err << "usage: veltrona-cli installation copy SOURCE.axo TARGET.axo\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(c))
        return Cli::Failed;
    const StoreCli::InstallationPath source = StoreCli::split(c.args[0]);
    return StoreCli::report(c, InstallationStore::copyInstallation(source.folder, source.name, c.args[1]));
}

Cli::Registration regCreate{{QStringLiteral("installation create"),
                             QStringLiteral("installation create PATH.axo [--modem PHONE] [--port COMn]"),
                             installationCreate}};
Cli::Registration regCopy{{QStringLiteral("installation copy"), QStringLiteral("installation copy SOURCE.axo TARGET.axo"),
                           installationCopy}};

} // namespace
