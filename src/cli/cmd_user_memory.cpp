// veltrona-cli user-memory: the user memory counts of a block's central unit.
#include "cli/TransferCli.h"

#include "transfer/CuBracket.h"
#include "transfer/Receive.h"

namespace {

int userMemory(Cli::Context &ctx)
{
    TransferCli::Session session;
    if (const int rc = session.prepare(ctx))
        return rc;
    if (const int rc = session.detect(ctx))
        return rc;
    CuBracket bracket(session.commands);
    if (!bracket.open(session.installation, session.cu, session.installationCus)) {
        ctx.err << "not connected: " << bracket.failureText() << "\n";
        return Cli::Failed;
    }
    const std::optional<Receive::MemoryCounts> c = Receive::userMemory(session.commands);
    bracket.close();
    if (!c) {
        ctx.out << "users ??\nholes ??\ntotal ??\n";
        ctx.err << "the central unit did not answer\n";
        return Cli::Failed;
    }
    ctx.out << "users " << c->users << "\nholes " << c->holes() << "\ntotal " << c->occupied << "\n";
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("user-memory"),
                       QStringLiteral("user-memory INSTALLATION.axo BLOCK [--port PATH] [--code CODE]"), userMemory}};

} // namespace
