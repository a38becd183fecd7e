#pragma once

#include "store/BlockRecord.h"
#include "store/Components.h"
#include "store/InstallationTree.h"
#include "store/StoreError.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The operations that create, extend, shrink and copy an installation: its
// installation file, tree files and table families together. Each returns
// ok or the refusal message for the window to show; file and table failures
// are thrown (StoreError, EngineError). `folder` is the work folder (ending
// in '/'), `installation` the installation name N; templates come from the
// system folder.
namespace InstallationStore {

enum class Connection { Local, Modem };

// Creates N.axo (empty), the tree files (root only), the installation-wide
// tables, the port row (PUERTO, when a port is given) and the connection row
// ("LOCAL", or "MODEM" with the phone number).
StoreOutcome createInstallation(const QString &folder, const QString &installation, Connection connection,
                                const QString &phone, const QString &port);

struct NewBlock {
    QString name;
    int code = 0;           // 0..63
    int type = 1;           // 1, 2, 3 (TIPO_INS1..3)
    Components::Flags components{}; // by ORDEN
};

// Adds a block: refuses a name that exists (without regard to case) with
// "<name> exists. Change block name."; creates the 42 block tables from the
// templates (system profiles relabelled, zone pictures set, component flags
// set), appends the block record and writes both tree files.
StoreOutcome addBlock(const QString &folder, const QString &installation, const NewBlock &block,
                      const std::function<void(int)> &progress = {});

// Removes the block record, the block's tree node (both tree files) and its tables.
StoreOutcome deleteBlock(const QString &folder, const QString &installation, const QString &block);

// ITEM codes as in _Items_Contiene (ACC, APT, ACT, LCT, SCH, GUD, IND, ALA).
StoreOutcome addComponent(const QString &folder, const QString &installation, const QString &block,
                          const QString &item);
StoreOutcome removeComponent(const QString &folder, const QString &installation, const QString &block,
                             const QString &item);

// Copies installation N to the installation file `targetPath` (its folder F
// and name M): N.axo → M.axo, every table of N and its blocks → M + the rest
// of the name, and the tree files with the root caption M. Refuses an
// existing target.
StoreOutcome copyInstallation(const QString &folder, const QString &installation, const QString &targetPath);

// The name M of an installation file path: the file name without its
// extension when it has a four-character one, else the whole file name.
QString installationNameOf(const QString &path);

struct LoadChoice {
    QString sourceName;   // block name in the source installation
    QString newName;
    int newCode = 0;
};
// Loads blocks from the installation file `sourcePath`: for each choice the
// block tables are copied under the new name, the source record is appended
// with the new name and code, and the block's node (with the components of
// its _Items_Contiene) is added to the tree. A missing source block stops the
// load there; blocks loaded before stay loaded. `loaded` receives the names
// loaded.
StoreOutcome loadBlocks(const QString &folder, const QString &installation, const QString &sourcePath,
                        const QList<LoadChoice> &choices, QStringList *loaded = nullptr);

struct BlockSummaryRow {
    int code = 0;
    QString name;
    QString typeText;
    int type = 0;                  // 1..3 in the current language, 0 for none
    Components::Flags components{}; // by ORDEN
};
QList<BlockSummaryRow> blockSummary(const QString &folder, const QString &installation);

// The block panel's Save: `rebuilt` replaces every record whose first 50
// bytes and code equal those of `current`. A new name must be acceptable and
// not used by another block.
StoreOutcome saveBlockValues(const QString &folder, const QString &installation, const BlockRecord &current,
                             const BlockRecord &rebuilt);

// The tree of the installation: its tree files, or, when they cannot be
// read, rebuilt from the installation file and the blocks' components.
InstallationTree loadTree(const QString &folder, const QString &installation);

// Relabels the system profiles of every block (done when an installation is opened).
void refreshAllSystemProfiles(const QString &folder, const QString &installation);

} // namespace InstallationStore
