#pragma once

#include "cli/CliCommand.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "transfer/CuBracket.h"

#include <QString>

// What the transfer commands (send, receive-config, extract-users,
// user-memory) share: INSTALLATION.axo BLOCK, --port and --code, the link
// set up from the settings file, the installation's port and the block's
// record, and the detection of the block's central unit.
namespace TransferCli {

struct Session {
    QString folder;        // work folder of the installation file, ending in '/'
    QString installation;  // N
    QString block;         // B
    QString prefix;        // N_B
    int cu = 0;
    QList<int> installationCus;
    Link link;
    CuCommands commands{link};

    // Reads the arguments (the command's own options must be taken first),
    // the settings and the block record. Returns Cli::Ok or the exit code,
    // with the message on err.
    int prepare(Cli::Context &ctx);
    // Tests whether the block's CU answers (it must, to be connected).
    int detect(Cli::Context &ctx);
    // prepare(), detect() and the programming connection through `bracket`.
    int connect(Cli::Context &ctx, CuBracket &bracket);
};

} // namespace TransferCli
