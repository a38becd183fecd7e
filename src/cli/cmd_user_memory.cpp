// veltrona-cli user-memory: the user memory counts of a block's central unit.
#include "cli/TransferCli.h"

#include "transfer/CuBracket.h"
#include "transfer/Receive.h"

namespace {

int userMemory(Cli::Context &ctx)
{
    TransferCli::Session session;
    CuBracket bracket(session.commands);
    if (const int rc = session.connect(ctx, bracket))
        return rc;
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
