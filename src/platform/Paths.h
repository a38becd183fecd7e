#pragma once

#include <QString>

// Where the program keeps its files on this platform.
//
// config folder: VELTRONA.INI and VELTRONA_LANG.ini
// system folder: template tables, operator file, session log
// template folder: the generated templates the system folder is seeded from
//
// Every folder returned ends in '/'.
namespace Paths {

QString configDir();
QString systemDir();
QString templateDir();
QString tempDir();
QString defaultWorkFolder();
// The language file shipped with the program (seed of the config folder).
QString shippedLangFile();

// Command-line choices take precedence over the environment.
void setConfigDirOverride(const QString &dir);
void setSystemDirOverride(const QString &dir);

// Copies the shipped language file into the config folder when it is missing
// and every template file into the system folder when it is missing there;
// nothing that exists is overwritten. Returns false with a message on failure.
bool seedFolders(QString *error = nullptr);

// Appends '/' when the folder does not end in one.
QString withSlash(const QString &dir);

} // namespace Paths
