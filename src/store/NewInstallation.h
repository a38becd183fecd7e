#pragma once

#include "store/Components.h"
#include "store/InstallationStore.h"
#include "store/StoreError.h"

#include <QList>
#include <QString>
#include <QStringList>

class Settings;

// What the new-installation wizard decides: which chosen paths it accepts,
// the port entries it offers, the blocks of a source installation it can
// clone, and the creation itself on Confirm.
namespace NewInstallation {

// The longest installation path (folder and file name) the wizard accepts:
// the program keeps the path in fixed-width fields.
inline constexpr int kMaxPathLength = 42;

enum class PathCheck { Ok, TooLong, Exists };

// The new installation's path chosen on the new-installation page: too long
// (more than 42 characters in all) or an existing file is refused.
PathCheck checkNewPath(const QString &path);
// The same on the clone page, where only an existing file is refused.
PathCheck checkClonePath(const QString &path);

// The port entries: for each port marked "Include" (without regard to case),
// "COM" + number + " " + its description, in port order.
QStringList portEntries(const Settings &settings);
// The port of an entry: its first five characters, the fifth dropped when it
// is a space ("COM3 x" → "COM3", "COM12 x" → "COM12"); empty for none.
QString portOfEntry(const QString &entry);

// The characters the phone number field takes: digits, space, comma and the
// editing keys (backspace, tab, line feed, carriage return).
bool phoneCharAllowed(QChar c);

// One block of the clone list.
struct CloneBlock {
    int code = 0;                    // the block's code (may be changed)
    QString newName;                 // the name it gets in the new installation
    QString typeText;                // the stored central unit type text
    QString name;                    // its name in the source installation
    Components::Flags components{};  // by ORDEN, from its _Items_Contiene
};

// The blocks of the source installation file, in file order, each with its
// components; an empty list when the file cannot be read.
QList<CloneBlock> readCloneBlocks(const QString &sourcePath);

// Two digits with a leading zero.
QString codeText(int code);

// What Confirm creates.
struct Plan {
    QString path;                    // the new installation file (folder + N + ".axo")
    InstallationStore::Connection connection = InstallationStore::Connection::Local;
    QString phone;
    QString port;                    // "COM3", or empty
    QString sourcePath;              // clone only: the source installation file
    QList<CloneBlock> blocks;        // clone only: the blocks to copy
};

// Refusal message for a clone list whose new names or codes clash (empty
// name, a name twice without regard to case, a code twice or outside 0..63);
// empty when the list can be copied.
QString checkCloneList(const QList<CloneBlock> &blocks);

// Creates the installation of the plan: the installation file, tree files
// and installation-wide tables, then, for a clone, the listed blocks (their
// records under the new names and codes and their table families). The clone
// list is checked before anything is written. File and table failures are
// thrown (StoreError, EngineError).
StoreOutcome create(const Plan &plan);

} // namespace NewInstallation
