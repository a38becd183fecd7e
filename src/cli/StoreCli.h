#pragma once

#include "cli/CliCommand.h"
#include "store/Components.h"
#include "store/StoreError.h"

#include <QString>

// What the installation, block and component commands share: the language
// of the settings file, the seeded system folder, installation paths and the
// reporting of refusals.
namespace StoreCli {

// Seeds the config and system folders when they lack files and opens the
// language file in the settings' language. False (message on err) on failure.
bool prepare(Cli::Context &c);

struct InstallationPath {
    QString folder;   // absolute, ending in '/'
    QString name;     // N
};
InstallationPath split(const QString &path);

// 0..63 given as one or two digits.
bool parseCode(const QString &text, int *code);

// Exit code of an outcome: Ok, or Failed with the message on err.
int report(Cli::Context &c, const StoreOutcome &outcome);

} // namespace StoreCli
