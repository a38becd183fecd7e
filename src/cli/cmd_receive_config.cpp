// veltrona-cli receive-config: the scheduler entries and relay groups of a block's central unit.
#include "cli/TransferCli.h"

#include "transfer/CuBracket.h"
#include "transfer/Receive.h"

namespace {

int receiveConfig(Cli::Context &ctx)
{
    TransferCli::Session session;
    CuBracket bracket(session.commands);
    if (const int rc = session.connect(ctx, bracket))
        return rc;
    const Receive::ConfigResult r = Receive::receiveConfiguration(session.commands, session.folder, session.prefix);
    bracket.close();
    ctx.out << "scheduler " << r.schedulerRead << " read, " << r.schedulerImported << " imported\n";
    ctx.out << "relay groups " << r.relaysRead << " read, " << r.relaysImported << " imported\n";
    if (!r.ok) {
        ctx.err << r.message << "\n";
        return Cli::Failed;
    }
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("receive-config"),
                       QStringLiteral("receive-config INSTALLATION.axo BLOCK [--port PATH] [--code CODE]"), receiveConfig}};

} // namespace
