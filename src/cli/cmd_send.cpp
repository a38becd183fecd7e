// veltrona-cli send: compiles and writes a send kind of a block to its central unit.
#include "cli/TransferCli.h"

#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "transfer/Send.h"
#include "transfer/SendKinds.h"

namespace {

int send(Cli::Context &ctx)
{
    const QString kind = Cli::takeOption(ctx.args, QStringLiteral("kind"));
    const QString sortText = Cli::takeOption(ctx.args, QStringLiteral("sort"), QStringLiteral("none"));
    const QString reset = Cli::takeOption(ctx.args, QStringLiteral("reset"), QStringLiteral("no"));
    if (kind.isEmpty() || SendKinds::branchesForKey(kind).isEmpty()) {
        ctx.err << "--kind: one of " << SendKinds::keys().join(QStringLiteral(", ")) << " expected\n";
        return Cli::BadInput;
    }
    static const QHash<QString, UserSort> sorts{{"name", UserSort::Name}, {"user", UserSort::User}, {"code", UserSort::Code},
                                                {"door", UserSort::Door}, {"none", UserSort::None}};
    if (!sorts.contains(sortText.toLower())) {
        ctx.err << "--sort: name, user, code, door or none expected\n";
        return Cli::BadInput;
    }
    if (reset != QLatin1String("yes") && reset != QLatin1String("no")) {
        ctx.err << "--reset: yes or no expected\n";
        return Cli::BadInput;
    }
    TransferCli::Session session;
    if (const int rc = session.prepare(ctx))
        return rc;
    if (const int rc = session.detect(ctx))
        return rc;

    NonInteractiveDialogs dialogs(reset == QLatin1String("yes"));
    Dialogs::install(&dialogs);
    Sender sender(session.commands);
    const UserSort sort = sorts.value(sortText.toLower());
    sender.setSortChooser([sort] { return sort; });
    SendRequest request{session.folder, session.installation, session.block, session.cu, Lang::word(kind.toUpper())};
    const SendResult result = sender.confirm(request);
    Dialogs::install(nullptr);

    if (!result.connected) {
        ctx.err << "nothing sent: " << result.connectionMessage << "\n";
        return Cli::Failed;
    }
    for (const KindResult &k : result.kinds) {
        ctx.out << k.key << " " << (k.sent ? "sent" : "failed");
        if (!k.sent && !k.message.isEmpty())
            ctx.out << ": " << k.message;
        ctx.out << "\n";
    }
    if (result.resetAsked)
        ctx.out << "reset " << (result.resetSent ? "sent" : "not sent") << "\n";
    if (!result.ok()) {
        ctx.err << "failed kinds: " << result.failedCaptions().join(QStringLiteral(", ")) << "\n";
        return Cli::Failed;
    }
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("send"),
                       QStringLiteral("send INSTALLATION.axo BLOCK --kind KEY [--sort name|user|code|door|none] [--reset yes|no] [--port PATH] [--code CODE]"),
                       send}};

} // namespace
