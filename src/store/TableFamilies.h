#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The table families of an installation: which tables exist, what they are
// named and which template each is copied from.
//
//   installation-wide table: <work folder> N + suffix
//   block table:             <work folder> N + "_" + B + suffix
namespace TableFamilies {

struct Family {
    QString suffix;    // "_Users"
    QString templ;     // template stem in the system folder: "M_USERS"
};

// The 42 block tables in the order a block is created. The users image
// table appears twice (its data and its secondary indexes were once separate
// files); the second row adds nothing to a family already copied.
const QList<Family> &blockTables();
// The 7 installation-wide tables.
const QList<Family> &installationTables();

// N + "_" + B.
QString blockPrefix(const QString &installation, const QString &block);
// folder + prefix + suffix (the block table name of the shared operations).
QString tableName(const QString &folder, const QString &prefix, const QString &suffix);

// The templates of `families` missing from the system folder (stems).
QStringList missingTemplates(const QList<Family> &families, const QString &systemFolder);

// Copies every block table of the list from the system folder to
// workFolder + prefix + suffix. A missing template is reported (StoreError)
// before anything is copied. `afterCopy` runs right after each family is
// copied (relabelling the profiles, setting the zone pictures); `progress`
// receives 0..100 in steps of 2 from the profiles table onward.
void createBlockTables(const QString &workFolder, const QString &prefix, const QString &systemFolder,
                       const std::function<void(const Family &)> &afterCopy = {},
                       const std::function<void(int)> &progress = {});

// Deletes every file of every block table of the prefix; missing files are skipped.
void deleteBlockTables(const QString &workFolder, const QString &prefix);

// Copies every block table from one prefix to another (loading a block from
// another installation). A missing source table is reported (StoreError)
// before anything is copied.
void copyBlockTables(const QString &fromFolder, const QString &fromPrefix, const QString &toFolder,
                     const QString &toPrefix);

// Copies the installation-wide tables for installation N; a missing template
// is reported before anything is copied.
void createInstallationTables(const QString &workFolder, const QString &installation, const QString &systemFolder);

// Replaces one block table by a fresh copy of its template.
void replaceFromTemplate(const QString &workFolder, const QString &prefix, const QString &suffix,
                         const QString &systemFolder, const QString &templ);

} // namespace TableFamilies
