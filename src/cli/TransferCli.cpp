#include "cli/TransferCli.h"

#include "cli/StoreCli.h"
#include "frame/Settings.h"
#include "link/CuTest.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "store/InstallationFile.h"
#include "store/StoreError.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"

#include <QFileInfo>

namespace TransferCli {

int Session::prepare(Cli::Context &ctx)
{
    QStringList &args = ctx.args;
    const QString port = Cli::takeOption(args, QStringLiteral("port"));
    const QString code = Cli::takeOption(args, QStringLiteral("code"), QStringLiteral("\x01"));
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) || args[1].startsWith(QLatin1String("--"))) {
        ctx.err << "expected INSTALLATION.axo BLOCK" << (args.isEmpty() ? QString() : QStringLiteral(", got: ") + args.join(QLatin1Char(' ')))
                << "\n";
        return Cli::BadInput;
    }
    if (!QFileInfo::exists(args[0])) {
        ctx.err << "no installation file " << args[0] << "\n";
        return Cli::BadInput;
    }
    if (!StoreCli::prepare(ctx))
        return Cli::Failed;
    const StoreCli::InstallationPath where = StoreCli::split(args[0]);
    folder = where.folder;
    installation = where.name;
    block = args[1];
    prefix = installation + QLatin1Char('_') + block;

    std::optional<BlockRecord> record;
    try {
        const InstallationFile file(folder, installation);
        record = file.blockRecord(block);
        for (const BlockRecord &b : file.readBlocks())
            installationCus << b.code();
    } catch (const StoreError &e) {
        ctx.err << e.what() << "\n";
        return Cli::Failed;
    }
    if (!record) {
        ctx.err << "no block " << block << " in " << args[0] << "\n";
        return Cli::BadInput;
    }
    cu = record->code();
    if (cu < 0 || cu > 63) {
        ctx.err << "block " << block << " has central unit " << cu << ", outside 0 to 63\n";
        return Cli::Failed;
    }
    const QString login = code == QLatin1String("\x01") ? record->text(BlockRecord::ProgrammingCode) : code;

    Settings settings;
    settings.load();
    LinkSettings &s = link.settings();
    s.Vel_Trama = settings.velTrama;
    s.Off_By_MODEM = settings.offByModem;
    s.Off_By_Insert_User = settings.offByInsertUser;
    s.Off_By_update_User = settings.offByUpdateUser;
    s.Parity = settings.parity;
    for (int i = 0; i < Settings::kPortCount; ++i)
        if (!settings.portsPath[size_t(i)].isEmpty())
            s.portPaths.insert(Settings::portName(i), settings.portsPath[size_t(i)]);
    QString portName = port;
    if (portName.isEmpty()) {
        // The installation's own port, else the settings' system port.
        try {
            Table t(folder, installation + QStringLiteral("_Port.db"));
            t.open();
            t.first();
            if (!t.eof())
                portName = t.text(QStringLiteral("PUERTO"));
        } catch (const EngineError &) {
        }
        if (portName.isEmpty())
            portName = settings.sysPort;
    }
    s.Sys_Port = portName;
    if (s.devicePath(portName) == QLatin1String("sim"))
        SimulatedPort::sharedBus()->addUnit(cu);

    commands.setInstallationName(installation);
    commands.setAskCode(false);
    commands.setSavedProgrammingCode(login.toLatin1().leftJustified(5, ' ', true));
    commands.cu(cu).name = block;
    return Cli::Ok;
}

int Session::detect(Cli::Context &ctx)
{
    CuTest test(link, commands);
    QString message;
    if (!test.open(&message)) {
        ctx.err << message << "\n";
        return Cli::Failed;
    }
    const CuTest::Result r = test.testCu(cu);
    test.close();
    if (!r.answered) {
        ctx.err << QStringLiteral("central unit %1 does not answer").arg(cu, 2, 10, QLatin1Char('0')) << "\n";
        return Cli::Failed;
    }
    return Cli::Ok;
}

} // namespace TransferCli

int TransferCli::Session::connect(Cli::Context &ctx, CuBracket &bracket)
{
    if (const int rc = prepare(ctx))
        return rc;
    if (const int rc = detect(ctx))
        return rc;
    if (!bracket.open(installation, cu, installationCus)) {
        ctx.err << "not connected: " << bracket.failureText() << "\n";
        return Cli::Failed;
    }
    return Cli::Ok;
}
