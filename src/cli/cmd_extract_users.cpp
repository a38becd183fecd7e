// veltrona-cli extract-users: the user memory of a block's central unit becomes its users table.
#include "cli/TransferCli.h"

#include "transfer/CuBracket.h"
#include "transfer/Receive.h"

namespace {

int extractUsers(Cli::Context &ctx)
{
    TransferCli::Session session;
    CuBracket bracket(session.commands);
    if (const int rc = session.connect(ctx, bracket))
        return rc;
    const Receive::ExtractResult r = Receive::extractUsers(session.commands, session.folder, session.prefix);
    bracket.close();
    ctx.out << "users " << r.users << "\nholes " << r.holes << "\ntotal " << r.total << "\n";
    if (r.errorSlots)
        ctx.out << "[ERROR] " << r.errorSlots << "\n";
    if (r.timedOut)
        ctx.out << "Tout " << r.timedOut << "\n";
    if (!r.ok) {
        ctx.err << r.message << "\n";
        return Cli::Failed;
    }
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("extract-users"),
                       QStringLiteral("extract-users INSTALLATION.axo BLOCK [--port PATH] [--code CODE]"), extractUsers}};

} // namespace
